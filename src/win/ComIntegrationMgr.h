// ComIntegrationMgr: the integration manager as the library's IntegrationMgr, the face the server
// view's document hands out (its IMgr property) to a caller outside this module. Early and late
// bound calls land in the same methods (the type library serves IDispatch); getModel hands out
// the working model service as ModelUtilVB. Code in this process reaches the manager behind it
// through the native-object interface, so a document's IMgr can be given back.
#pragma once

#include "nimbvbaddLib.h"
#include "win/LibraryServer.h"

#include <memory>

namespace nimb {
class IntegrationMgr;
}

namespace nimb::win {

class ComIntegrationMgr final : public LibraryServer<_IntegrationMgr> {
public:
    explicit ComIntegrationMgr(std::shared_ptr<IntegrationMgr> manager);

    HRESULT STDMETHODCALLTYPE showDevView() override;
    HRESULT STDMETHODCALLTYPE setWKFileName(BSTR* wkFile) override;
    HRESULT STDMETHODCALLTYPE getWKFileName(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE openWKProject() override;
    HRESULT STDMETHODCALLTYPE getProjList(SAFEARRAY** projList) override;
    HRESULT STDMETHODCALLTYPE getDataEnvList(SAFEARRAY** dataEnvList, BSTR* projName) override;
    HRESULT STDMETHODCALLTYPE getConnectionList(SAFEARRAY** conList, BSTR* dataenvName, BSTR* projName) override;
    HRESULT STDMETHODCALLTYPE get_getModel(_ModelUtil** result) override;
    HRESULT STDMETHODCALLTYPE get_getIdeType(LONG* result) override;
    HRESULT STDMETHODCALLTYPE minimizeVSAppWin() override;
    HRESULT STDMETHODCALLTYPE restoreVSAppWinState() override;

private:
    std::shared_ptr<IntegrationMgr> manager_;
};

} // namespace nimb::win

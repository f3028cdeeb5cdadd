// ComServerViewDoc: nimbvbadd.serverViewDoc, the object the IDE puts into the server view's tool
// window. Code in this process reaches the serverViewDoc behind it through the native-object
// interface (as the integration manager does with CreateToolWindow's DocObj); other callers see
// the library's _serverViewDoc: IMgr (set by reference to one of this module's managers, read as
// IntegrationMgr) and setupGUI. Containers host it in place through the OLE interfaces of
// InPlaceDocument and find the rest of an ActiveX control in DocumentControl; what they ask goes
// to the OleLog when that is switched on.
#pragma once

#include "nimbvbaddLib.h"
#include "win/DocumentControl.h"
#include "win/InPlaceDocument.h"
#include "win/LibraryServer.h"
#include "platform/win/com/OleLog.h"

#include <memory>

namespace nimb {
class serverViewDoc;
}

namespace nimb::win {

class ComServerViewDoc final : public LibraryServer<_serverViewDoc> {
public:
    static com::ComPtr<IUnknown> create();
    explicit ComServerViewDoc(std::shared_ptr<serverViewDoc> document);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

    HRESULT STDMETHODCALLTYPE putref_IMgr(_IntegrationMgr* manager) override;
    HRESULT STDMETHODCALLTYPE get_IMgr(_IntegrationMgr** result) override;
    HRESULT STDMETHODCALLTYPE setupGUI() override;

protected:
    HRESULT queryMore(REFIID iid, void** out) override;

private:
    std::shared_ptr<serverViewDoc> document_;
    com::OleLog log_;
    InPlaceDocument inPlace_;
    DocumentControl control_;
};

} // namespace nimb::win

// ComConnect: nimbvbadd.Connect as the IDE creates it, the add-in's Connect behind a dual
// IDTExtensibility2 (its late-bound face served from the type library's description). The
// Application and AddInInst it receives go through vbide::adaptDispatch, which holds their
// references until Connect lets go of them (at disconnection, or when this object is released).
// Connect reports its own errors, as the add-in does; whatever still escapes leaves as an HRESULT.
// From connection to disconnection the add-in's own Windows platform (AddinPlatform) runs: the
// IDE gives it nothing else.
#pragma once

#include "nimbvbaddLib.h"
#include "platform/vbide/AddinInstance.h"
#include "win/AddinPlatform.h"
#include "win/LibraryServer.h"

#include <memory>
#include <vector>

namespace nimb {
class Connect;
}

namespace nimb::win {

class ComConnect final : public LibraryServer<IDTExtensibility2> {
public:
    static com::ComPtr<IUnknown> create();
    explicit ComConnect(std::shared_ptr<Connect> object);

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode, IDispatch* AddInInst,
                                           SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

private:
    void connect(IDispatch* application, int32_t connectMode, IDispatch* addInInst);
    void disconnect(int32_t removeMode);
    // OnAddInsUpdate, OnStartupComplete or OnBeginShutdown.
    HRESULT notify(void (vbide::AddinInstance::*notification)(std::vector<vb::Variant>&));

    std::shared_ptr<Connect> connect_;
    std::unique_ptr<AddinPlatform> platform_;  // from connection to disconnection
};

} // namespace nimb::win

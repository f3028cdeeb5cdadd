#include "win/ComConnect.h"

#include "addin/Connect.h"
#include "platform/win/com/ComError.h"
#include "platform/win/ports/installPorts.h"
#include "platform/win/vbide/adaptDispatch.h"
#include "win/classIds.h"

#include <vector>

namespace nimb::win {

namespace {

using Notification = void (vbide::AddinInstance::*)(std::vector<vb::Variant>&);

} // namespace

com::ComPtr<IUnknown> ComConnect::create() {
    com::ComPtr<ComConnect> object = com::make<ComConnect>(std::make_shared<Connect>());
    return com::ComPtr<IUnknown>(static_cast<IDTExtensibility2*>(object.Get()));
}

ComConnect::ComConnect(std::shared_ptr<Connect> object)
    : LibraryServer(CLSID_Connect, object), connect_(std::move(object)) {}

// The IDE's custom arrays belong to the IDE, and the add-in reads none of them: Connect is given
// an empty one.
void ComConnect::connect(IDispatch* application, int32_t connectMode, IDispatch* addInInst) {
    // The system's registry and SourceSafe, unless the process that loaded the module put its own.
    winports::install();
    platform_.reset();  // a second connection replaces the first one's platform, never joins it
    platform_ = std::make_unique<AddinPlatform>(ideMainWindow(application));
    std::vector<vb::Variant> custom;
    connect_->OnConnection(vbide::adaptDispatch(application), connectMode, vbide::adaptDispatch(addInInst), custom);
}

void ComConnect::disconnect(int32_t removeMode) {
    // The platform goes even when the add-in's own teardown failed: none of its windows or timers
    // may outlive the connection.
    struct TakeDown {
        std::unique_ptr<AddinPlatform>& platform;
        ~TakeDown() { platform.reset(); }
    } takeDown{platform_};
    std::vector<vb::Variant> custom;
    connect_->OnDisconnection(removeMode, custom);
}

HRESULT ComConnect::notify(Notification notification) {
    return com::guarded([&] {
        std::vector<vb::Variant> custom;
        ((*connect_).*notification)(custom);
    });
}

HRESULT ComConnect::OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode, IDispatch* AddInInst,
                                 SAFEARRAY**) {
    return com::guarded([&] { connect(Application, ConnectMode, AddInInst); });
}

HRESULT ComConnect::OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY**) {
    return com::guarded([&] { disconnect(RemoveMode); });
}

HRESULT ComConnect::OnAddInsUpdate(SAFEARRAY**) { return notify(&Connect::OnAddInsUpdate); }
HRESULT ComConnect::OnStartupComplete(SAFEARRAY**) { return notify(&Connect::OnStartupComplete); }
HRESULT ComConnect::OnBeginShutdown(SAFEARRAY**) { return notify(&Connect::OnBeginShutdown); }

} // namespace nimb::win

#include "win/ComConnect.h"

#include "addin/Connect.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/VariantConvert.h"
#include "platform/win/vbide/adaptDispatch.h"

#include <vector>

namespace nimb::win {

namespace {

// The IDE's custom array belongs to the IDE, and the add-in reads none of it.
std::vector<vb::Variant> noCustom() { return {}; }

} // namespace

com::ComPtr<IUnknown> ComConnect::create() {
    com::ComPtr<ComConnect> object = com::make<ComConnect>(std::make_shared<Connect>());
    return com::ComPtr<IUnknown>(static_cast<IDTExtensibility2*>(object.Get()));
}

ComConnect::ComConnect(std::shared_ptr<Connect> object)
    : DispatchServer(
          {
              {L"OnConnection", dispidOnConnection,
               [this](com::Args& a) {
                   connect(com::dispatchFrom(a.raw(0)).Get(), a[1].toLong(), com::dispatchFrom(a.raw(2)).Get());
                   return vb::Variant();
               }},
              {L"OnDisconnection", dispidOnDisconnection,
               [this](com::Args& a) {
                   auto custom = noCustom();
                   connect_->OnDisconnection(a[0].toLong(), custom);
                   return vb::Variant();
               }},
              {L"OnAddInsUpdate", dispidOnAddInsUpdate,
               [this](com::Args&) {
                   auto custom = noCustom();
                   connect_->OnAddInsUpdate(custom);
                   return vb::Variant();
               }},
              {L"OnStartupComplete", dispidOnStartupComplete,
               [this](com::Args&) {
                   auto custom = noCustom();
                   connect_->OnStartupComplete(custom);
                   return vb::Variant();
               }},
              {L"OnBeginShutdown", dispidOnBeginShutdown,
               [this](com::Args&) {
                   auto custom = noCustom();
                   connect_->OnBeginShutdown(custom);
                   return vb::Variant();
               }},
          },
          {IID_IDTExtensibility2}, object),
      connect_(std::move(object)) {}

void ComConnect::connect(IDispatch* application, int32_t connectMode, IDispatch* addInInst) {
    auto custom = noCustom();
    connect_->OnConnection(vbide::adaptDispatch(application), connectMode, vbide::adaptDispatch(addInInst), custom);
}

HRESULT ComConnect::OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode, IDispatch* AddInInst,
                                 SAFEARRAY**) {
    return com::guarded([&] { connect(Application, ConnectMode, AddInInst); });
}

HRESULT ComConnect::OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY**) {
    return com::guarded([&] {
        auto custom = noCustom();
        connect_->OnDisconnection(RemoveMode, custom);
    });
}

HRESULT ComConnect::OnAddInsUpdate(SAFEARRAY**) {
    return com::guarded([&] {
        auto custom = noCustom();
        connect_->OnAddInsUpdate(custom);
    });
}

HRESULT ComConnect::OnStartupComplete(SAFEARRAY**) {
    return com::guarded([&] {
        auto custom = noCustom();
        connect_->OnStartupComplete(custom);
    });
}

HRESULT ComConnect::OnBeginShutdown(SAFEARRAY**) {
    return com::guarded([&] {
        auto custom = noCustom();
        connect_->OnBeginShutdown(custom);
    });
}

} // namespace nimb::win

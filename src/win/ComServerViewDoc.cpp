#include "win/ComServerViewDoc.h"

#include "addin/IntegrationMgr.h"
#include "addin/seenAs.h"
#include "addin/serverViewDoc.h"

namespace nimb::win {

namespace {

constexpr DISPID dispidIMgr = 1;
constexpr DISPID dispidSetupGUI = 2;

} // namespace

com::ComPtr<IUnknown> ComServerViewDoc::create() {
    com::ComPtr<ComServerViewDoc> object = com::make<ComServerViewDoc>(ui::New<serverViewDoc>());
    return com::ComPtr<IUnknown>(static_cast<IDispatch*>(object.Get()));
}

ComServerViewDoc::ComServerViewDoc(std::shared_ptr<serverViewDoc> document)
    : DispatchServer(
          {
              {L"IMgr", dispidIMgr, nullptr,
               [this](com::Args& a) { document_->setIMgr(seenAs<IntegrationMgr>(a.value().toObject())); }},
              {L"setupGUI", dispidSetupGUI,
               [this](com::Args&) {
                   document_->setupGUI();
                   return vb::Variant();
               }},
          },
          {}, document),
      document_(std::move(document)),
      inPlace_(*static_cast<IDispatch*>(this), document_, log_),
      control_(*static_cast<IDispatch*>(this), inPlace_) {}

HRESULT ComServerViewDoc::QueryInterface(REFIID iid, void** out) {
    const HRESULT hr = DispatchServer::QueryInterface(iid, out);
    log_.asked(iid, hr);
    return hr;
}

HRESULT ComServerViewDoc::queryMore(REFIID iid, void** out) {
    HRESULT hr = DispatchServer::queryMore(iid, out);
    if (hr == E_NOINTERFACE) hr = inPlace_.query(iid, out);
    return hr == E_NOINTERFACE ? control_.query(iid, out) : hr;
}

} // namespace nimb::win

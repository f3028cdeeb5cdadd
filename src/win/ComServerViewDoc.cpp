#include "win/ComServerViewDoc.h"

#include "addin/IntegrationMgr.h"
#include "addin/seenAs.h"
#include "addin/serverViewDoc.h"
#include "win/ComIntegrationMgr.h"
#include "win/callerArguments.h"
#include "win/classIds.h"

namespace nimb::win {

com::ComPtr<IUnknown> ComServerViewDoc::create() {
    com::ComPtr<ComServerViewDoc> object = com::make<ComServerViewDoc>(ui::New<serverViewDoc>());
    return com::ComPtr<IUnknown>(static_cast<_serverViewDoc*>(object.Get()));
}

ComServerViewDoc::ComServerViewDoc(std::shared_ptr<serverViewDoc> document)
    : LibraryServer(CLSID_serverViewDoc, document),
      document_(std::move(document)),
      inPlace_(*identity(), document_, log_),
      control_(*identity(), inPlace_) {}

HRESULT ComServerViewDoc::QueryInterface(REFIID iid, void** out) {
    const HRESULT hr = LibraryServer::QueryInterface(iid, out);
    log_.asked(iid, hr);
    return hr;
}

HRESULT ComServerViewDoc::queryMore(REFIID iid, void** out) {
    HRESULT hr = LibraryServer::queryMore(iid, out);
    if (hr == E_NOINTERFACE) hr = inPlace_.query(iid, out);
    return hr == E_NOINTERFACE ? control_.query(iid, out) : hr;
}

// The document works for a manager of this module only: another's object is a type mismatch.
HRESULT ComServerViewDoc::putref_IMgr(_IntegrationMgr* manager) {
    return com::guarded([&] {
        auto native = com::nativeObjectOf(manager);
        if (manager && !native) throw vb::VBError(vb::err::TypeMismatch, "Type mismatch");
        document_->setIMgr(seenAs<IntegrationMgr>(native));
    });
}

HRESULT ComServerViewDoc::get_IMgr(_IntegrationMgr** answer) {
    return com::guarded([&] {
        auto manager = document_->IMgr();
        *result(answer) = manager ? com::make<ComIntegrationMgr>(manager).Detach() : nullptr;
    });
}

HRESULT ComServerViewDoc::setupGUI() {
    return com::guarded([&] { document_->setupGUI(); });
}

} // namespace nimb::win

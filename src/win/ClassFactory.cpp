#include "win/ClassFactory.h"

#include "platform/win/com/ComError.h"
#include "platform/win/com/DispatchServer.h"

namespace nimb::win {

ClassFactory::ClassFactory(Creator create) : create_(create) { com::objectBorn(); }
ClassFactory::~ClassFactory() { com::objectDied(); }

HRESULT ClassFactory::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG ClassFactory::AddRef() { return ++refs_; }

ULONG ClassFactory::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return com::guarded([&] { return create_()->QueryInterface(iid, out); });
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        ServerModule::lock();
    } else {
        ServerModule::unlock();
    }
    return S_OK;
}

} // namespace nimb::win

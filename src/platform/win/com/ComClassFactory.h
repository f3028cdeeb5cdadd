// ComClassFactory: IClassFactory for one class, making each new object with the class's creator
// (no aggregation), and createByProgId, the other side: a new object of a class by its ProgID, as
// VB's CreateObject makes one.
#pragma once

#include "platform/win/com/ComObject.h"

#include <functional>
#include <string>

namespace com {

class ComClassFactory : public ComObject<IClassFactory> {
public:
    using Creator = std::function<ComPtr<IUnknown>()>;
    explicit ComClassFactory(Creator create) : create_(std::move(create)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    // Locks nothing: a server that can unload overrides it.
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    Creator create_;
};

// The new object's IDispatch; a failure raises the VBError VB would (429 for a class nobody
// registered).
ComPtr<IDispatch> createByProgId(const std::string& progId, DWORD context = CLSCTX_INPROC_SERVER);

} // namespace com

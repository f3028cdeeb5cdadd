#include "platform/win/com/ComClassFactory.h"

#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/Dispatch.h"

#include <objbase.h>

namespace com {

HRESULT ComClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return guarded([&] {
        ComPtr<IUnknown> object = create_();
        return object ? object->QueryInterface(iid, out) : E_OUTOFMEMORY;
    });
}

ComPtr<IDispatch> createByProgId(const std::string& progId, DWORD context) {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(wideFromUtf8(progId).c_str(), &clsid);
    ComPtr<IDispatch> object;
    if (SUCCEEDED(hr)) hr = CoCreateInstance(clsid, nullptr, context, IID_PPV_ARGS(&object));
    if (FAILED(hr) || !object) raiseFailedCall(FAILED(hr) ? hr : E_NOINTERFACE, nullptr);
    return object;
}

} // namespace com

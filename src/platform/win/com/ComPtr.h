// Owning pointers to COM interfaces: MinGW-w64's WRL ComPtr, which both cross compilers accept.
#pragma once

#include <wrl/client.h>

namespace com {

template <class T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

// Takes over a reference the caller already owns (a new object, an out parameter filled by hand).
// MinGW-w64's ComPtr::Attach adds a reference of its own, unlike Microsoft's, so it is not used.
template <class T>
ComPtr<T> adopt(T* p) {
    ComPtr<T> owner;
    *owner.GetAddressOf() = p;
    return owner;
}

} // namespace com

// Owning pointers to COM interfaces: MinGW-w64's WRL ComPtr, which both cross compilers accept.
#pragma once

#include <wrl/client.h>

namespace com {

template <class T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

} // namespace com

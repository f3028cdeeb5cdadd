// The private "native object" interface: code in this process that was handed an IDispatch (the
// add-in module, the test host) asks it for the C++ object it stands for. Only our own wrappers
// answer it; the std::shared_ptr it hands out is only meaningful to code built against the same
// C++ runtime, which is why the interface's IID is ours and appears in no type library.
#pragma once

#include "platform/variant.h"

#include <unknwn.h>

#include <memory>

// {740A04E2-2E96-4C4A-A6A0-592C7227983B}
struct INativeObject : public IUnknown {
    // Copies the object into *object (Nothing when the wrapper stands for none).
    virtual HRESULT STDMETHODCALLTYPE nativeObject(std::shared_ptr<vb::Object>* object) = 0;
};
__CRT_UUID_DECL(INativeObject, 0x740a04e2, 0x2e96, 0x4c4a, 0xa6, 0xa0, 0x59, 0x2c, 0x72, 0x27, 0x98, 0x3b)

namespace com {

inline constexpr IID IID_INativeObject = {0x740a04e2, 0x2e96, 0x4c4a, {0xa6, 0xa0, 0x59, 0x2c, 0x72, 0x27, 0x98, 0x3b}};

// The C++ object behind p, or Nothing when p is null or not one of our wrappers.
std::shared_ptr<vb::Object> nativeObjectOf(IUnknown* p);

} // namespace com

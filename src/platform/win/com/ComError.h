// Errors across COM. A VBError never crosses a COM method: it leaves as an HRESULT, with EXCEPINFO
// (IDispatch::Invoke) or the thread's error info (vtable calls) carrying number, description and
// source, so that a VB caller sees the error as VB raised it. VB numbers its errors n < 65536 as
// the HRESULT 0x800A0000 | n.
#pragma once

#include "platform/error.h"

#include <oaidl.h>

#include <type_traits>

namespace com {

HRESULT hresultOf(int32_t number);
// The VB error number an HRESULT stands for: n for 0x800A0000 | n, else the HRESULT itself.
int32_t numberOf(HRESULT hr);

// Fills info (when given) with the error; its strings then belong to the caller.
void fillExcepInfo(EXCEPINFO* info, const vb::VBError& error);
// The error a failed call reported: number from info's scode or wCode, else from hr; description
// from info, else the system's text for hr. Frees info's strings (it may be null).
vb::VBError errorFrom(HRESULT hr, EXCEPINFO* info);

// The HRESULT for the exception being handled, with the error also in info (when given) and in
// the thread's error info. Call only inside a catch block; never throws.
HRESULT currentHresult(EXCEPINFO* info) noexcept;

// Runs fn and returns S_OK (or the HRESULT fn returns); any exception becomes its HRESULT as
// currentHresult gives it. Every COM method and exported function runs its body through this.
template <class F>
HRESULT guarded(F&& fn, EXCEPINFO* info = nullptr) noexcept {
    try {
        if constexpr (std::is_same_v<decltype(fn()), HRESULT>) {
            return fn();
        } else {
            fn();
            return S_OK;
        }
    } catch (...) {
        return currentHresult(info);
    }
}

} // namespace com

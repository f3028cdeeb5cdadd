// The arguments of the library's interfaces as their implementations read and write them: VB passes
// Strings and Longs by reference, a result comes back through an out pointer, and a list is the
// caller's String array. A missing pointer is an error (E_POINTER), never a crash.
#pragma once

#include "platform/error.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/StringArray.h"
#include "platform/win/com/VariantConvert.h"

#include <oaidl.h>

#include <string>
#include <vector>

namespace nimb::win {

[[noreturn]] inline void nullArgument() {
    throw vb::VBError(static_cast<int32_t>(E_POINTER), "A required argument is missing");
}

inline std::string text(const BSTR* s) {
    if (!s) nullArgument();
    return com::utf8FromBstr(*s);
}

inline int32_t number(const LONG* n) {
    if (!n) nullArgument();
    return static_cast<int32_t>(*n);
}

template <class T>
T* result(T* out) {
    if (!out) nullArgument();
    return out;
}

// A list operation on the caller's array: it goes in, and goes back only when the operation
// changed it (an interface class leaves arrays untouched).
template <class F>
void withList(SAFEARRAY** array, F&& operation) {
    if (!array) nullArgument();
    VARIANT arg = com::bstrArrayRefVariant(array);
    std::vector<std::string> list = com::stringList(arg);
    const std::vector<std::string> before = list;
    operation(list);
    if (list != before) com::storeStringList(arg, list);
}

} // namespace nimb::win

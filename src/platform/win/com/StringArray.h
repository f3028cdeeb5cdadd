// Lists of strings across COM, as VB passes a dynamic String array by reference: a SAFEARRAY of
// BSTR with lower bound 0, or a Variant holding an array. An array VB never dimensioned arrives
// as a null SAFEARRAY and reads as an empty list.
#pragma once

#include "platform/win/com/ComPtr.h"

#include <oaidl.h>

#include <string>
#include <vector>

namespace com {

// The strings of a one-dimensional array argument (read through by-reference VARIANTs). Anything
// else raises 13 (type mismatch).
std::vector<std::string> stringList(const VARIANT& arg);

// Replaces the array a by-reference argument holds with list, bounds 0 to size - 1, freeing the
// old array. The new array keeps the caller's element type: a String array gets BSTRs, a Variant
// array Variants holding them, an Empty Variant a String array; any other type raises 13. A fixed
// or locked array raises 10, as VB's ReDim does; an argument passed by value (whose changes the
// caller could never see) raises 13.
void storeStringList(VARIANT& arg, const std::vector<std::string>& list);

} // namespace com

// VARIANT <-> vb::Variant. Empty, Null, Boolean (VARIANT_BOOL), Long, Double, String (BSTR) and
// Object (IDispatch) map one to one; the other numeric types VB knows read as Long or Double, a
// missing optional argument reads as Empty, and by-reference VARIANTs are read through. An object
// that is one of our wrappers reads as the C++ object behind it, any other as a DispatchObject.
#pragma once

#include "platform/variant.h"
#include "platform/win/com/ComPtr.h"

#include <oaidl.h>

namespace com {

// Raises 13 (type mismatch) for a type VB would not accept here (arrays, records, ...).
vb::Variant fromVariant(const VARIANT& v);

// A new VARIANT holding value; the caller owns it (VariantClear). Objects must be DispatchObjects
// (or Nothing): a C++ object has no COM face of its own and raises 13.
void toVariant(const vb::Variant& value, VARIANT* out);

// Writes value through a by-reference argument, converted to the type the caller's variable has
// (String into a BSTR*, Boolean into a VARIANT_BOOL*, any into a VARIANT* ...), freeing what the
// variable held. A by-value argument is left alone, as VB leaves a copy it passed.
void assignByRef(VARIANT& target, const vb::Variant& value);

// The object an argument holds (read through by-reference VARIANTs); null for Nothing, Empty, Null
// or a left-out argument. Anything else that is not an object raises 13.
ComPtr<IDispatch> dispatchFrom(const VARIANT& v);

} // namespace com

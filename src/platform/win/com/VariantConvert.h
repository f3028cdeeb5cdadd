// VARIANT <-> vb::Variant. Empty, Null, Boolean (VARIANT_BOOL), Long, Double, String (BSTR) and
// Object (IDispatch) map one to one; the other numeric types VB knows read as Long or Double, a
// missing optional argument reads as Empty, and by-reference VARIANTs are read through. An object
// that is one of our wrappers reads as the C++ object behind it, any other as a DispatchObject.
#pragma once

#include "platform/variant.h"
#include "platform/win/com/ComPtr.h"

#include <oaidl.h>
#include <oleauto.h>

#include <cstdint>

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

// Arguments built for a call made by hand (DISPPARAMS). They own nothing: an object, a by-reference
// slot or an array stays the caller's, and must outlive the call.
inline VARIANT objectVariant(IDispatch* object) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

inline VARIANT longVariant(int32_t value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

inline VARIANT boolVariant(bool value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

inline VARIANT boolRefVariant(VARIANT_BOOL* value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_BOOL;
    v.pboolVal = value;
    return v;
}

inline VARIANT bstrRefVariant(BSTR* value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = value;
    return v;
}

inline VARIANT bstrArrayRefVariant(SAFEARRAY** value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_ARRAY | VT_BSTR;
    v.pparray = value;
    return v;
}

} // namespace com

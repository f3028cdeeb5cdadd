#include "platform/win/com/VariantConvert.h"

#include "platform/error.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/DispatchObject.h"
#include "platform/win/com/NativeObject.h"

#include <limits>

namespace com {

namespace {

constexpr int32_t errOverflow = 6;

[[noreturn]] void typeMismatch() { throw vb::VBError(vb::err::TypeMismatch, "Type mismatch"); }

// Owns a VARIANT for the length of a scope.
struct ScopedVariant {
    VARIANT v;
    ScopedVariant() { VariantInit(&v); }
    ~ScopedVariant() { VariantClear(&v); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
};

vb::Variant fromObject(IUnknown* p) {
    if (!p) return std::shared_ptr<vb::Object>();
    if (auto native = nativeObjectOf(p)) return native;
    ComPtr<IDispatch> dispatch;
    if (FAILED(p->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf())))) typeMismatch();
    return std::shared_ptr<vb::Object>(std::make_shared<DispatchObject>(dispatch.Get()));
}

vb::Variant fromNumber(double d) {
    if (d >= std::numeric_limits<int32_t>::min() && d <= std::numeric_limits<int32_t>::max() &&
        d == static_cast<double>(static_cast<int32_t>(d)))
        return static_cast<int32_t>(d);
    return d;
}

vb::Variant fromValue(const VARIANT& v) {
    switch (v.vt) {
    case VT_EMPTY: return {};
    case VT_NULL: return vb::Null{};
    case VT_BOOL: return v.boolVal != VARIANT_FALSE;
    case VT_UI1: return static_cast<int32_t>(v.bVal);
    case VT_I1: return static_cast<int32_t>(v.cVal);
    case VT_I2: return static_cast<int32_t>(v.iVal);
    case VT_UI2: return static_cast<int32_t>(v.uiVal);
    case VT_I4: return static_cast<int32_t>(v.lVal);
    case VT_INT: return static_cast<int32_t>(v.intVal);
    case VT_UI4: return fromNumber(static_cast<double>(v.ulVal));
    case VT_UINT: return fromNumber(static_cast<double>(v.uintVal));
    case VT_I8: return fromNumber(static_cast<double>(v.llVal));
    case VT_UI8: return fromNumber(static_cast<double>(v.ullVal));
    case VT_R4: return static_cast<double>(v.fltVal);
    case VT_R8: return v.dblVal;
    case VT_CY:
    case VT_DATE:
    case VT_DECIMAL: {
        ScopedVariant d;
        if (FAILED(VariantChangeType(&d.v, const_cast<VARIANT*>(&v), 0, VT_R8))) typeMismatch();
        return d.v.dblVal;
    }
    case VT_BSTR: return utf8FromBstr(v.bstrVal);
    case VT_DISPATCH: return fromObject(v.pdispVal);
    case VT_UNKNOWN: return fromObject(v.punkVal);
    case VT_ERROR:
        // How a caller leaves out an optional argument.
        if (v.scode == DISP_E_PARAMNOTFOUND) return {};
        typeMismatch();
    default: typeMismatch();
    }
}

VARIANT_BOOL variantBool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

IDispatch* dispatchOf(const vb::Variant& value) {
    auto object = value.toObject();
    if (!object) return nullptr;
    auto wrapped = std::dynamic_pointer_cast<DispatchObject>(object);
    if (!wrapped) typeMismatch();
    return wrapped->dispatch();
}

int16_t toInteger(const vb::Variant& value) {
    const int32_t l = value.toLong();
    if (l < std::numeric_limits<int16_t>::min() || l > std::numeric_limits<int16_t>::max())
        throw vb::VBError(errOverflow, "Overflow");
    return static_cast<int16_t>(l);
}

} // namespace

vb::Variant fromVariant(const VARIANT& v) {
    if (!(v.vt & VT_BYREF)) return fromValue(v);
    if ((v.vt & VT_ARRAY) || !v.byref) typeMismatch();
    ScopedVariant value;
    if (FAILED(VariantCopyInd(&value.v, const_cast<VARIANT*>(&v)))) typeMismatch();
    return fromValue(value.v);
}

ComPtr<IDispatch> dispatchFrom(const VARIANT& v) {
    ComPtr<IDispatch> dispatch;
    IUnknown* unknown = nullptr;
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: return dispatch;
    case VT_ERROR:
        if (v.scode == DISP_E_PARAMNOTFOUND) return dispatch;
        typeMismatch();
    case VT_DISPATCH: unknown = v.pdispVal; break;
    case VT_UNKNOWN: unknown = v.punkVal; break;
    case VT_BYREF | VT_DISPATCH: unknown = v.ppdispVal ? *v.ppdispVal : nullptr; break;
    case VT_BYREF | VT_UNKNOWN: unknown = v.ppunkVal ? *v.ppunkVal : nullptr; break;
    case VT_BYREF | VT_VARIANT:
        if (!v.pvarVal) typeMismatch();
        return dispatchFrom(*v.pvarVal);
    default: typeMismatch();
    }
    if (unknown && FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf()))))
        typeMismatch();
    return dispatch;
}

void toVariant(const vb::Variant& value, VARIANT* out) {
    VariantInit(out);
    switch (value.kind()) {
    case vb::Variant::Kind::Empty: return;
    case vb::Variant::Kind::Null: out->vt = VT_NULL; return;
    case vb::Variant::Kind::Boolean:
        out->vt = VT_BOOL;
        out->boolVal = variantBool(value.toBool());
        return;
    case vb::Variant::Kind::Long:
        out->vt = VT_I4;
        out->lVal = value.toLong();
        return;
    case vb::Variant::Kind::Double:
        out->vt = VT_R8;
        out->dblVal = value.toDouble();
        return;
    case vb::Variant::Kind::String:
        out->bstrVal = bstrFromUtf8(value.toString());
        out->vt = VT_BSTR;
        return;
    case vb::Variant::Kind::Object: {
        IDispatch* dispatch = dispatchOf(value);
        if (dispatch) dispatch->AddRef();
        out->pdispVal = dispatch;
        out->vt = VT_DISPATCH;
        return;
    }
    }
}

void assignByRef(VARIANT& target, const vb::Variant& value) {
    if (!(target.vt & VT_BYREF)) return;
    if (!target.byref || (target.vt & VT_ARRAY)) typeMismatch();
    switch (target.vt & ~VT_BYREF) {
    case VT_VARIANT: {
        VARIANT fresh;
        toVariant(value, &fresh);
        VariantClear(target.pvarVal);
        *target.pvarVal = fresh;
        return;
    }
    case VT_BSTR: {
        BSTR fresh = bstrFromUtf8(value.toString());
        SysFreeString(*target.pbstrVal);
        *target.pbstrVal = fresh;
        return;
    }
    case VT_BOOL: *target.pboolVal = variantBool(value.toBool()); return;
    case VT_I2: *target.piVal = toInteger(value); return;
    case VT_I4: *target.plVal = value.toLong(); return;
    case VT_R8: *target.pdblVal = value.toDouble(); return;
    case VT_R4: *target.pfltVal = static_cast<float>(value.toDouble()); return;
    case VT_DISPATCH: {
        IDispatch* fresh = dispatchOf(value);
        if (fresh) fresh->AddRef();
        if (*target.ppdispVal) (*target.ppdispVal)->Release();
        *target.ppdispVal = fresh;
        return;
    }
    default: typeMismatch();
    }
}

} // namespace com

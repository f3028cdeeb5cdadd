#include "platform/win/com/DispatchServer.h"

#include "platform/error.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/VariantConvert.h"

#include <cwchar>

namespace com {

namespace {

std::atomic<long> live{0};

constexpr int32_t errArgumentNotOptional = 449;

bool isPutFlag(WORD flags) { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

} // namespace

long liveObjects() { return live.load(); }
LiveObject::LiveObject() { ++live; }
LiveObject::~LiveObject() { --live; }

Args::Args(DISPPARAMS& params, bool isPut) : params_(params), isPut_(isPut) {}

size_t Args::count() const { return params_.cArgs - params_.cNamedArgs; }

VARIANT& Args::raw(size_t i) const {
    if (i >= count()) throw vb::VBError(errArgumentNotOptional, "Argument not optional");
    return params_.rgvarg[params_.cArgs - 1 - i];
}

bool Args::has(size_t i) const {
    if (i >= count()) return false;
    const VARIANT& v = raw(i);
    return !(v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND);
}

vb::Variant Args::operator[](size_t i) const {
    if (!has(i)) throw vb::VBError(errArgumentNotOptional, "Argument not optional");
    return fromVariant(raw(i));
}

void Args::set(size_t i, const vb::Variant& value) const { assignByRef(raw(i), value); }

vb::Variant Args::value() const {
    if (!isPut_) throw vb::VBError(errArgumentNotOptional, "Argument not optional");
    return fromVariant(params_.rgvarg[0]);
}

HRESULT NativeFace::nativeObject(std::shared_ptr<vb::Object>* object) {
    if (!object) return E_POINTER;
    *object = object_;
    return S_OK;
}

std::shared_ptr<vb::Object> nativeObjectOf(IUnknown* p) {
    if (!p) return nullptr;
    ComPtr<INativeObject> native;
    if (FAILED(p->QueryInterface(IID_INativeObject, reinterpret_cast<void**>(native.GetAddressOf())))) return nullptr;
    std::shared_ptr<vb::Object> object;
    native->nativeObject(&object);
    return object;
}

ComPtr<ITypeInfo> vtableTypeOf(ITypeInfo& info) {
    TYPEATTR* attr = nullptr;
    if (FAILED(info.GetTypeAttr(&attr))) throw vb::VBError(vb::err::TypeMismatch, "Type mismatch");
    const TYPEKIND kind = attr->typekind;
    const bool dual = (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0;
    info.ReleaseTypeAttr(attr);
    ComPtr<ITypeInfo> vtable;
    if (kind == TKIND_INTERFACE) {
        vtable = &info;
    } else {
        HREFTYPE ref = 0;
        if (kind != TKIND_DISPATCH || !dual || FAILED(info.GetRefTypeOfImplType(-1, &ref)) ||
            FAILED(info.GetRefTypeInfo(ref, vtable.GetAddressOf())))
            throw vb::VBError(vb::err::TypeMismatch, "Type mismatch");
    }
    return vtable;
}

HRESULT invokeTyped(ITypeInfo& type, void* object, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                    EXCEPINFO* info, UINT* argError) {
    if (!params) return E_POINTER;
    if (params->cArgs > 0 && !params->rgvarg) return E_POINTER;
    // A failure then reports this call's error, not one an earlier call left behind.
    SetErrorInfo(0, nullptr);
    return type.Invoke(object, id, flags, params, result, info, argError);
}

const Member* DispatchTable::find(DISPID id) const {
    for (const Member& m : members_)
        if (m.id == id) return &m;
    return nullptr;
}

HRESULT DispatchTable::getIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    // Named arguments (names after the first) are not supported: each is unknown.
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (!names[0]) return DISP_E_UNKNOWNNAME;
    for (const Member& m : members_) {
        if (_wcsicmp(m.name.c_str(), names[0]) == 0) {
            ids[0] = m.id;
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchTable::invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) const {
    if (!params) return E_POINTER;
    if (params->cArgs > 0 && !params->rgvarg) return E_POINTER;
    if (params->cNamedArgs > params->cArgs) return E_INVALIDARG;
    const Member* member = find(id);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    const bool put = isPutFlag(flags);
    if (put) {
        if (!member->put) return DISP_E_MEMBERNOTFOUND;
        if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
            params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTOPTIONAL;
    } else {
        if (!member->call || !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
        if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    }
    return guarded(
        [&] {
            Args args(*params, put);
            if (put) {
                member->put(args);
                return;
            }
            vb::Variant answer = member->call(args);
            if (result) toVariant(answer, result);
        },
        info);
}

} // namespace com

#include "platform/win/com/StringArray.h"

#include "platform/error.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/VariantConvert.h"

#include <cstdint>
#include <memory>

namespace com {

namespace {

constexpr int32_t errArrayFixedOrLocked = 10;

[[noreturn]] void typeMismatch() { throw vb::VBError(vb::err::TypeMismatch, "Type mismatch"); }

struct ArrayDestroy {
    void operator()(SAFEARRAY* a) const { SafeArrayDestroy(a); }
};
using UniqueArray = std::unique_ptr<SAFEARRAY, ArrayDestroy>;

// Where the argument keeps its array: the SAFEARRAY* slot and the element type.
struct ArraySlot {
    SAFEARRAY** array;
    VARIANT* holder;  // the Variant holding the array, when it is one
    VARTYPE type;     // the elements' type, as the caller declared the array
};

ArraySlot slotOf(const VARIANT& arg) {
    if (!(arg.vt & VT_BYREF)) typeMismatch();
    if (arg.vt == (VT_BYREF | VT_VARIANT)) {
        if (!arg.pvarVal) typeMismatch();
        VARIANT& held = *arg.pvarVal;
        if (held.vt == VT_EMPTY) return {nullptr, &held, VT_BSTR};
        if (!(held.vt & VT_ARRAY) || ((held.vt & VT_BYREF) && !held.pparray)) typeMismatch();
        return {(held.vt & VT_BYREF) ? held.pparray : &held.parray, &held, static_cast<VARTYPE>(held.vt & VT_TYPEMASK)};
    }
    if (!(arg.vt & VT_ARRAY) || !arg.pparray) typeMismatch();
    return {arg.pparray, nullptr, static_cast<VARTYPE>(arg.vt & VT_TYPEMASK)};
}

std::string element(SAFEARRAY* array, VARTYPE type, LONG index) {
    if (type == VT_BSTR) {
        BSTR s = nullptr;
        if (FAILED(SafeArrayGetElement(array, &index, &s))) typeMismatch();
        UniqueBstr owned(s);
        return utf8FromBstr(s);
    }
    VARIANT v;
    VariantInit(&v);
    if (FAILED(SafeArrayGetElement(array, &index, &v))) typeMismatch();
    try {
        std::string text = fromVariant(v).toString();
        VariantClear(&v);
        return text;
    } catch (...) {
        VariantClear(&v);
        throw;
    }
}

// A String array, or a Variant array whose elements hold strings.
UniqueArray newArray(VARTYPE type, const std::vector<std::string>& list) {
    if (type != VT_BSTR && type != VT_VARIANT) typeMismatch();
    if (list.size() > 0x7FFFFFFF) throw vb::VBError(vb::err::OutOfMemory, "Out of memory");
    UniqueArray array(SafeArrayCreateVector(type, 0, static_cast<ULONG>(list.size())));
    if (!array) throw vb::VBError(vb::err::OutOfMemory, "Out of memory");
    for (LONG i = 0; i < static_cast<LONG>(list.size()); ++i) {
        UniqueBstr s(bstrFromUtf8(list[static_cast<size_t>(i)]));
        VARIANT text;
        VariantInit(&text);
        text.vt = VT_BSTR;
        text.bstrVal = s.get();
        // SafeArrayPutElement stores a copy of the BSTR, or of the Variant and its BSTR.
        void* element = type == VT_BSTR ? static_cast<void*>(s.get()) : static_cast<void*>(&text);
        if (FAILED(SafeArrayPutElement(array.get(), &i, element)))
            throw vb::VBError(vb::err::OutOfMemory, "Out of memory");
    }
    return array;
}

} // namespace

std::vector<std::string> stringList(const VARIANT& arg) {
    const ArraySlot slot = slotOf(arg);
    SAFEARRAY* array = slot.array ? *slot.array : nullptr;
    if (!array) return {};
    if (SafeArrayGetDim(array) != 1) typeMismatch();
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &type)) || (type != VT_BSTR && type != VT_VARIANT)) typeMismatch();
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper))) typeMismatch();
    std::vector<std::string> list;
    for (int64_t i = lower; i <= upper; ++i) list.push_back(element(array, type, static_cast<LONG>(i)));
    return list;
}

void storeStringList(VARIANT& arg, const std::vector<std::string>& list) {
    const ArraySlot slot = slotOf(arg);
    SAFEARRAY* old = slot.array ? *slot.array : nullptr;
    if (old && (old->cLocks > 0 || (old->fFeatures & (FADF_FIXEDSIZE | FADF_STATIC | FADF_EMBEDDED | FADF_AUTO))))
        throw vb::VBError(errArrayFixedOrLocked, "This array is fixed or temporarily locked");
    UniqueArray fresh = newArray(slot.type, list);
    if (slot.array) {
        if (old) SafeArrayDestroy(old);
        *slot.array = fresh.release();
        return;
    }
    // An Empty Variant receives the array.
    slot.holder->parray = fresh.release();
    slot.holder->vt = VT_ARRAY | VT_BSTR;
}

} // namespace com

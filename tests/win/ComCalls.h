// Calls made by hand through IDispatch, as a late-bound VB caller makes them, for the COM stage's
// client: the result, the EXCEPINFO and the error text of one call, freed with it.
#pragma once

#include "platform/win/com/Bstr.h"

#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace wintest {

inline constexpr HRESULT vbError(int n) { return static_cast<HRESULT>(0x800A0000u | static_cast<unsigned>(n)); }

struct Call {
    HRESULT hr = S_OK;
    VARIANT result{};
    EXCEPINFO info{};
    std::string description;
    ~Call() {
        VariantClear(&result);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrHelpFile);
    }
};

// Invokes a member; args in the caller's order (reversed into DISPPARAMS as COM wants them), a
// property put's value last.
inline void invoke(IDispatch* d, DISPID id, std::vector<VARIANT> args, Call& call, WORD flags = DISPATCH_METHOD) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{reversed.data(), put ? &putId : nullptr, static_cast<UINT>(reversed.size()), put ? 1u : 0u};
    VariantInit(&call.result);
    call.hr = d->Invoke(id, IID_NULL, 0, flags, &params, &call.result, &call.info, nullptr);
    if (call.info.bstrDescription) call.description = com::utf8FromBstr(call.info.bstrDescription);
}

inline DISPID idOf(IDispatch* d, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    d->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    return id;
}

// A new 0-based String array; the caller destroys it.
inline SAFEARRAY* bstrArray(const std::vector<std::string>& items) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(items.size()));
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        com::UniqueBstr s(com::bstrFromUtf8(items[static_cast<size_t>(i)]));
        SafeArrayPutElement(a, &i, s.get());
    }
    return a;
}

inline std::string joined(const std::vector<std::string>& items) {
    std::string s;
    for (const auto& i : items) s += (s.empty() ? "" : ",") + i;
    return s;
}

} // namespace wintest

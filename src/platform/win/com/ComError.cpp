#include "platform/win/com/ComError.h"

#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComPtr.h"

#include <windows.h>

namespace com {

namespace {

constexpr uint32_t vbFacility = 0x800A0000u;

std::string systemText(HRESULT hr) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring w = length ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!w.empty() && (w.back() == L'\n' || w.back() == L'\r' || w.back() == L' ')) w.pop_back();
    return w.empty() ? "Automation error" : utf8FromWide(w);
}

BSTR bstrOrNull(const std::string& s) noexcept {
    try {
        return s.empty() ? nullptr : bstrFromUtf8(s);
    } catch (...) {
        return nullptr;
    }
}

void setThreadErrorInfo(const vb::VBError& error) noexcept {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(&create))) return;
    BSTR description = bstrOrNull(error.description());
    BSTR source = bstrOrNull(error.source());
    create->SetDescription(description);
    create->SetSource(source);
    SysFreeString(description);
    SysFreeString(source);
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
}

} // namespace

HRESULT hresultOf(int32_t number) {
    if (number > 0 && number < 65536) return static_cast<HRESULT>(vbFacility | static_cast<uint32_t>(number));
    if (number < 0) return static_cast<HRESULT>(number);  // already an HRESULT
    return E_FAIL;
}

int32_t numberOf(HRESULT hr) {
    const auto bits = static_cast<uint32_t>(hr);
    if ((bits & 0xFFFF0000u) == vbFacility) return static_cast<int32_t>(bits & 0xFFFFu);
    return static_cast<int32_t>(hr);
}

void fillExcepInfo(EXCEPINFO* info, const vb::VBError& error) {
    if (!info) return;
    *info = EXCEPINFO{};
    info->scode = hresultOf(error.number());
    info->bstrDescription = bstrOrNull(error.description());
    info->bstrSource = bstrOrNull(error.source());
}

vb::VBError errorFrom(HRESULT hr, EXCEPINFO* info) {
    std::string description;
    std::string source;
    int32_t number = numberOf(hr);
    if (info && hr == DISP_E_EXCEPTION) {
        if (info->pfnDeferredFillIn) info->pfnDeferredFillIn(info);
        if (info->scode != 0) {
            number = numberOf(info->scode);
        } else if (info->wCode != 0) {
            number = info->wCode;
        }
    }
    if (info) {
        try {
            description = utf8FromBstr(info->bstrDescription);
            source = utf8FromBstr(info->bstrSource);
        } catch (...) {
            // A description that cannot be read falls back to the system's text below.
        }
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrHelpFile);
        *info = EXCEPINFO{};
    }
    if (description.empty()) description = systemText(hresultOf(number));
    return vb::VBError(number, description, source);
}

HRESULT currentHresult(EXCEPINFO* info) noexcept {
    try {
        const vb::VBError error = vb::currentError();
        setThreadErrorInfo(error);
        if (!info) return hresultOf(error.number());
        fillExcepInfo(info, error);
        return DISP_E_EXCEPTION;
    } catch (...) {
        // Not even the error could be described: memory is gone.
        return E_OUTOFMEMORY;
    }
}

} // namespace com

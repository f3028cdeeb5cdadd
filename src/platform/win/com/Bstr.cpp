#include "platform/win/com/Bstr.h"

#include "platform/error.h"

#include <windows.h>

#include <climits>

namespace com {

namespace {

std::string narrow(const OLECHAR* s, UINT length, UINT codePage) {
    if (length == 0) return {};
    if (length > INT_MAX) throw vb::VBError(vb::err::OutOfMemory, "Out of memory");
    const int wide = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(codePage, 0, s, wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) throw vb::VBError(vb::err::InvalidProcedureCall, "Text cannot be converted");
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, s, wide, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::wstring widen(const std::string& s, UINT codePage) {
    if (s.empty()) return {};
    if (s.size() > INT_MAX / 2) throw vb::VBError(vb::err::OutOfMemory, "Out of memory");
    const int bytes = static_cast<int>(s.size());
    // Invalid UTF-8 is refused rather than silently replaced; ANSI code pages map every byte.
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int wide = MultiByteToWideChar(codePage, flags, s.data(), bytes, nullptr, 0);
    if (wide <= 0) throw vb::VBError(vb::err::InvalidProcedureCall, "Text cannot be converted");
    std::wstring out(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(codePage, flags, s.data(), bytes, out.data(), wide);
    return out;
}

BSTR allocate(const std::wstring& w) {
    BSTR s = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    if (!s) throw vb::VBError(vb::err::OutOfMemory, "Out of memory");
    return s;
}

} // namespace

std::string utf8FromBstr(const OLECHAR* s) { return s ? narrow(s, SysStringLen(const_cast<BSTR>(s)), CP_UTF8) : ""; }
std::string ansiFromBstr(const OLECHAR* s) { return s ? narrow(s, SysStringLen(const_cast<BSTR>(s)), CP_ACP) : ""; }
BSTR bstrFromUtf8(const std::string& s) { return allocate(widen(s, CP_UTF8)); }
BSTR bstrFromAnsi(const std::string& s) { return allocate(widen(s, CP_ACP)); }
std::wstring wideFromUtf8(const std::string& s) { return widen(s, CP_UTF8); }
std::string utf8FromWide(const std::wstring& s) { return narrow(s.data(), static_cast<UINT>(s.size()), CP_UTF8); }

} // namespace com

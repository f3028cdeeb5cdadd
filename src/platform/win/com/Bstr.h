// BSTR conversions. Inside the add-in text is UTF-8; COM carries UTF-16 BSTRs; the engine and the
// ANSI registry functions take the process's ANSI code page. A NULL BSTR is the empty string.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <string>

namespace com {

struct BstrFree {
    void operator()(BSTR s) const { SysFreeString(s); }
};
// A BSTR this code owns and frees.
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFree>;

std::string utf8FromBstr(const OLECHAR* s);
std::string ansiFromBstr(const OLECHAR* s);
// A new BSTR the caller owns. Text that is not valid in its encoding raises 5 (invalid procedure
// call); an allocation that fails raises 7 (out of memory).
BSTR bstrFromUtf8(const std::string& s);
BSTR bstrFromAnsi(const std::string& s);

// The same conversions for wide strings, which the registry and COM's name lookups use.
std::wstring wideFromUtf8(const std::string& s);
std::string utf8FromWide(const std::wstring& s);

} // namespace com

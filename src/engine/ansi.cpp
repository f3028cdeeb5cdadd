#include "engine/ansi.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace nimb::ansi {

#ifdef _WIN32
namespace {

// Every ANSI code page agrees with ASCII on the characters below 128 (a double-byte code page's lead
// bytes are 0x81 and up), and so does UTF-8: such text crosses unchanged. Listing a folder converts
// hundreds of thousands of names and comments, nearly all of them ASCII, and under Wine each
// conversion costs four calls and up to three heap blocks.
bool isAscii(const char* begin, const char* end) {
    return std::all_of(begin, end, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string convert(const char* begin, const char* end, UINT from, UINT to) {
    if (isAscii(begin, end)) return std::string(begin, end);
    const int size = static_cast<int>(end - begin);
    int wide = MultiByteToWideChar(from, 0, begin, size, nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(from, 0, begin, size, w.data(), wide);
    int narrow = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(to, 0, w.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

std::string convert(const std::string& text, UINT from, UINT to) {
    return convert(text.data(), text.data() + text.size(), from, to);
}

} // namespace

std::string toAnsi(const std::string& utf8) { return convert(utf8, CP_UTF8, CP_ACP); }
std::string fromAnsi(const std::string& ansi) { return convert(ansi, CP_ACP, CP_UTF8); }
void assignFromAnsi(std::string& out, const char* begin, const char* end) {
    // ASCII goes into out's own storage, which the record wrappers reuse row after row.
    if (isAscii(begin, end)) out.assign(begin, end);
    else out = convert(begin, end, CP_ACP, CP_UTF8);
}
#else
// The engine on this platform speaks UTF-8, so the code page is the identity.
std::string toAnsi(const std::string& utf8) { return utf8; }
std::string fromAnsi(const std::string& ansi) { return ansi; }
void assignFromAnsi(std::string& out, const char* begin, const char* end) { out.assign(begin, end); }
#endif

InOutBuffer::InOutBuffer(const std::string& utf8) {
    std::string a = toAnsi(utf8);
    bytes_.assign(a.begin(), a.end());
    bytes_.push_back('\0');
}

std::string InOutBuffer::text() const {
    auto end = std::find(bytes_.begin(), bytes_.end(), '\0');
    return fromAnsi(std::string(bytes_.begin(), end));
}

} // namespace nimb::ansi

#include "engine/ansi.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace nimb::ansi {

#ifdef _WIN32
namespace {

std::string convert(const std::string& text, UINT from, UINT to) {
    if (text.empty()) return {};
    int wide = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), w.data(), wide);
    int narrow = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(to, 0, w.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

} // namespace

std::string toAnsi(const std::string& utf8) { return convert(utf8, CP_UTF8, CP_ACP); }
std::string fromAnsi(const std::string& ansi) { return convert(ansi, CP_ACP, CP_UTF8); }
void assignFromAnsi(std::string& out, const char* begin, const char* end) {
    out = convert(std::string(begin, end), CP_ACP, CP_UTF8);
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

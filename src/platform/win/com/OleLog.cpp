#include "platform/win/com/OleLog.h"

#include <objbase.h>

#include <cstdio>
#include <vector>

namespace com {

namespace {

// A REG_SZ value, or empty.
std::wstring regString(HKEY root, const std::wstring& key, const wchar_t* value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return {};
    std::vector<wchar_t> text(1024, L'\0');
    DWORD type = 0, size = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));
    const LONG result = RegQueryValueExW(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS || type != REG_SZ) return {};
    return text.data();  // the buffer ends with a zero whether or not the value did
}

std::wstring switchedOnFile() {
    wchar_t file[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"NIMB_OLE_LOG", file, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return file;
    return regString(HKEY_CURRENT_USER, L"Software\\nimbvbadd", L"OleLog");
}

std::string hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", value);
    return text;
}

} // namespace

OleLog::OleLog() : file_(switchedOnFile()) {}

// The registered name (HKCR\Interface\{iid}), so that the log reads without a table of IIDs.
std::string OleLog::nameOf(REFIID iid) {
    wchar_t guid[40] = {};
    StringFromGUID2(iid, guid, 40);
    std::string text;
    for (const wchar_t* c = guid; *c; ++c) text += static_cast<char>(*c);
    const std::wstring name = regString(HKEY_CLASSES_ROOT, std::wstring(L"Interface\\") + guid, nullptr);
    if (!name.empty()) text += ' ';
    for (wchar_t c : name) text += c < 128 ? static_cast<char>(c) : '?';
    return text;
}

void OleLog::asked(REFIID iid, HRESULT answer) const {
    if (on()) line("QueryInterface " + nameOf(iid) + (SUCCEEDED(answer) ? ": answered" : ": not answered"));
}

void OleLog::verb(LONG verb) const {
    if (on()) line("DoVerb " + std::to_string(verb));
}

HRESULT OleLog::called(const char* what, HRESULT result) const {
    if (on()) line(std::string(what) + " -> " + hex(static_cast<unsigned long>(result)));
    return result;
}

void OleLog::line(const std::string& text) const {
    if (!on()) return;
    FILE* out = _wfopen(file_.c_str(), L"ab");
    if (!out) return;
    std::fprintf(out, "%s\r\n", text.c_str());
    std::fclose(out);
}

} // namespace com

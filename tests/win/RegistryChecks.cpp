#include "tests/win/RegistryChecks.h"

#include "platform/win/com/Bstr.h"
#include "win/ServerRegistration.h"

#include <optional>
#include <vector>

namespace wintest {

namespace {

const std::wstring addIns = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins";
const std::wstring addInName = L"NIMB Development Add-In for Visual Basic";
const std::wstring neighbourAddIn = addIns + L"\\nimbtest.Other";
const std::wstring neighbourClass = L"CLSID\\{13B1084D-8FA4-4B7D-8D36-746B98886A07}";

struct Class {
    std::wstring progId;
    std::wstring clsid;
    bool isControl;
};

const std::vector<Class> ourClasses = {
    {L"nimbvbadd.Connect", L"{F5B76F47-C58B-4241-9354-079967845C32}", false},
    {L"nimbvbadd.serverViewDoc", L"{62BA412E-AAB6-4CF8-9E92-21706049D42B}", true},
    {L"nimbvbadd.ModelUtil", L"{6378FA93-AD12-4716-8242-3A4DBF5A8845}", false},
};

std::string narrow(const std::wstring& w) { return com::utf8FromWide(w); }

bool keyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Class keys live in HKEY_CLASSES_ROOT, everything else in HKEY_CURRENT_USER.
HKEY rootOf(const std::wstring& path) {
    return path.rfind(L"Software\\", 0) == 0 ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
}
std::string rootName(const std::wstring& path) { return rootOf(path) == HKEY_CURRENT_USER ? "HKCU\\" : "HKCR\\"; }

std::optional<std::wstring> textValue(const std::wstring& path, const std::wstring& name) {
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueW(rootOf(path), path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

std::optional<DWORD> dwordValue(const std::wstring& path, const std::wstring& name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(rootOf(path), path.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void checkText(Checks& c, const std::wstring& path, const std::wstring& name, const std::wstring& expected) {
    const auto value = textValue(path, name);
    c.check(rootName(path) + narrow(path) + " " + (name.empty() ? "(default)" : narrow(name)) + " = " + narrow(expected),
            value == expected, value ? narrow(*value) : "missing");
}

void checkDword(Checks& c, const std::wstring& path, const std::wstring& name, DWORD expected) {
    const auto value = dwordValue(path, name);
    c.check(rootName(path) + narrow(path) + " " + narrow(name) + " = DWORD " + std::to_string(expected), value == expected,
            value ? std::to_string(*value) : "missing");
}

void writeText(const std::wstring& path, const std::wstring& name, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(rootOf(path), path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

} // namespace

void prepareNeighbours(Checks& c) {
    writeText(neighbourAddIn, L"FriendlyName", L"Another add-in");
    writeText(neighbourClass + L"\\InprocServer32", L"", L"C:\\other.dll");
    c.check("another add-in and another class are registered", keyExists(HKEY_CURRENT_USER, neighbourAddIn) &&
                                                                   keyExists(HKEY_CLASSES_ROOT, neighbourClass));
}

void checkRegistered(Checks& c, const std::wstring& dllPath) {
    for (const Class& k : ourClasses) {
        const std::wstring clsidKey = L"CLSID\\" + k.clsid;
        checkText(c, k.progId + L"\\CLSID", L"", k.clsid);
        checkText(c, clsidKey + L"\\InprocServer32", L"", dllPath);
        checkText(c, clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        checkText(c, clsidKey + L"\\ProgID", L"", k.progId);
        if (k.isControl) {
            c.check("HKCR\\" + narrow(clsidKey) + "\\Control exists", keyExists(HKEY_CLASSES_ROOT, clsidKey + L"\\Control"));
            checkText(c, clsidKey + L"\\MiscStatus", L"", L"131473");
        } else {
            c.check("HKCR\\" + narrow(clsidKey) + " is no control", !keyExists(HKEY_CLASSES_ROOT, clsidKey + L"\\Control"));
        }
    }
    const std::wstring addIn = addIns + L"\\nimbvbadd.Connect";
    checkText(c, addIn, L"FriendlyName", addInName);
    checkText(c, addIn, L"Description", addInName);
    checkDword(c, addIn, L"LoadBehavior", 0);
    checkDword(c, addIn, L"CommandLineSafe", 0);
}

void checkRollback(Checks& c) {
    using nimb::win::RegKey;
    const std::wstring keep = L"Software\\nimbvbadd-test-keep";
    const std::wstring fresh = L"Software\\nimbvbadd-test-new";
    writeText(keep, L"v", L"kept");
    // The last key's name is longer than the registry allows, so writing it fails after the others.
    const std::vector<RegKey> keys = {
        {HKEY_CURRENT_USER, keep + L"\\Ours", {{L"", REG_SZ, L"x"}}},
        {HKEY_CURRENT_USER, fresh + L"\\A\\B", {{L"n", REG_DWORD, L"", 1}}},
        {HKEY_CURRENT_USER, fresh + L"\\" + std::wstring(300, L'x'), {}},
    };
    const HRESULT hr = nimb::win::writeKeys(keys);
    c.check("a registration failing half way reports the failure", FAILED(hr), hr);
    c.check("a registration failing half way leaves none of the keys it created",
            !keyExists(HKEY_CURRENT_USER, keep + L"\\Ours") && !keyExists(HKEY_CURRENT_USER, fresh));
    c.check("a registration failing half way leaves a key it found", textValue(keep, L"v") == L"kept");
    RegDeleteKeyW(HKEY_CURRENT_USER, keep.c_str());
}

void checkUnregistered(Checks& c) {
    for (const Class& k : ourClasses) {
        c.check("no key left for " + narrow(k.progId),
                !keyExists(HKEY_CLASSES_ROOT, k.progId) && !keyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + k.clsid));
    }
    c.check("no add-in key left", !keyExists(HKEY_CURRENT_USER, addIns + L"\\nimbvbadd.Connect"));
    c.check("the other add-in and class are still registered",
            textValue(neighbourAddIn, L"FriendlyName") == L"Another add-in" &&
                textValue(neighbourClass + L"\\InprocServer32", L"") == L"C:\\other.dll");
}

} // namespace wintest

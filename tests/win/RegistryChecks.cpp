#include "tests/win/RegistryChecks.h"

#include "platform/win/com/Bstr.h"
#include "win/ServerRegistration.h"

#include <optional>
#include <vector>

namespace wintest {

using nimb::win::Scope;

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

const std::wstring libId = L"{3E70686C-25F6-4828-BD18-C2EF28703DDA}";
const std::wstring automationMarshaller = L"{00020424-0000-0000-C000-000000000046}";

struct Interface {
    std::wstring name;
    std::wstring iid;
};

// The library's dual interfaces, which the automation marshaller serves.
const std::vector<Interface> ourInterfaces = {
    {L"_WKTypes", L"{B96A7254-28E6-477A-B2A5-6ED9F21C6550}"},
    {L"_ModelUtil", L"{E9C28389-1F91-4E07-B799-04EA67E97856}"},
    {L"_ModelUtilVB", L"{AACCD1A2-7A74-4336-A4BA-4139CA13B810}"},
    {L"_IntegrationMgr", L"{E4FAED41-8E88-4639-9088-17C0A5128862}"},
    {L"_serverViewDoc", L"{9FB14159-2B98-425F-B46C-93EBB80C7200}"},
};

// Every top-level key of ours below a classes root.
std::vector<std::wstring> ourTopKeys() {
    std::vector<std::wstring> keys = {L"TypeLib\\" + libId};
    for (const Class& k : ourClasses) {
        keys.push_back(k.progId);
        keys.push_back(L"CLSID\\" + k.clsid);
    }
    for (const Interface& i : ourInterfaces) keys.push_back(L"Interface\\" + i.iid);
    return keys;
}

std::wstring classesPrefix(Scope scope) { return scope == Scope::user ? L"Software\\Classes\\" : L""; }

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

void checkRegistered(Checks& c, const std::wstring& dllPath, Scope scope) {
    const std::wstring p = classesPrefix(scope);
    std::string wrong;
    int looked = 0;
    const auto where = [](const std::wstring& path, const std::wstring& name) {
        return "; " + rootName(path) + narrow(path) + " " + (name.empty() ? "(default)" : narrow(name));
    };
    const auto text = [&](const std::wstring& path, const std::wstring& name, const std::wstring& expected) {
        ++looked;
        const auto value = textValue(path, name);
        if (value != expected) wrong += where(path, name) + " is " + (value ? narrow(*value) : "missing") + ", not " + narrow(expected);
    };
    const auto number = [&](const std::wstring& path, const std::wstring& name, DWORD expected) {
        ++looked;
        const auto value = dwordValue(path, name);
        if (value != expected)
            wrong += where(path, name) + " is " + (value ? std::to_string(*value) : "missing") + ", not " + std::to_string(expected);
    };
    const auto key = [&](const std::wstring& path, bool wanted) {
        ++looked;
        if (keyExists(rootOf(path), path) != wanted) wrong += where(path, L"") + (wanted ? " is missing" : " is there");
    };
    for (const Class& k : ourClasses) {
        const std::wstring clsidKey = p + L"CLSID\\" + k.clsid;
        text(p + k.progId + L"\\CLSID", L"", k.clsid);
        text(clsidKey + L"\\InprocServer32", L"", dllPath);
        text(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        text(clsidKey + L"\\ProgID", L"", k.progId);
        key(clsidKey + L"\\Control", k.isControl);
        if (k.isControl) text(clsidKey + L"\\MiscStatus", L"", L"131473");
    }
    const std::wstring version = p + L"TypeLib\\" + libId + L"\\1.0";
    text(version, L"", addInName);
    text(version + L"\\0\\win64", L"", dllPath);
    text(version + L"\\FLAGS", L"", L"0");
    text(version + L"\\HELPDIR", L"", dllPath.substr(0, dllPath.find_last_of(L'\\')));
    for (const Interface& i : ourInterfaces) {
        const std::wstring iface = p + L"Interface\\" + i.iid;
        text(iface, L"", i.name);
        text(iface + L"\\ProxyStubClsid32", L"", automationMarshaller);
        text(iface + L"\\TypeLib", L"", libId);
        text(iface + L"\\TypeLib", L"Version", L"1.0");
    }
    // IDTExtensibility2, only described by the library, is left to the IDE's library to register.
    key(p + L"Interface\\{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}", false);
    const std::wstring addIn = addIns + L"\\nimbvbadd.Connect";
    text(addIn, L"FriendlyName", addInName);
    text(addIn, L"Description", addInName);
    number(addIn, L"LoadBehavior", 0);
    number(addIn, L"CommandLineSafe", 0);
    c.check("the " + std::to_string(looked) + " keys and values of the three classes, the type library, its "
            "interfaces and the add-in entry are registered " + (scope == Scope::user ? "for the user" : "for the machine"),
            wrong.empty(), wrong.empty() ? wrong : wrong.substr(2));
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

void checkNoClassesUnder(Checks& c, HKEY root, const std::wstring& prefix, const std::string& where) {
    std::string found;
    for (const std::wstring& key : ourTopKeys())
        if (keyExists(root, prefix + key)) found += " " + narrow(key);
    c.check("no class, library or interface key of ours under " + where, found.empty(), "found" + found);
}

// Wine grants every access a program asks of a key (a key created with a read-only DACL still
// opens for writing), so the machine's refusal is the writer's answer here.
void checkFallback(Checks& c) {
    using nimb::win::RegKey;
    const std::wstring user = L"Software\\nimbvbadd-test-user";
    const std::vector<RegKey> userKeys = {{HKEY_CURRENT_USER, user + L"\\Ours", {{L"", REG_SZ, L"u"}}}};
    const auto writeUser = [&] { return nimb::win::writeKeys(userKeys); };
    const auto refused = [](LONG code) { return [code] { return HRESULT_FROM_WIN32(code); }; };

    HRESULT hr = nimb::win::writeForMachineOrUser(refused(ERROR_ACCESS_DENIED), writeUser);
    c.check("where the machine's keys are not writable, registration writes the user's instead",
            hr == S_OK && textValue(user + L"\\Ours", L"") == L"u", hr);
    RegDeleteTreeW(HKEY_CURRENT_USER, user.c_str());
    hr = nimb::win::writeForMachineOrUser(refused(ERROR_INVALID_PARAMETER), writeUser);
    c.check("any other failure of the machine's keys is reported, and nothing is written for the user",
            hr == HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER) && !keyExists(HKEY_CURRENT_USER, user), hr);
    hr = nimb::win::writeForMachineOrUser([] { return S_OK; }, writeUser);
    c.check("a writable machine gets the machine's keys and the user's none",
            hr == S_OK && !keyExists(HKEY_CURRENT_USER, user), hr);
    RegDeleteTreeW(HKEY_CURRENT_USER, user.c_str());
}

void checkUnregistered(Checks& c) {
    checkNoClassesUnder(c, HKEY_CLASSES_ROOT, L"", "HKCR");
    checkNoClassesUnder(c, HKEY_CURRENT_USER, L"Software\\Classes\\", "HKCU\\Software\\Classes");
    c.check("no add-in key left", !keyExists(HKEY_CURRENT_USER, addIns + L"\\nimbvbadd.Connect"));
    c.check("the other add-in and class are still registered",
            textValue(neighbourAddIn, L"FriendlyName") == L"Another add-in" &&
                textValue(neighbourClass + L"\\InprocServer32", L"") == L"C:\\other.dll");
}

} // namespace wintest

#include "win/ServerRegistration.h"

#include "addin/Connect.h"
#include "addin/IMgrVB.h"
#include "addin/addInIdentity.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComError.h"
#include "win/ServerModule.h"
#include "win/TypeLibrary.h"
#include "win/classIds.h"

namespace nimb::win {

namespace {

constexpr DWORD loadBehaviorNone = 0;

RegValue text(std::wstring name, std::wstring value) { return {std::move(name), REG_SZ, std::move(value)}; }
RegValue number(std::wstring name, DWORD value) { return {std::move(name), REG_DWORD, {}, value}; }

// Where a scope's classes live: a root and the path below it.
struct Classes {
    HKEY root;
    std::wstring path;
};

Classes classesOf(Scope scope) {
    if (scope == Scope::user) return {HKEY_CURRENT_USER, L"Software\\Classes\\"};
    return {HKEY_CLASSES_ROOT, L""};
}

void addClass(std::vector<RegKey>& keys, const Classes& at, const std::wstring& progId, const std::wstring& clsid,
              const std::wstring& description, const std::wstring& modulePath, bool isControl) {
    const std::wstring progKey = at.path + progId;
    const std::wstring clsidKey = at.path + L"CLSID\\" + clsid;
    keys.push_back({at.root, progKey, {text(L"", description)}});
    keys.push_back({at.root, progKey + L"\\CLSID", {text(L"", clsid)}});
    keys.push_back({at.root, clsidKey, {text(L"", description)}});
    keys.push_back({at.root, clsidKey + L"\\InprocServer32", {text(L"", modulePath), text(L"ThreadingModel", L"Apartment")}});
    keys.push_back({at.root, clsidKey + L"\\ProgID", {text(L"", progId)}});
    if (isControl) {
        keys.push_back({at.root, clsidKey + L"\\Control", {}});
        keys.push_back({at.root, clsidKey + L"\\MiscStatus", {text(L"", std::to_wstring(serverViewDocMiscStatus))}});
    }
}

LONG setValue(HKEY key, const RegValue& v) {
    if (v.type == REG_DWORD) {
        return RegSetValueExW(key, v.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.number),
                              sizeof v.number);
    }
    const auto bytes = static_cast<DWORD>((v.text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, v.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.text.c_str()), bytes);
}

struct CreatedKey {
    HKEY root;
    std::wstring path;
};

// Opens path, creating each missing component and noting it in created.
LONG openCreating(HKEY root, const std::wstring& path, std::vector<CreatedKey>& created, HKEY* key) {
    size_t end = 0;
    LONG rc = ERROR_SUCCESS;
    *key = nullptr;
    while (end != std::wstring::npos) {
        end = path.find(L'\\', end + 1);
        const std::wstring prefix = path.substr(0, end);
        DWORD disposition = 0;
        HKEY opened = nullptr;
        rc = RegCreateKeyExW(root, prefix.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &opened,
                             &disposition);
        if (rc != ERROR_SUCCESS) return rc;
        if (disposition == REG_CREATED_NEW_KEY) created.push_back({root, prefix});
        if (end == std::wstring::npos) {
            *key = opened;
        } else {
            RegCloseKey(opened);
        }
    }
    return rc;
}

void deleteCreated(const std::vector<CreatedKey>& created) {
    for (auto it = created.rbegin(); it != created.rend(); ++it) RegDeleteKeyW(it->root, it->path.c_str());
}

} // namespace

std::vector<RegKey> registrationKeys(const std::wstring& modulePath, Scope scope) {
    const std::wstring addInName = com::wideFromUtf8(Registration::addInDisplayName);
    const Classes at = classesOf(scope);
    std::vector<RegKey> keys;
    addClass(keys, at, com::wideFromUtf8(connectProgId), connectClsid, addInName, modulePath, false);
    addClass(keys, at, com::wideFromUtf8(serverViewDocProgId), serverViewDocClsid, addInName + L" server view",
             modulePath, true);
    addClass(keys, at, modelUtilProgId, modelUtilClsid, addInName + L" model service", modulePath, false);
    for (RegKey& key : typeLibraryKeys(modulePath, at.root, at.path)) keys.push_back(std::move(key));
    keys.push_back({HKEY_CURRENT_USER,
                    com::wideFromUtf8(Registration::addInKey),
                    {text(L"FriendlyName", addInName), text(L"Description", addInName),
                     number(L"LoadBehavior", loadBehaviorNone), number(L"CommandLineSafe", 0)}});
    return keys;
}

HRESULT writeKeys(const std::vector<RegKey>& keys) {
    std::vector<CreatedKey> created;
    for (const RegKey& k : keys) {
        HKEY key = nullptr;
        LONG rc = openCreating(k.root, k.path, created, &key);
        for (size_t i = 0; rc == ERROR_SUCCESS && i < k.values.size(); ++i) rc = setValue(key, k.values[i]);
        if (key) RegCloseKey(key);
        if (rc != ERROR_SUCCESS) {
            deleteCreated(created);
            return HRESULT_FROM_WIN32(rc);
        }
    }
    return S_OK;
}

HRESULT deleteKeys(const std::vector<RegKey>& keys) {
    HRESULT result = S_OK;
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        const LONG rc = RegDeleteKeyW(it->root, it->path.c_str());
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND && SUCCEEDED(result)) result = HRESULT_FROM_WIN32(rc);
    }
    return result;
}

HRESULT writeForMachineOrUser(const std::function<HRESULT()>& writeMachine, const std::function<HRESULT()>& writeUser) {
    const HRESULT hr = writeMachine();
    if (hr != HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)) return hr;
    return writeUser();
}

HRESULT registerServer() {
    return com::guarded([] {
        const std::wstring path = ServerModule::path();
        return writeForMachineOrUser([&] { return writeKeys(registrationKeys(path, Scope::machine)); },
                                     [&] { return writeKeys(registrationKeys(path, Scope::user)); });
    });
}

HRESULT unregisterServer() {
    return com::guarded([] {
        const std::wstring path = ServerModule::path();
        const HRESULT user = deleteKeys(registrationKeys(path, Scope::user));
        const HRESULT machine = deleteKeys(registrationKeys(path, Scope::machine));
        return FAILED(machine) ? machine : user;
    });
}

HRESULT registerServer(Scope scope) {
    return com::guarded([scope] { return writeKeys(registrationKeys(ServerModule::path(), scope)); });
}

HRESULT unregisterServer(Scope scope) {
    return com::guarded([scope] { return deleteKeys(registrationKeys(ServerModule::path(), scope)); });
}

} // namespace nimb::win

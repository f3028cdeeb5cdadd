#include "win/ServerRegistration.h"

#include "addin/Connect.h"
#include "addin/IMgrVB.h"
#include "addin/addInIdentity.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComError.h"
#include "win/ServerModule.h"
#include "win/classIds.h"

namespace nimb::win {

namespace {

constexpr DWORD loadBehaviorNone = 0;

RegValue text(std::wstring name, std::wstring value) { return {std::move(name), REG_SZ, std::move(value)}; }
RegValue number(std::wstring name, DWORD value) { return {std::move(name), REG_DWORD, {}, value}; }

void addClass(std::vector<RegKey>& keys, const std::wstring& progId, const std::wstring& clsid,
              const std::wstring& description, const std::wstring& modulePath, bool isControl) {
    const std::wstring& progKey = progId;
    const std::wstring clsidKey = L"CLSID\\" + clsid;
    keys.push_back({HKEY_CLASSES_ROOT, progKey, {text(L"", description)}});
    keys.push_back({HKEY_CLASSES_ROOT, progKey + L"\\CLSID", {text(L"", clsid)}});
    keys.push_back({HKEY_CLASSES_ROOT, clsidKey, {text(L"", description)}});
    keys.push_back({HKEY_CLASSES_ROOT, clsidKey + L"\\InprocServer32",
                    {text(L"", modulePath), text(L"ThreadingModel", L"Apartment")}});
    keys.push_back({HKEY_CLASSES_ROOT, clsidKey + L"\\ProgID", {text(L"", progId)}});
    if (isControl) {
        keys.push_back({HKEY_CLASSES_ROOT, clsidKey + L"\\Control", {}});
        keys.push_back({HKEY_CLASSES_ROOT, clsidKey + L"\\MiscStatus", {text(L"", std::to_wstring(serverViewDocMiscStatus))}});
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

std::vector<RegKey> registrationKeys(const std::wstring& modulePath) {
    const std::wstring addInName = com::wideFromUtf8(Registration::addInDisplayName);
    std::vector<RegKey> keys;
    addClass(keys, com::wideFromUtf8(connectProgId), connectClsid, addInName, modulePath, false);
    addClass(keys, com::wideFromUtf8(serverViewDocProgId), serverViewDocClsid, addInName + L" server view",
             modulePath, true);
    addClass(keys, modelUtilProgId, modelUtilClsid, addInName + L" model service", modulePath, false);
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

HRESULT registerServer() {
    return com::guarded([] { return writeKeys(registrationKeys(ServerModule::path())); });
}

HRESULT unregisterServer() {
    return com::guarded([] { return deleteKeys(registrationKeys(ServerModule::path())); });
}

} // namespace nimb::win

#include "platform/sim/MemoryRegistry.h"

#include "platform/error.h"
#include "platform/sim/names.h"

#include <algorithm>
#include <cstring>

namespace sim {

using namespace registry;

namespace {

std::string text(const char* s) {
    return s ? std::string(s) : std::string();
}

// The Win32 answer for data of size bytes into lpData/lpcbData.
LONG giveData(const std::vector<BYTE>& data, BYTE* lpData, DWORD* lpcbData) {
    if (!lpcbData) {
        return ERROR_SUCCESS;
    }
    const auto size = static_cast<DWORD>(data.size());
    if (lpData) {
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        std::copy(data.begin(), data.end(), lpData);
    }
    *lpcbData = size;
    return ERROR_SUCCESS;
}

std::vector<BYTE> stringData(const std::string& value) {
    std::vector<BYTE> data(value.begin(), value.end());
    data.push_back(0);
    return data;
}

} // namespace

MemoryRegistry::MemoryRegistry() {
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS}) {
        roots_[root] = std::make_shared<Key>();
    }
}

LONG MemoryRegistry::resolve(HKEY hKey, REGSAM need, std::shared_ptr<Key>& key) const {
    if (auto root = roots_.find(hKey); root != roots_.end()) {
        key = root->second;
        return ERROR_SUCCESS;
    }
    auto handle = handles_.find(hKey);
    if (handle == handles_.end()) {
        return ERROR_INVALID_HANDLE;
    }
    if (handle->second.key->deleted) {
        return ERROR_KEY_DELETED;
    }
    if ((handle->second.access & need) != need) {
        return ERROR_ACCESS_DENIED;
    }
    key = handle->second.key;
    return ERROR_SUCCESS;
}

LONG MemoryRegistry::walk(std::shared_ptr<Key> from, const char* subKey, bool create, std::shared_ptr<Key>& key,
                          bool* created) {
    key = std::move(from);
    if (!subKey || !*subKey) {
        return ERROR_SUCCESS;
    }
    for (const auto& part : names::split(subKey, '\\')) {
        if (part.empty()) {
            return ERROR_BAD_PATHNAME;
        }
        auto& subkeys = key->subkeys;
        auto it = std::find_if(subkeys.begin(), subkeys.end(),
                               [&](const auto& k) { return names::equalNoCase(k->name, part); });
        if (it != subkeys.end()) {
            key = *it;
            continue;
        }
        if (!create) {
            return ERROR_FILE_NOT_FOUND;
        }
        key = subkeys.emplace_back(std::make_shared<Key>(Key{part, {}, {}, false}));
        if (created) {
            *created = true;
        }
    }
    return ERROR_SUCCESS;
}

HKEY MemoryRegistry::newHandle(std::shared_ptr<Key> key, REGSAM access) {
    HKEY handle = nextHandle_++;
    handles_[handle] = {std::move(key), access};
    return handle;
}

MemoryRegistry::Value* MemoryRegistry::findValue(Key& key, const char* name) {
    auto it = std::find_if(key.values.begin(), key.values.end(),
                           [&](const Value& v) { return names::equalNoCase(v.name, text(name)); });
    return it == key.values.end() ? nullptr : &*it;
}

void MemoryRegistry::setValue(Key& key, const std::string& name, DWORD type, std::vector<BYTE> data) {
    if (Value* existing = findValue(key, name.c_str())) {
        existing->type = type;
        existing->data = std::move(data);
        return;
    }
    key.values.push_back({name, type, std::move(data)});
}

LONG MemoryRegistry::RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired,
                                   HKEY* phkResult) {
    if (!phkResult) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = 0;
    std::shared_ptr<Key> parent;
    std::shared_ptr<Key> key;
    LONG rc = resolve(hKey, 0, parent);
    if (rc == ERROR_SUCCESS) {
        rc = walk(parent, lpSubKey, false, key, nullptr);
    }
    if (rc == ERROR_SUCCESS) {
        *phkResult = newHandle(key, samDesired);
    }
    return rc;
}

LONG MemoryRegistry::RegOpenKeyA(HKEY hKey, const char* lpSubKey, HKEY* phkResult) {
    if (!phkResult) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!lpSubKey || !*lpSubKey) {
        // RegOpenKey hands back the very handle it was given.
        std::shared_ptr<Key> key;
        LONG rc = resolve(hKey, 0, key);
        *phkResult = rc == ERROR_SUCCESS ? hKey : 0;
        return rc;
    }
    return RegOpenKeyExA(hKey, lpSubKey, 0, KEY_ALL_ACCESS, phkResult);
}

LONG MemoryRegistry::RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                                      BYTE* lpData, DWORD* lpcbData) {
    if (lpReserved || (lpData && !lpcbData)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::shared_ptr<Key> key;
    if (LONG rc = resolve(hKey, KEY_QUERY_VALUE, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    const Value* value = findValue(*key, lpValueName);
    if (!value) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (lpType) {
        *lpType = value->type;
    }
    return giveData(value->data, lpData, lpcbData);
}

LONG MemoryRegistry::RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                                   DWORD* lpReserved, DWORD* lpType, BYTE* lpData, DWORD* lpcbData) {
    if (!lpValueName || !lpcchValueName || lpReserved || (lpData && !lpcbData)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::shared_ptr<Key> key;
    if (LONG rc = resolve(hKey, KEY_QUERY_VALUE, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    if (dwIndex >= key->values.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    const Value& value = key->values[dwIndex];
    const auto nameLength = static_cast<DWORD>(value.name.size());
    if (*lpcchValueName < nameLength + 1) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(lpValueName, value.name.c_str(), value.name.size() + 1);
    *lpcchValueName = nameLength;
    if (lpType) {
        *lpType = value.type;
    }
    return giveData(value.data, lpData, lpcbData);
}

LONG MemoryRegistry::RegCloseKey(HKEY hKey) {
    if (roots_.count(hKey)) {
        return ERROR_SUCCESS;
    }
    return handles_.erase(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG MemoryRegistry::RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, char* /*lpClass*/,
                                     DWORD /*dwOptions*/, REGSAM samDesired, const void* /*lpSecurityAttributes*/,
                                     HKEY* phkResult, DWORD* lpdwDisposition) {
    if (!lpSubKey || Reserved != 0 || !phkResult) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = 0;
    std::shared_ptr<Key> parent;
    if (LONG rc = resolve(hKey, 0, parent); rc != ERROR_SUCCESS) {
        return rc;
    }
    std::shared_ptr<Key> key;
    LONG rc = walk(parent, lpSubKey, false, key, nullptr);
    bool created = false;
    if (rc == ERROR_FILE_NOT_FOUND) {
        if (LONG denied = resolve(hKey, KEY_CREATE_SUB_KEY, parent); denied != ERROR_SUCCESS) {
            return denied;
        }
        rc = walk(parent, lpSubKey, true, key, &created);
    }
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    *phkResult = newHandle(key, samDesired);
    if (lpdwDisposition) {
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    return ERROR_SUCCESS;
}

LONG MemoryRegistry::RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                                    const BYTE* lpData, DWORD cbData) {
    if (Reserved != 0 || (!lpData && cbData > 0)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::shared_ptr<Key> key;
    if (LONG rc = resolve(hKey, KEY_SET_VALUE, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    setValue(*key, text(lpValueName), dwType, std::vector<BYTE>(lpData, lpData + cbData));
    return ERROR_SUCCESS;
}

LONG MemoryRegistry::RegDeleteKeyA(HKEY hKey, const char* lpSubKey) {
    if (!lpSubKey || !*lpSubKey) {
        return ERROR_INVALID_PARAMETER;
    }
    std::shared_ptr<Key> key;
    if (LONG rc = resolve(hKey, 0, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    auto parts = names::split(lpSubKey, '\\');
    const std::string last = parts.back();
    parts.pop_back();
    for (const auto& part : parts) {
        if (part.empty()) {
            return ERROR_BAD_PATHNAME;
        }
        if (LONG rc = walk(key, part.c_str(), false, key, nullptr); rc != ERROR_SUCCESS) {
            return rc;
        }
    }
    if (last.empty()) {
        return ERROR_BAD_PATHNAME;
    }
    auto& subkeys = key->subkeys;
    auto it = std::find_if(subkeys.begin(), subkeys.end(),
                           [&](const auto& k) { return names::equalNoCase(k->name, last); });
    if (it == subkeys.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (!(*it)->subkeys.empty()) {
        return ERROR_ACCESS_DENIED;
    }
    (*it)->deleted = true;
    subkeys.erase(it);
    return ERROR_SUCCESS;
}

LONG MemoryRegistry::RegDeleteValueA(HKEY hKey, const char* lpValueName) {
    std::shared_ptr<Key> key;
    if (LONG rc = resolve(hKey, KEY_SET_VALUE, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    const std::string name = text(lpValueName);
    auto removed = std::erase_if(key->values, [&](const Value& v) { return names::equalNoCase(v.name, name); });
    return removed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::keyAt(HKEY root, const std::string& path, bool create) const {
    auto it = roots_.find(root);
    if (it == roots_.end()) {
        throw vb::VBError(vb::err::InvalidProcedureCall, "Not a registry root: " + std::to_string(root));
    }
    std::shared_ptr<Key> key;
    LONG rc = walk(it->second, path.c_str(), create, key, nullptr);
    if (rc == ERROR_BAD_PATHNAME) {
        throw vb::VBError(vb::err::InvalidProcedureCall, "Not a registry path: " + path);
    }
    return rc == ERROR_SUCCESS ? key : nullptr;
}

void MemoryRegistry::createKey(HKEY root, const std::string& path) {
    keyAt(root, path, true);
}

void MemoryRegistry::setString(HKEY root, const std::string& path, const std::string& name, const std::string& value) {
    setValue(*keyAt(root, path, true), name, REG_SZ, stringData(value));
}

void MemoryRegistry::setDword(HKEY root, const std::string& path, const std::string& name, uint32_t value) {
    std::vector<BYTE> data(sizeof value);
    std::memcpy(data.data(), &value, sizeof value);
    setValue(*keyAt(root, path, true), name, REG_DWORD, std::move(data));
}

bool MemoryRegistry::hasKey(HKEY root, const std::string& path) const {
    return keyAt(root, path, false) != nullptr;
}

std::optional<std::string> MemoryRegistry::getString(HKEY root, const std::string& path, const std::string& name) const {
    auto key = keyAt(root, path, false);
    const Value* value = key ? findValue(*key, name.c_str()) : nullptr;
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::string s(value->data.begin(), value->data.end());
    return s.substr(0, s.find('\0'));
}

std::vector<std::string> MemoryRegistry::valueNames(HKEY root, const std::string& path) const {
    std::vector<std::string> result;
    if (auto key = keyAt(root, path, false)) {
        for (const auto& v : key->values) {
            result.push_back(v.name);
        }
    }
    return result;
}

std::vector<std::string> MemoryRegistry::subkeyNames(HKEY root, const std::string& path) const {
    std::vector<std::string> result;
    if (auto key = keyAt(root, path, false)) {
        for (const auto& k : key->subkeys) {
            result.push_back(k->name);
        }
    }
    return result;
}

} // namespace sim

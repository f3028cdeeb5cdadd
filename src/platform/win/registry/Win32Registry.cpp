#include "platform/win/registry/Win32Registry.h"

namespace {
// Taken before <windows.h>, whose macros of the same names are the system's handle values.
constexpr registry::HKEY firstRoot = registry::HKEY_CLASSES_ROOT;
constexpr registry::HKEY lastRoot = registry::HKEY_USERS;
} // namespace

#include <windows.h>

namespace registry {

namespace {

::HKEY sys(void* key) { return static_cast<::HKEY>(key); }

bool isRoot(HKEY hKey) { return hKey >= firstRoot && hKey <= lastRoot; }

} // namespace

Win32Registry::~Win32Registry() {
    for (auto& [handle, key] : open_) ::RegCloseKey(sys(key));
}

Win32Registry::SystemKey Win32Registry::systemKey(HKEY hKey) const {
    // The predefined keys are the sign-extended 32-bit values on either width.
    if (isRoot(hKey)) return reinterpret_cast<void*>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<int32_t>(hKey))));
    auto entry = open_.find(hKey);
    return entry == open_.end() ? nullptr : entry->second;
}

HKEY Win32Registry::handOut(SystemKey key) {
    while (open_.count(next_) != 0 || isRoot(next_) || next_ == 0) next_ += 4;
    HKEY handle = next_;
    next_ += 4;
    open_[handle] = key;
    return handle;
}

LONG Win32Registry::RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                                  HKEY* phkResult) {
    SystemKey parent = systemKey(hKey);
    if (!parent) return ERROR_INVALID_HANDLE;
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    ::HKEY opened = nullptr;
    LONG status = ::RegOpenKeyExA(sys(parent), lpSubKey, ulOptions, samDesired, &opened);
    if (status == ERROR_SUCCESS) *phkResult = handOut(opened);
    return status;
}

LONG Win32Registry::RegOpenKeyA(HKEY hKey, const char* lpSubKey, HKEY* phkResult) {
    SystemKey parent = systemKey(hKey);
    if (!parent) return ERROR_INVALID_HANDLE;
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    ::HKEY opened = nullptr;
    LONG status = ::RegOpenKeyA(sys(parent), lpSubKey, &opened);
    if (status == ERROR_SUCCESS) *phkResult = handOut(opened);
    return status;
}

LONG Win32Registry::RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                                     BYTE* lpData, DWORD* lpcbData) {
    SystemKey key = systemKey(hKey);
    if (!key) return ERROR_INVALID_HANDLE;
    return ::RegQueryValueExA(sys(key), lpValueName, reinterpret_cast<::DWORD*>(lpReserved),
                              reinterpret_cast<::DWORD*>(lpType), lpData, reinterpret_cast<::DWORD*>(lpcbData));
}

LONG Win32Registry::RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                                  DWORD* lpReserved, DWORD* lpType, BYTE* lpData, DWORD* lpcbData) {
    SystemKey key = systemKey(hKey);
    if (!key) return ERROR_INVALID_HANDLE;
    return ::RegEnumValueA(sys(key), dwIndex, lpValueName, reinterpret_cast<::DWORD*>(lpcchValueName),
                           reinterpret_cast<::DWORD*>(lpReserved), reinterpret_cast<::DWORD*>(lpType), lpData,
                           reinterpret_cast<::DWORD*>(lpcbData));
}

LONG Win32Registry::RegCloseKey(HKEY hKey) {
    if (isRoot(hKey)) return ERROR_SUCCESS;
    auto entry = open_.find(hKey);
    if (entry == open_.end()) return ERROR_INVALID_HANDLE;
    LONG status = ::RegCloseKey(sys(entry->second));
    open_.erase(entry);
    return status;
}

LONG Win32Registry::RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, char* lpClass,
                                    DWORD dwOptions, REGSAM samDesired, const void* lpSecurityAttributes,
                                    HKEY* phkResult, DWORD* lpdwDisposition) {
    SystemKey parent = systemKey(hKey);
    if (!parent) return ERROR_INVALID_HANDLE;
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    ::HKEY created = nullptr;
    LONG status = ::RegCreateKeyExA(
        sys(parent), lpSubKey, Reserved, lpClass, dwOptions, samDesired,
        const_cast<LPSECURITY_ATTRIBUTES>(static_cast<const SECURITY_ATTRIBUTES*>(lpSecurityAttributes)), &created,
        reinterpret_cast<::DWORD*>(lpdwDisposition));
    if (status == ERROR_SUCCESS) *phkResult = handOut(created);
    return status;
}

LONG Win32Registry::RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                                   const BYTE* lpData, DWORD cbData) {
    SystemKey key = systemKey(hKey);
    if (!key) return ERROR_INVALID_HANDLE;
    return ::RegSetValueExA(sys(key), lpValueName, Reserved, dwType, lpData, cbData);
}

LONG Win32Registry::RegDeleteKeyA(HKEY hKey, const char* lpSubKey) {
    SystemKey key = systemKey(hKey);
    if (!key) return ERROR_INVALID_HANDLE;
    return ::RegDeleteKeyA(sys(key), lpSubKey);
}

LONG Win32Registry::RegDeleteValueA(HKEY hKey, const char* lpValueName) {
    SystemKey key = systemKey(hKey);
    if (!key) return ERROR_INVALID_HANDLE;
    return ::RegDeleteValueA(sys(key), lpValueName);
}

} // namespace registry

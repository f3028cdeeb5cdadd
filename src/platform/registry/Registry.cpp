#include "platform/registry/Registry.h"

#include <utility>

namespace registry {

namespace {

std::shared_ptr<Registry>& current() {
    static std::shared_ptr<Registry> registry;
    return registry;
}

// Calls the installed registry's member, or answers as a system without a registry would.
template <class Call>
LONG withRegistry(Call call) {
    auto registry = current();  // keeps it alive should the call install another one
    return registry ? call(*registry) : ERROR_CALL_NOT_IMPLEMENTED;
}

} // namespace

void install(std::shared_ptr<Registry> registry) {
    current() = std::move(registry);
}

std::shared_ptr<Registry> installed() {
    return current();
}

LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired, HKEY* phkResult) {
    return withRegistry([&](Registry& r) { return r.RegOpenKeyExA(hKey, lpSubKey, ulOptions, samDesired, phkResult); });
}

LONG RegOpenKeyA(HKEY hKey, const char* lpSubKey, HKEY* phkResult) {
    return withRegistry([&](Registry& r) { return r.RegOpenKeyA(hKey, lpSubKey, phkResult); });
}

LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                      DWORD* lpcbData) {
    return withRegistry(
        [&](Registry& r) { return r.RegQueryValueExA(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData); });
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName, DWORD* lpReserved,
                   DWORD* lpType, BYTE* lpData, DWORD* lpcbData) {
    return withRegistry([&](Registry& r) {
        return r.RegEnumValueA(hKey, dwIndex, lpValueName, lpcchValueName, lpReserved, lpType, lpData, lpcbData);
    });
}

LONG RegCloseKey(HKEY hKey) {
    return withRegistry([&](Registry& r) { return r.RegCloseKey(hKey); });
}

LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, char* lpClass, DWORD dwOptions,
                     REGSAM samDesired, const void* lpSecurityAttributes, HKEY* phkResult, DWORD* lpdwDisposition) {
    return withRegistry([&](Registry& r) {
        return r.RegCreateKeyExA(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired, lpSecurityAttributes,
                                 phkResult, lpdwDisposition);
    });
}

LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
    return withRegistry(
        [&](Registry& r) { return r.RegSetValueExA(hKey, lpValueName, Reserved, dwType, lpData, cbData); });
}

LONG RegDeleteKeyA(HKEY hKey, const char* lpSubKey) {
    return withRegistry([&](Registry& r) { return r.RegDeleteKeyA(hKey, lpSubKey); });
}

LONG RegDeleteValueA(HKEY hKey, const char* lpValueName) {
    return withRegistry([&](Registry& r) { return r.RegDeleteValueA(hKey, lpValueName); });
}

} // namespace registry

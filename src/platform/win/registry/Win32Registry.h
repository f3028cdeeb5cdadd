// Win32Registry: the registry port over the system's own ANSI registry functions. Texts pass
// through unchanged (the add-in converts to and from the ANSI code page itself); return codes are
// the system's. The port's key handles are 32-bit as in the IDE's process, so the keys this opens
// are handed out as small numbers of its own, which also keeps a handle the system never gave from
// reaching the system.
#pragma once

#include "platform/registry/Registry.h"

#include <unordered_map>

namespace registry {

class Win32Registry final : public Registry {
public:
    ~Win32Registry() override;

    LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                       HKEY* phkResult) override;
    LONG RegOpenKeyA(HKEY hKey, const char* lpSubKey, HKEY* phkResult) override;
    LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                          DWORD* lpcbData) override;
    LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName, DWORD* lpReserved,
                       DWORD* lpType, BYTE* lpData, DWORD* lpcbData) override;
    LONG RegCloseKey(HKEY hKey) override;
    LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, char* lpClass, DWORD dwOptions,
                         REGSAM samDesired, const void* lpSecurityAttributes, HKEY* phkResult,
                         DWORD* lpdwDisposition) override;
    LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                        DWORD cbData) override;
    LONG RegDeleteKeyA(HKEY hKey, const char* lpSubKey) override;
    LONG RegDeleteValueA(HKEY hKey, const char* lpValueName) override;

private:
    using SystemKey = void*;  // the system's HKEY

    // The system's key for a port handle: a predefined root or one this opened; nullptr if neither.
    SystemKey systemKey(HKEY hKey) const;
    HKEY handOut(SystemKey key);

    std::unordered_map<HKEY, SystemKey> open_;
    HKEY next_ = 0x100;
};

} // namespace registry

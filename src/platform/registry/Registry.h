// Registry: the Windows registry as its ANSI functions see it. The add-in calls the free functions
// below, which go to the installed implementation (sim::MemoryRegistry in tests and the host).
// Parameters, buffer sizes and return codes follow the Win32 documentation:
// - key names are '\'-separated paths, compared without regard to letter case; NULL or "" as
//   lpSubKey opens the key itself; a path with an empty component gives ERROR_BAD_PATHNAME;
// - a NULL or "" value name is the key's default value;
// - RegQueryValueExA: lpcbData in bytes, in and out; a too small lpData gives ERROR_MORE_DATA with
//   the needed size in *lpcbData and lpData untouched; lpData NULL gives the size only; lpData
//   without lpcbData gives ERROR_INVALID_PARAMETER. REG_SZ data is stored with its terminating NUL,
//   which the size includes;
// - RegEnumValueA: values in the order they were first set; lpcchValueName is the name buffer's
//   size in characters including the NUL going in, the name's length without the NUL coming out;
//   a name buffer too small for name and NUL gives ERROR_MORE_DATA (nothing written); data as for
//   RegQueryValueExA; an index past the last value gives ERROR_NO_MORE_ITEMS;
// - handles carry the access they were opened with: setting a value needs KEY_SET_VALUE, creating
//   a subkey KEY_CREATE_SUB_KEY (else ERROR_ACCESS_DENIED); a handle of a deleted key gives
//   ERROR_KEY_DELETED; an unknown handle ERROR_INVALID_HANDLE;
// - RegDeleteKeyA deletes a key without subkeys (else ERROR_ACCESS_DENIED).
// With no implementation installed every call returns ERROR_CALL_NOT_IMPLEMENTED.
#pragma once

#include "platform/registry/RegistryTypes.h"

#include <memory>

namespace registry {

class Registry {
public:
    virtual ~Registry() = default;

    virtual LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                               HKEY* phkResult) = 0;
    virtual LONG RegOpenKeyA(HKEY hKey, const char* lpSubKey, HKEY* phkResult) = 0;
    virtual LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                                  BYTE* lpData, DWORD* lpcbData) = 0;
    virtual LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                               DWORD* lpReserved, DWORD* lpType, BYTE* lpData, DWORD* lpcbData) = 0;
    virtual LONG RegCloseKey(HKEY hKey) = 0;
    virtual LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, char* lpClass, DWORD dwOptions,
                                 REGSAM samDesired, const void* lpSecurityAttributes, HKEY* phkResult,
                                 DWORD* lpdwDisposition) = 0;
    virtual LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                                const BYTE* lpData, DWORD cbData) = 0;
    virtual LONG RegDeleteKeyA(HKEY hKey, const char* lpSubKey) = 0;
    virtual LONG RegDeleteValueA(HKEY hKey, const char* lpValueName) = 0;
};

// Makes registry the one the free functions use (Nothing: none).
void install(std::shared_ptr<Registry> registry);
std::shared_ptr<Registry> installed();

LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired, HKEY* phkResult);
LONG RegOpenKeyA(HKEY hKey, const char* lpSubKey, HKEY* phkResult);
LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                      DWORD* lpcbData);
LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName, DWORD* lpReserved,
                   DWORD* lpType, BYTE* lpData, DWORD* lpcbData);
LONG RegCloseKey(HKEY hKey);
LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, char* lpClass, DWORD dwOptions,
                     REGSAM samDesired, const void* lpSecurityAttributes, HKEY* phkResult, DWORD* lpdwDisposition);
LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
LONG RegDeleteKeyA(HKEY hKey, const char* lpSubKey);
LONG RegDeleteValueA(HKEY hKey, const char* lpValueName);

} // namespace registry

// MemoryRegistry: an in-memory Windows registry behind the registry:: functions, with a builder for
// tests and the host. It keeps the Win32 semantics documented in platform/registry/Registry.h.
#pragma once

#include "platform/registry/Registry.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class MemoryRegistry : public registry::Registry {
public:
    MemoryRegistry();

    // registry::Registry
    registry::LONG RegOpenKeyExA(registry::HKEY hKey, const char* lpSubKey, registry::DWORD ulOptions,
                                 registry::REGSAM samDesired, registry::HKEY* phkResult) override;
    registry::LONG RegOpenKeyA(registry::HKEY hKey, const char* lpSubKey, registry::HKEY* phkResult) override;
    registry::LONG RegQueryValueExA(registry::HKEY hKey, const char* lpValueName, registry::DWORD* lpReserved,
                                    registry::DWORD* lpType, registry::BYTE* lpData,
                                    registry::DWORD* lpcbData) override;
    registry::LONG RegEnumValueA(registry::HKEY hKey, registry::DWORD dwIndex, char* lpValueName,
                                 registry::DWORD* lpcchValueName, registry::DWORD* lpReserved,
                                 registry::DWORD* lpType, registry::BYTE* lpData,
                                 registry::DWORD* lpcbData) override;
    registry::LONG RegCloseKey(registry::HKEY hKey) override;
    registry::LONG RegCreateKeyExA(registry::HKEY hKey, const char* lpSubKey, registry::DWORD Reserved,
                                   char* lpClass, registry::DWORD dwOptions, registry::REGSAM samDesired,
                                   const void* lpSecurityAttributes, registry::HKEY* phkResult,
                                   registry::DWORD* lpdwDisposition) override;
    registry::LONG RegSetValueExA(registry::HKEY hKey, const char* lpValueName, registry::DWORD Reserved,
                                  registry::DWORD dwType, const registry::BYTE* lpData,
                                  registry::DWORD cbData) override;
    registry::LONG RegDeleteKeyA(registry::HKEY hKey, const char* lpSubKey) override;
    registry::LONG RegDeleteValueA(registry::HKEY hKey, const char* lpValueName) override;

    // Builder: keys on the path are made as needed; a value set again keeps its place in the
    // enumeration order. path is '\'-separated ("Software\Microsoft\SourceSafe").
    void createKey(registry::HKEY root, const std::string& path);
    void setString(registry::HKEY root, const std::string& path, const std::string& name, const std::string& value);
    void setDword(registry::HKEY root, const std::string& path, const std::string& name, uint32_t value);

    // Inspection.
    bool hasKey(registry::HKEY root, const std::string& path) const;
    std::optional<std::string> getString(registry::HKEY root, const std::string& path, const std::string& name) const;
    std::vector<std::string> valueNames(registry::HKEY root, const std::string& path) const;
    // The key's subkeys in the order they were made (what RegEnumKeyEx would list); none for a
    // missing key.
    std::vector<std::string> subkeyNames(registry::HKEY root, const std::string& path) const;
    int32_t openHandles() const { return static_cast<int32_t>(handles_.size()); }

private:
    struct Value {
        std::string name;
        registry::DWORD type;
        std::vector<registry::BYTE> data;
    };
    struct Key {
        std::string name;
        std::vector<std::shared_ptr<Key>> subkeys;
        std::vector<Value> values;
        bool deleted = false;
    };
    struct Handle {
        std::shared_ptr<Key> key;
        registry::REGSAM access;
    };

    registry::LONG resolve(registry::HKEY hKey, registry::REGSAM need, std::shared_ptr<Key>& key) const;
    static registry::LONG walk(std::shared_ptr<Key> from, const char* subKey, bool create, std::shared_ptr<Key>& key,
                               bool* created);
    std::shared_ptr<Key> keyAt(registry::HKEY root, const std::string& path, bool create) const;
    registry::HKEY newHandle(std::shared_ptr<Key> key, registry::REGSAM access);
    static Value* findValue(Key& key, const char* name);
    static void setValue(Key& key, const std::string& name, registry::DWORD type, std::vector<registry::BYTE> data);

    std::map<registry::HKEY, std::shared_ptr<Key>> roots_;
    std::map<registry::HKEY, Handle> handles_;
    registry::HKEY nextHandle_ = 0x100;
};

} // namespace sim

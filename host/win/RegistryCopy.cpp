#include "RegistryCopy.h"

#include "HostError.h"
#include "Machine.h"

#include "platform/registry/Registry.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/win/registry/Win32Registry.h"

#include <vector>

namespace host {

namespace {

void copyKey(sim::MemoryRegistry& from, registry::Registry& to, registry::HKEY root, const std::string& path) {
    registry::HKEY source = 0;
    if (from.RegOpenKeyExA(root, path.c_str(), 0, registry::KEY_READ, &source) != registry::ERROR_SUCCESS) return;
    registry::HKEY target = 0;
    if (to.RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, registry::KEY_WRITE, nullptr, &target, nullptr) !=
        registry::ERROR_SUCCESS) {
        from.RegCloseKey(source);
        throw HostError("cannot write the registry key " + path);
    }
    for (registry::DWORD i = 0;; ++i) {
        char name[256];
        registry::DWORD nameLength = sizeof name;
        registry::DWORD type = 0;
        std::vector<registry::BYTE> data(4096);
        registry::DWORD size = static_cast<registry::DWORD>(data.size());
        if (from.RegEnumValueA(source, i, name, &nameLength, nullptr, &type, data.data(), &size) != registry::ERROR_SUCCESS)
            break;
        to.RegSetValueExA(target, name, 0, type, data.data(), size);
    }
    to.RegCloseKey(target);
    from.RegCloseKey(source);
    for (const auto& sub : from.subkeyNames(root, path)) copyKey(from, to, root, path + "\\" + sub);
}

} // namespace

void copyWorkspaceKeys(Machine& machine) {
    registry::Win32Registry system;
    copyKey(machine.registry(), system, registry::HKEY_CURRENT_USER, addInsKey);
    copyKey(machine.registry(), system, registry::HKEY_LOCAL_MACHINE, sourceSafeKey);
}

void installSystemRegistry() { registry::install(std::make_shared<registry::Win32Registry>()); }

void listAddIn(Machine& machine, const std::string& progId) {
    machine.registry().createKey(registry::HKEY_CURRENT_USER, std::string(addInsKey) + "\\" + progId);
}

} // namespace host

#include "AddinHost.h"

#include "HostError.h"
#include "Machine.h"

#include "addin/ControlInspection.h"
#include "platform/registry/Registry.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/sim/SimAddIn.h"
#include "platform/sim/SimVBE.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstring>

namespace host {

namespace {

using EntryPoint = int32_t();

std::string readString(registry::HKEY key, const char* name) {
    char buffer[1024] = {};
    registry::DWORD size = sizeof buffer;
    registry::DWORD type = 0;
    if (registry::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<registry::BYTE*>(buffer), &size) !=
            registry::ERROR_SUCCESS ||
        type != registry::REG_SZ)
        return {};
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

int32_t readDword(registry::HKEY key, const char* name) {
    uint32_t value = 0;
    registry::DWORD size = sizeof value;
    registry::DWORD type = 0;
    if (registry::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<registry::BYTE*>(&value), &size) !=
            registry::ERROR_SUCCESS ||
        type != registry::REG_DWORD)
        return 0;
    return static_cast<int32_t>(value);
}

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

void AddinHost::loadModule(const std::string& path) {
    auto module = std::make_unique<Library>(path);
    if (!module->loaded()) throw HostError("cannot load the add-in module " + path + ": " + module->error());
    auto* registerServer = module->function<EntryPoint>("DllRegisterServer");
    if (!registerServer) throw HostError("the add-in module " + path + " exports no DllRegisterServer");
    if (int32_t result = registerServer(); result != 0)
        throw HostError(fmt::format("DllRegisterServer of {} failed with 0x{:08X}", path, static_cast<uint32_t>(result)));
    modules_.push_back(std::move(module));
}

std::vector<AddinHost::Registered> AddinHost::registered() const {
    std::vector<Registered> out;
    for (const auto& progId : registry_.subkeyNames(registry::HKEY_CURRENT_USER, addInsKey)) {
        std::string path = std::string(addInsKey) + "\\" + progId;
        registry::HKEY key = 0;
        if (registry::RegOpenKeyExA(registry::HKEY_CURRENT_USER, path.c_str(), 0, registry::KEY_READ, &key) !=
            registry::ERROR_SUCCESS)
            continue;
        out.push_back({progId, readString(key, "FriendlyName"), readString(key, "Description"), readDword(key, "LoadBehavior")});
        registry::RegCloseKey(key);
    }
    return out;
}

std::shared_ptr<sim::SimAddIn> AddinHost::connected(const std::string& progId) const {
    for (const auto& addIn : ide_.addIns())
        if (addIn->connected() && sameName(addIn->progId(), progId)) return addIn;
    return nullptr;
}

std::shared_ptr<sim::SimAddIn> AddinHost::connect(const std::string& progId) {
    auto all = registered();
    auto entry = std::find_if(all.begin(), all.end(), [&](const Registered& r) { return sameName(r.progId, progId); });
    if (entry == all.end()) throw HostError("no add-in " + progId + " is registered");
    if (connected(progId)) throw HostError(progId + " is connected already");
    return ide_.connectAddIn(entry->progId, entry->description);
}

void AddinHost::disconnect(const std::string& progId) {
    auto addIn = connected(progId);
    if (!addIn) throw HostError(progId + " is not connected");
    ide_.disconnectAddIn(addIn);
}

std::shared_ptr<vbide::CommandBarControl> AddinHost::control(const std::string& progId, const std::string& field) const {
    auto addIn = connected(progId);
    if (!addIn) throw HostError(progId + " is not connected");
    auto* inspection = dynamic_cast<nimb::ControlInspection*>(addIn->object().get());
    if (!inspection) throw HostError(progId + " does not say which of its controls is which");
    auto control = inspection->controlNamed(field);
    if (!control) {
        const auto& known = controlFields();
        if (std::find(known.begin(), known.end(), field) == known.end())
            throw HostError("the add-in has no control named " + field);
        throw HostError("the add-in's " + field + " is not made (or was deleted)");
    }
    return control;
}

const std::vector<std::string>& AddinHost::controlFields() {
    static const std::vector<std::string> fields = {
        "addInMenuItem",
        "velmoraToolbarButton", "adminConsoleToolbarButton", "queryConsoleToolbarButton", "linkWizardToolbarButton",
        "queryBuilderToolbarButton", "deployToolbarButton", "docLibraryToolbarButton",
        "viewMenuPopup", "devViewMenuItem", "outputViewMenuItem", "editorViewMenuItem",
        "toolsMenuPopup", "velmoraMenuItem", "adminConsoleMenuItem", "queryConsoleMenuItem", "linkWizardMenuItem",
        "queryBuilderMenuItem", "deployMenuItem",
        "helpMenuPopup", "srvViewHelpMenuItem", "docLibraryMenuItem", "productInfoMenuItem",
    };
    return fields;
}

} // namespace host

// AddinHost: what the IDE does with add-ins. It loads an add-in module at run time (the module is
// never linked), calls its self-registration entry point, lists the registered add-ins from the
// registry as the Add-In Manager does, connects and disconnects them through the simulated IDE
// (which creates the connection class by ProgID), and finds an add-in's command-bar controls by
// their field names through the add-in's inspection interface (addin/ControlInspection.h).
#pragma once

#include "Library.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sim {
class MemoryRegistry;
class SimAddIn;
class SimVBE;
} // namespace sim

namespace vbide {
class CommandBarControl;
}

namespace host {

class AddinHost {
public:
    struct Registered {
        std::string progId;
        std::string friendlyName;
        std::string description;
        int32_t loadBehavior = 0;
    };

    AddinHost(sim::SimVBE& ide, sim::MemoryRegistry& registry) : ide_(ide), registry_(registry) {}

    // Loads the module and calls its DllRegisterServer; HostError when the module cannot be
    // loaded, exports no entry point, or the entry point reports a failure (its HRESULT).
    void loadModule(const std::string& path);

    // The add-ins under the IDE's Addins key, in registry order.
    std::vector<Registered> registered() const;
    // The IDE's record of a connected add-in, or Nothing.
    std::shared_ptr<sim::SimAddIn> connected(const std::string& progId) const;

    // Connects a registered add-in (HostError when it is not registered or is connected already);
    // an error raised while the class is created or connected reaches the caller as vb::VBError.
    std::shared_ptr<sim::SimAddIn> connect(const std::string& progId);
    // HostError when the add-in is not connected.
    void disconnect(const std::string& progId);

    // The control in the add-in's field of that name; HostError when the add-in is not connected,
    // has no inspection interface, or the field is unknown or empty.
    std::shared_ptr<vbide::CommandBarControl> control(const std::string& progId, const std::string& field) const;

    // The add-in's command-bar fields, in the order the add-in makes them.
    static const std::vector<std::string>& controlFields();

private:
    sim::SimVBE& ide_;
    sim::MemoryRegistry& registry_;
    std::vector<std::unique_ptr<Library>> modules_;
};

inline constexpr char defaultAddIn[] = "nimbvbadd.Connect";

} // namespace host

// ComMode: the host's COM mode (nimbide --com), Windows only. The add-in module is registered with
// regsvr32 and its connection class created by ProgID through CoCreateInstance; the simulated IDE
// reaches it only as COM objects (src/platform/sim/com), the registry is the system's and SourceSafe
// is the in-memory one created through COM. Everything else - commands, output - is as without it.
#pragma once

#include <memory>
#include <string>

namespace host {

class Machine;

class ComMode {
public:
    virtual ~ComMode() = default;
    // Registers the module as regsvr32 does (HostError when that fails) and makes every add-in
    // the registry then lists known to the machine's Add-In Manager and creatable through COM.
    virtual void registerModule(const std::string& path) = 0;
    // Once the add-ins are gone: frees unused COM libraries and says what is still alive, as the
    // one line "N live objects here, M in the add-in; the add-in module unloaded" (or "still
    // loaded").
    virtual std::string check() = 0;
};

// Starts the COM mode for machine, whose registry and SourceSafe it takes over; HostError on a
// platform without COM or when COM cannot be set up.
std::unique_ptr<ComMode> startComMode(Machine& machine);

} // namespace host

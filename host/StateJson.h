// StateJson: the whole observable state of the simulated IDE as JSON (docs/state-schema.md) - the
// IDE with its projects, command bars and windows, the registered add-ins, the loaded forms, the
// server view, the message boxes shown so far, the registry, SourceSafe and the engine's journal.
// Paths appear as the person sees them.
#pragma once

#include "AddinHost.h"
#include "EngineTestApi.h"
#include "HostUser.h"
#include "Machine.h"

#include <nlohmann/json.hpp>

namespace host {

nlohmann::ordered_json stateJson(const Machine& machine, const AddinHost& addins, const HostUser& user,
                                 const EngineTestApi& engine);

} // namespace host

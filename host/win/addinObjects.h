// What the host may ask of the add-in's own COM adapters (platform/win/com/Remote.h), kept apart
// from the serving side's headers, whose names clash with the calling side's.
#pragma once

#include "platform/variant.h"

#include <cstddef>
#include <memory>
#include <string>

namespace host {

// The simulated IDE's object behind one of the add-in's port objects (the add-in's adapter of a
// served object); Nothing for anything else.
std::shared_ptr<vb::Object> servedBehind(const std::shared_ptr<vb::Object>& portObject);

// The add-in's port objects standing for COM objects, still alive.
std::size_t liveAdapters();

// Makes the add-in's SourceSafe the automation server registered under progId, reached through COM.
void useSourceSafeServer(const std::string& progId);

} // namespace host

// The SourceSafe automation server as a creatable class (ProgID "SourceSafe"): installing a server
// registers it with vbide::ClassRegistry, and the add-in creates its database objects through it.
#pragma once

#include "platform/vss/VSSDatabase.h"

#include <functional>
#include <memory>

namespace vss {

constexpr const char* serverProgId = "SourceSafe";

// Installs the factory of database sessions (Nothing: uninstalls).
void install(std::function<std::shared_ptr<VSSDatabase>()> server);
// A new database session; raises 429 when no server is installed.
std::shared_ptr<VSSDatabase> createVSSDatabase();

} // namespace vss

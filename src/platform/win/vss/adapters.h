// The late-bound adapters of SourceSafe's automation objects, and the server's creation by ProgID.
#pragma once

#include "platform/win/com/Dispatch.h"

#include <memory>
#include <string>

namespace vss {
class VSSDatabase;
class VSSItem;
class VSSItems;
} // namespace vss

namespace vss::win {

// A new database object of the automation server registered under progId; a class nobody
// registered raises 429.
std::shared_ptr<VSSDatabase> createDatabase(const std::string& progId);

std::shared_ptr<VSSDatabase> adaptVSSDatabase(const com::Dispatch& object);
std::shared_ptr<VSSItem> adaptVSSItem(const com::Dispatch& object);
std::shared_ptr<VSSItems> adaptVSSItems(const com::Dispatch& object);

} // namespace vss::win

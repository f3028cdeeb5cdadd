// DECommands: the commands of one Data Environment designer, in creation order.
#pragma once

#include "platform/variant.h"
#include "platform/vbide/DataEnvironment.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vbide {

class DECommand;

class DECommands : public vb::Object {
public:
    virtual int32_t Count() = 0;
    virtual std::shared_ptr<DECommand> Item(int32_t index) = 0;           // 1-based; else raises 9
    virtual std::shared_ptr<DECommand> Item(const std::string& name) = 0; // else raises 9
    virtual std::vector<std::shared_ptr<DECommand>> items() = 0;
    // As DEConnections::Add (empty name 5, name in use de::errObjectInCollection).
    virtual std::shared_ptr<DECommand> Add(const std::string& name, bool flag) = 0;
};

} // namespace vbide

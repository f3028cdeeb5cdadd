// DEConnections: the connections of one Data Environment designer, in creation order.
#pragma once

#include "platform/variant.h"
#include "platform/vbide/DataEnvironment.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vbide {

class DEConnection;

class DEConnections : public vb::Object {
public:
    virtual int32_t Count() = 0;
    virtual std::shared_ptr<DEConnection> Item(int32_t index) = 0;           // 1-based; else raises 9
    virtual std::shared_ptr<DEConnection> Item(const std::string& name) = 0; // else raises 9
    virtual std::vector<std::shared_ptr<DEConnection>> items() = 0;
    // A new connection named name. flag is the designer's second Add argument (the add-in passes
    // False). An empty name raises 5; a name in use raises de::errObjectInCollection.
    virtual std::shared_ptr<DEConnection> Add(const std::string& name, bool flag) = 0;
};

} // namespace vbide

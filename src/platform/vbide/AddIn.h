// AddIn: the IDE's record of one connected add-in, handed to it at connection.
#pragma once

#include "platform/variant.h"

#include <string>

namespace vbide {

class AddIn : public vb::Object {
public:
    virtual std::string ProgId() = 0;
    virtual std::string Description() = 0;
    virtual bool Connect() = 0;  // True while the add-in is connected
};

} // namespace vbide

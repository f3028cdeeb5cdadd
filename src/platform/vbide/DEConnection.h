// DEConnection: one connection of a Data Environment designer.
#pragma once

#include "platform/variant.h"

#include <string>

namespace vbide {

class DEConnection : public vb::Object {
public:
    virtual std::string Name() = 0;
    virtual std::string ConnectionSource() = 0;  // the connection string
    virtual void setConnectionSource(const std::string& source) = 0;
};

} // namespace vbide

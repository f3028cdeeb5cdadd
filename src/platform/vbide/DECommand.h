// DECommand: one command of a Data Environment designer. The connection is kept by name and is not
// checked against the designer's connections.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <string>

namespace vbide {

class DECommand : public vb::Object {
public:
    virtual std::string Name() = 0;
    virtual int32_t CommandType() = 0;  // an ADO CommandTypeEnum value
    virtual void setCommandType(int32_t type) = 0;
    virtual std::string CommandText() = 0;
    virtual void setCommandText(const std::string& text) = 0;
    virtual std::string ConnectionName() = 0;
    virtual void setConnectionName(const std::string& name) = 0;
};

} // namespace vbide

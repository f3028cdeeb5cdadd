// VBProject: one project open in the IDE.
#pragma once

#include "platform/variant.h"

#include <memory>
#include <string>

namespace vbide {

class VBComponents;

class VBProject : public vb::Object {
public:
    virtual std::string Name() = 0;
    virtual std::string FileName() = 0;  // full path of the project file; "" while never saved
    virtual std::shared_ptr<vbide::VBComponents> VBComponents() = 0;
    // Add-in properties kept in the project file. ReadProperty raises 5 (invalid procedure call or
    // argument) when the project carries no such section and key.
    virtual std::string ReadProperty(const std::string& section, const std::string& key) = 0;
    virtual void WriteProperty(const std::string& section, const std::string& key, const std::string& value) = 0;
};

} // namespace vbide

// DataEnvironment: the Data Environment designer object, reached through VBComponent::Designer()
// of a component whose DesignerID is "DEDesigner.DataEnvironment".
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>

namespace vbide {

// Names of the designer's connections and commands are VB identifiers: they compare without regard
// to letter case.
namespace de {
// Raised by Add for a name the collection already holds (ADO's "already in collection" number).
constexpr int32_t errObjectInCollection = 3367;
} // namespace de

class DEConnections;
class DECommands;

class DataEnvironment : public vb::Object {
public:
    virtual std::shared_ptr<DEConnections> Connections() = 0;
    virtual std::shared_ptr<DECommands> Commands() = 0;
};

} // namespace vbide

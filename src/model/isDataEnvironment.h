// The one rule by which the add-in tells a Data Environment designer among a project's components.
#pragma once

#include "platform/vbide/VBComponent.h"

#include <memory>

namespace nimb {

// The designer's ProgID as the IDE reports it in VBComponent::DesignerID.
inline constexpr char dataEnvironmentDesignerID[] = "DEDesigner.DataEnvironment";

// True for an ActiveX designer (type 11) whose DesignerID is exactly dataEnvironmentDesignerID;
// letter case counts. Nothing raises 91.
bool isDataEnvironment(const std::shared_ptr<vbide::VBComponent>& component);

} // namespace nimb

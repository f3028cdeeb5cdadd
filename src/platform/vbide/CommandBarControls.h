// CommandBarControls: the controls of one command bar or popup, in display order.
#pragma once

#include "platform/variant.h"
#include "platform/vbide/Constants.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vbide {

class CommandBarControl;

// Add's optional arguments, named as Office names them:
//   popup->Controls()->Add({.Type = msoControlButton, .Temporary = true});
// Type is msoControlButton or msoControlPopup (others raise 5). Id absent makes a custom control
// (Id 1); Before is the 1-based position to insert at (absent: at the end; outside 1..Count + 1
// raises 5). A temporary control vanishes when the IDE's session ends.
struct ControlAddArgs {
    int32_t Type = msoControlButton;
    std::optional<int32_t> Id{};
    vb::Variant Parameter{};
    std::optional<int32_t> Before{};
    bool Temporary = false;
};

class CommandBarControls : public vb::Object {
public:
    virtual int32_t Count() = 0;
    virtual std::shared_ptr<CommandBarControl> Item(int32_t index) = 0;  // 1-based; else raises 5
    virtual std::vector<std::shared_ptr<CommandBarControl>> items() = 0;
    virtual std::shared_ptr<CommandBarControl> Add(const ControlAddArgs& args = {}) = 0;
};

} // namespace vbide

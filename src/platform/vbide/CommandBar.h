// CommandBar: one toolbar or menu bar (or the drop-down of a popup control).
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vbide {

class CommandBarControl;
class CommandBarControls;

// FindControl's optional arguments, named as Office names them:
//   bar->FindControl({.Id = idAddInsMenu});
// Only the criteria given are compared. Visible True looks at visible controls only; Recursive
// also searches the drop-downs of popup controls (depth first, in order).
struct FindControlArgs {
    std::optional<int32_t> Type{};
    std::optional<int32_t> Id{};
    std::optional<std::string> Tag{};
    bool Visible = false;
    bool Recursive = false;
};

class CommandBar : public vb::Object {
public:
    virtual std::string Name() = 0;
    virtual bool Visible() = 0;
    virtual void setVisible(bool visible) = 0;
    virtual int32_t Position() = 0;  // msoBar*
    virtual std::shared_ptr<CommandBarControls> Controls() = 0;
    // The first control matching every given criterion, or Nothing.
    virtual std::shared_ptr<CommandBarControl> FindControl(const FindControlArgs& args = {}) = 0;
    // Removes a custom bar and its controls; the IDE's own bars raise 5. Any use of a deleted bar
    // raises -2147467259 (the method failed).
    virtual void Delete() = 0;
};

} // namespace vbide

// ControlInspection: how a host that loaded the add-in module at run time finds the add-in's
// command-bar controls by their field names ("addInMenuItem", "velmoraToolbarButton" ...). The
// module exports no C++ symbols, so the host reaches this through a virtual call on the
// connection object it created: dynamic_cast<nimb::ControlInspection*>(object.get()).
#pragma once

#include <memory>
#include <string>

namespace vbide {
class CommandBarControl;
}

namespace nimb {

class ControlInspection {
public:
    virtual ~ControlInspection() = default;
    // The control in the field of that name; Nothing when there is no such field or it is empty.
    virtual std::shared_ptr<vbide::CommandBarControl> controlNamed(const std::string& field) const = 0;
};

} // namespace nimb

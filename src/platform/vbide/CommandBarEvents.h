// CommandBarEvents: the Click event of one command-bar control. The subscriber sets one handler
// (VB's WithEvents variable); the IDE raises the event when the control is clicked.
#pragma once

#include "platform/variant.h"

#include <functional>

namespace vbide {

class CommandBarEvents : public vb::Object {
public:
    // control is the clicked CommandBarControl; handled and cancelDefault start False and may be set.
    using ClickHandler = std::function<void(vb::Object& control, bool& handled, bool& cancelDefault)>;

    void onClick(ClickHandler handler) { click_ = std::move(handler); }
    void raiseClick(vb::Object& control, bool& handled, bool& cancelDefault);

private:
    ClickHandler click_;
};

} // namespace vbide

#include "platform/vbide/CommandBarEvents.h"

namespace vbide {

void CommandBarEvents::raiseClick(vb::Object& control, bool& handled, bool& cancelDefault) {
    if (click_) {
        click_(control, handled, cancelDefault);
    }
}

} // namespace vbide

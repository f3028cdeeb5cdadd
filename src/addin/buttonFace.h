// The face of a command-bar button: a bitmap resource of the add-in, taken through the system
// clipboard because PasteFace is the only way the IDE's command bars accept a picture. The
// clipboard keeps the last bitmap afterwards.
#pragma once

#include <cstdint>

namespace vbide {
class CommandBarControl;
}

namespace nimb {

void pasteButtonFace(vbide::CommandBarControl& control, int32_t bitmapId);

} // namespace nimb

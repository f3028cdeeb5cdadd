#include "addin/buttonFace.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/LoadResPicture.h"
#include "platform/vbide/CommandBarControl.h"

namespace nimb {

void pasteButtonFace(vbide::CommandBarControl& control, int32_t bitmapId) {
    ui::Clipboard::SetData(ui::LoadResPicture(bitmapId, ui::vbResBitmap));
    control.PasteFace();
}

} // namespace nimb

// Clipboard: the system clipboard as the VB runtime's Clipboard object sees it (pictures only; the
// add-in puts button faces there before PasteFace takes them).
#pragma once

#include "platform/ui/Picture.h"

namespace ui::Clipboard {

void SetData(PicturePtr picture);
PicturePtr GetData();  // empty when the clipboard holds no picture
void Clear();

} // namespace ui::Clipboard

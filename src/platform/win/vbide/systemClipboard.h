// The Windows clipboard as command-bar faces travel over it: Office's PasteFace takes a bitmap from
// it and CopyFace leaves one there, as a device-independent bitmap (CF_DIB).
#pragma once

#include "platform/ui/Picture.h"

namespace vbide::win {

// Puts a bitmap picture (its bytes a .bmp file) on the clipboard; other kinds of picture are not
// faces and leave the clipboard alone. A clipboard another program keeps open raises 521.
void putOnSystemClipboard(const ui::Picture& picture);
// The bitmap on the clipboard as a .bmp picture; empty when the clipboard holds none.
ui::PicturePtr pictureOnSystemClipboard();

} // namespace vbide::win

// The add-in's pictures: resources by number (LoadResPicture) and the pictures stored with its
// forms and controls at design time, by name (StoredPicture). Their sizes are read from the files.
//
//   bitmaps 100, 103, 105 ... 115   16 x 16, 256 colours (button faces)
//   bitmaps 101, 104, 106 ... 116   32 x 32, 256 colours
//   icon 117                        32 x 32 (the dialogs' window icon)
//   stored "Splash"                 396 x 355 GIF (splash screen and about box)
//   stored "WKFolder", "FilteredWKFolder", "ConnectedConnection", "DisconnectedConnection",
//          "StoredProcedure", "DirtyStoredProcedure", "UserFunction", "DirtyUserFunction",
//          "NimbTable", "Trigger", "NimbView"   20 x 20 GIFs (server view images)
#pragma once

#include "platform/ui/Picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

constexpr int32_t vbResBitmap = 0;
constexpr int32_t vbResIcon = 1;

// An id (or kind) without such a resource raises error 326 "Resource with identifier not found".
PicturePtr LoadResPicture(int32_t id, int32_t kind);
// A name without such a picture raises error 326 as well.
PicturePtr StoredPicture(const std::string& name);
// The names StoredPicture knows.
std::vector<std::string> storedPictureNames();

} // namespace ui

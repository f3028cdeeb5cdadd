#include "platform/ui/UserSurface.h"

#include "platform/ui/Menu.h"
#include "platform/ui/User.h"

namespace ui {

void UserSurface::PopupMenu(Menu& menu, int32_t flags, int32_t x, int32_t y) {
    (void)flags;  // alignment flags only move the menu on screen
    Menu* chosen = User::current()->popupMenu(menu, x, y);
    if (chosen != nullptr && chosen->choosableIn(menu)) chosen->click();
}

} // namespace ui

// UserSurface: what a user control and a user document share - a surface placed by its host, whose
// extender Width and Height the host sets (each change runs the Resize hook), with mouse events of
// its own, a mouse pointer and popup menus. UserControl and UserDocument name the hooks.
#pragma once

#include "platform/ui/Container.h"
#include "platform/ui/Control.h"

#include <cstdint>

namespace ui {

class Menu;

// MousePointer values, as the VB runtime numbers them.
constexpr int16_t vbDefault = 0;
constexpr int16_t vbSizeWE = 9;

class UserSurface : public Control, public Container {
public:
    using Control::Control;

    // The inner size equals the extender size: no border, twips as the scale unit.
    int32_t ScaleWidth() const { return Width(); }
    int32_t ScaleHeight() const { return Height(); }

    int16_t MousePointer() const { return mousePointer_; }
    void setMousePointer(int16_t pointer) { mousePointer_ = pointer; }

    // Shows menu as a context menu at (x, y) in this surface's twips; ui::User picks an item (or
    // none), and the picked item's Click runs before PopupMenu returns. An item that is disabled,
    // hidden, a separator, or not inside menu is never clicked.
    void PopupMenu(Menu& menu, int32_t flags = 0, int32_t x = 0, int32_t y = 0);

    // The host or a person acting on the surface itself (not on a child control).
    void mouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) { raiseMouseDown(button, shift, x, y); }
    void mouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) { raiseMouseMove(button, shift, x, y); }
    void mouseUp(int16_t button, int16_t shift, int32_t x, int32_t y) { raiseMouseUp(button, shift, x, y); }

    Control& self() override { return *this; }

protected:
    void sizeChanged() override {
        if (initialized()) raiseResize();
    }

private:
    virtual void raiseResize() = 0;
    virtual void raiseMouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) = 0;
    virtual void raiseMouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) = 0;
    virtual void raiseMouseUp(int16_t button, int16_t shift, int32_t x, int32_t y) = 0;

    int16_t mousePointer_ = vbDefault;
};

} // namespace ui

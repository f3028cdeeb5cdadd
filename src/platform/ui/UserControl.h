// UserControl: an ActiveX user control. Derived controls create their constituent controls and
// menus in the constructor and override the hooks; make them with ui::New so that Initialize and
// Terminate run.
#pragma once

#include "platform/ui/UserSurface.h"

namespace ui {

class UserControl : public UserSurface {
public:
    using UserSurface::UserSurface;

protected:
    virtual void UserControl_Initialize() {}
    virtual void UserControl_Resize() {}
    virtual void UserControl_Terminate() {}
    virtual void UserControl_MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void UserControl_MouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void UserControl_MouseUp(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button, (void)shift, (void)x, (void)y; }

private:
    void raiseInitialize() override { UserControl_Initialize(); }
    void raiseTerminate() override { UserControl_Terminate(); }
    void raiseResize() override { UserControl_Resize(); }
    void raiseMouseDown(int16_t b, int16_t s, int32_t x, int32_t y) override { UserControl_MouseDown(b, s, x, y); }
    void raiseMouseMove(int16_t b, int16_t s, int32_t x, int32_t y) override { UserControl_MouseMove(b, s, x, y); }
    void raiseMouseUp(int16_t b, int16_t s, int32_t x, int32_t y) override { UserControl_MouseUp(b, s, x, y); }
};

} // namespace ui

// UserDocument: an ActiveX user document, the content of a tool window. Same mechanics as a user
// control under the document's own hook names.
#pragma once

#include "platform/ui/UserSurface.h"

namespace ui {

class UserDocument : public UserSurface {
public:
    using UserSurface::UserSurface;

protected:
    virtual void UserDocument_Initialize() {}
    virtual void UserDocument_Resize() {}
    virtual void UserDocument_Terminate() {}
    virtual void UserDocument_MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void UserDocument_MouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void UserDocument_MouseUp(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button, (void)shift, (void)x, (void)y; }

private:
    void raiseInitialize() override { UserDocument_Initialize(); }
    void raiseTerminate() override { UserDocument_Terminate(); }
    void raiseResize() override { UserDocument_Resize(); }
    void raiseMouseDown(int16_t b, int16_t s, int32_t x, int32_t y) override { UserDocument_MouseDown(b, s, x, y); }
    void raiseMouseMove(int16_t b, int16_t s, int32_t x, int32_t y) override { UserDocument_MouseMove(b, s, x, y); }
    void raiseMouseUp(int16_t b, int16_t s, int32_t x, int32_t y) override { UserDocument_MouseUp(b, s, x, y); }
};

} // namespace ui

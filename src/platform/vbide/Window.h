// Window: an IDE window (the main window, a code window, an add-in's tool window).
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <string>

namespace vbide {

class Window : public vb::Object {
public:
    virtual std::string Caption() = 0;
    virtual bool Visible() = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void SetFocus() = 0;
    virtual int32_t WindowState() = 0;  // vbext_ws_Normal 0, vbext_ws_Minimize 1, vbext_ws_Maximize 2
    virtual void setWindowState(int32_t state) = 0;  // another value raises 380 (invalid property value)
    virtual int32_t Width() = 0;        // twips
    virtual void setWidth(int32_t width) = 0;
    virtual int32_t Height() = 0;
    virtual void setHeight(int32_t height) = 0;
};

} // namespace vbide

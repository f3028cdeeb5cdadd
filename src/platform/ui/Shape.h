// Shape: a drawn figure with no window of its own; mouse events over it go to its container.
#pragma once

#include "platform/ui/Control.h"

#include <cstdint>

namespace ui {

constexpr int16_t vbShapeRectangle = 0;

class Shape : public Control {
public:
    int16_t shapeKind() const { return shape_; }  // VB's Shape property
    void setShapeKind(int16_t v) { shape_ = v; }
    int32_t BackColor() const { return backColor_; }
    void setBackColor(int32_t rgb) { backColor_ = rgb; }

private:
    int16_t shape_ = vbShapeRectangle;
    int32_t backColor_ = 0x8000000F;  // the system's button face colour
};

} // namespace ui

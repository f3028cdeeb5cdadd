// Dpi: twips (1440 an inch, the widget model's unit) to the screen's pixels and back, by the
// screen's logical pixels per inch as the VB runtime's TwipsPerPixelX/Y would give them.
// This file holds only Win32 code.
#pragma once

#include <cstdint>

namespace winui {

class Dpi {
public:
    // The screen's logical DPI, read once per call.
    static Dpi screen();
    Dpi(int32_t x, int32_t y) : x_(x), y_(y) {}

    int32_t x() const { return x_; }
    int32_t y() const { return y_; }
    int32_t pixelsX(int32_t twips) const { return scale(twips, x_, 1440); }
    int32_t pixelsY(int32_t twips) const { return scale(twips, y_, 1440); }
    int32_t twipsX(int32_t pixels) const { return scale(pixels, 1440, x_); }
    int32_t twipsY(int32_t pixels) const { return scale(pixels, 1440, y_); }

private:
    // value * num / den rounded to nearest, in 64 bits: no overflow at any twips value.
    static int32_t scale(int32_t value, int32_t num, int32_t den);

    int32_t x_;
    int32_t y_;
};

} // namespace winui

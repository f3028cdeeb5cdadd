// This file holds only Win32 code.
#include "platform/win/ui/Dpi.h"

#include <windows.h>

namespace winui {

Dpi Dpi::screen() {
    HDC dc = GetDC(nullptr);
    const int x = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    const int y = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return Dpi(x > 0 ? x : 96, y > 0 ? y : 96);
}

int32_t Dpi::scale(int32_t value, int32_t num, int32_t den) {
    const int64_t product = static_cast<int64_t>(value) * num;
    const int64_t half = den / 2;
    return static_cast<int32_t>(product >= 0 ? (product + half) / den : -((-product + half) / den));
}

} // namespace winui

// Font: what a form or control's Font object holds that the add-in reads and sets.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

struct Font {
    std::string Name = "MS Sans Serif";
    float Size = 8.25f;  // points
    int16_t Charset = 0;
    bool Bold = false;

    bool operator==(const Font&) const = default;
};

} // namespace ui

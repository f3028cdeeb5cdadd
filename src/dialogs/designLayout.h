// What the dialogs share when they lay out their controls: the icon their title bars carry, and a
// control placed (in twips) and captioned in the expression that adds it.
#pragma once

#include <cstdint>
#include <memory>

namespace nimb::designLayout {

// The resource icon of the add-in's dialogs.
constexpr int32_t dialogIcon = 117;

template <class T>
std::shared_ptr<T> place(std::shared_ptr<T> control, int32_t left, int32_t top, int32_t width, int32_t height) {
    control->Move(left, top, width, height);
    return control;
}

template <class T>
std::shared_ptr<T> captioned(std::shared_ptr<T> control, const char* caption) {
    control->setCaption(caption);
    return control;
}

} // namespace nimb::designLayout

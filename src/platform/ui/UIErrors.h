// Runtime error numbers that the forms, the common controls and the resource loader raise, as the
// VB runtime and the common controls number them (the general ones live in platform/error.h).
#pragma once

#include <cstdint>

namespace ui::err {
constexpr int32_t ResourceNotFound = 326;        // "Resource with identifier not found"
constexpr int32_t FormAlreadyDisplayed = 400;    // "Form already displayed; can't show modally"
constexpr int32_t InvalidPicture = 481;          // "Invalid picture"
constexpr int32_t InvalidArrayIndex = 381;        // "Invalid property array index"
constexpr int32_t TextReadOnly = 383;            // "'Text' property is read-only"
constexpr int32_t IndexOutOfBounds = 35600;      // "Index out of bounds"
constexpr int32_t InvalidKey = 35603;            // "Invalid key"
constexpr int32_t ImageListNotInitialized = 35613;  // "ImageList must be initialized before it can be used"
} // namespace ui::err

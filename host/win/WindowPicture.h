// WindowPicture: what the screen shows in a rectangle, written as a PNG through WIC. The pixels are
// read from the screen, not asked of the windows (PrintWindow): under Wine a window printed that way
// leaves its child controls out, and the screen shows what a person sees, overlapping windows
// included. This file holds only Win32 code.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace host {

// The rectangle's pixels (screen coordinates, clipped to the screen) as a 24-bit PNG at file.
// Returns the picture's size as "WIDTHxHEIGHT"; HostError when the screen cannot be read or the
// file not written.
std::string writeScreenPicture(const RECT& area, const std::filesystem::path& file);

// The rectangle a window covers on the screen.
RECT screenRectOf(HWND window);

} // namespace host

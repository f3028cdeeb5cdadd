// MsgBox: the VB runtime's message box. The answer comes from the person through ui::User.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

// Style bits and results, as the VB runtime numbers them.
namespace mb {
constexpr int32_t OKOnly = 0;
constexpr int32_t YesNoCancel = 3;
constexpr int32_t YesNo = 4;
constexpr int32_t Critical = 16;
constexpr int32_t Question = 32;
constexpr int32_t Exclamation = 48;
constexpr int32_t Information = 64;
constexpr int32_t OK = 1;
constexpr int32_t Cancel = 2;
constexpr int32_t Yes = 6;
constexpr int32_t No = 7;
} // namespace mb

// Shows prompt with the given style and title (empty: the default title) and returns the result
// number of the button the person pressed.
int32_t MsgBox(const std::string& prompt, int32_t style = mb::OKOnly, const std::string& title = {});

} // namespace ui

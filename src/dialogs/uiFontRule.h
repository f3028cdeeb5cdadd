// The rule every form of the add-in follows when it loads: when its font differs from the add-in's
// user-interface font (wkutil's uiFontName and uiFontSize), the form and the listed controls take
// that font; otherwise nothing is touched, so a form already in that font keeps its own settings.
#pragma once

#include "platform/ui/Control.h"

#include <initializer_list>

namespace nimb {

// Returns true when the fonts were changed.
bool applyUIFont(ui::Control& form, std::initializer_list<ui::Control*> controls);

} // namespace nimb

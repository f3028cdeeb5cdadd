#include "dialogs/uiFontRule.h"

#include "engine/wkutil.h"

namespace nimb {

namespace {

void setNameAndSize(ui::Control& control) {
    ui::Font f = control.Font();
    f.Name = wkutil::uiFontName();
    f.Size = static_cast<float>(wkutil::uiFontSize());
    control.setFont(f);
}

} // namespace

bool applyUIFont(ui::Control& form, std::initializer_list<ui::Control*> controls) {
    const ui::Font& current = form.Font();
    if (current.Name == wkutil::uiFontName() && current.Size == static_cast<float>(wkutil::uiFontSize())) {
        return false;
    }
    setNameAndSize(form);
    for (ui::Control* control : controls) {
        setNameAndSize(*control);
    }
    return true;
}

} // namespace nimb

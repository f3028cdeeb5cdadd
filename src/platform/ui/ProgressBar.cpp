#include "platform/ui/ProgressBar.h"

#include "platform/error.h"

#include <algorithm>

namespace ui {

namespace {
[[noreturn]] void invalidValue() { throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value"); }
} // namespace

void ProgressBar::setMin(float v) {
    if (!(v < max_)) invalidValue();
    min_ = v;
    value_ = std::max(value_, min_);
    notify(Aspect::Value);
}

void ProgressBar::setMax(float v) {
    if (!(v > min_)) invalidValue();
    max_ = v;
    value_ = std::min(value_, max_);
    notify(Aspect::Value);
}

void ProgressBar::setValue(float v) {
    if (!(v >= min_ && v <= max_)) invalidValue();  // also refuses NaN
    value_ = v;
    notify(Aspect::Value);
}

} // namespace ui

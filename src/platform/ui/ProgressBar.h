// ProgressBar: a bar from Min to Max showing Value. A value outside [Min, Max] and a range with
// Min >= Max raise error 380 "Invalid property value"; narrowing the range pulls Value inside it.
#pragma once

#include "platform/ui/Control.h"

namespace ui {

class ProgressBar : public Control {
public:
    float Min() const { return min_; }
    float Max() const { return max_; }
    float Value() const { return value_; }
    void setMin(float v);
    void setMax(float v);
    void setValue(float v);

private:
    float min_ = 0;
    float max_ = 100;
    float value_ = 0;
};

} // namespace ui

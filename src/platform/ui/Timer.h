// Timer: runs onTimer every Interval milliseconds of ui::EventLoop's virtual time while Enabled,
// while Interval > 0 and while the form it sits on is loaded. Setting Enabled or Interval starts
// the countdown afresh, as does loading its form.
#pragma once

#include "platform/ui/Control.h"

#include <cstdint>
#include <functional>

namespace ui {

class Timer : public Control {
public:
    Timer();
    ~Timer() override;

    int32_t Interval() const { return interval_; }
    // Negative intervals raise error 380.
    void setInterval(int32_t ms);

    // Whether the timer would fire now (enabled, interval set, its form loaded).
    bool running() const;
    // Restarts the countdown from the current virtual time.
    void restart();

    std::function<void()> onTimer;

protected:
    void enabledChanged() override { restart(); }

private:
    int32_t interval_ = 0;
};

} // namespace ui

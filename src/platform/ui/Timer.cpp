#include "platform/ui/Timer.h"

#include "platform/error.h"
#include "platform/ui/Container.h"
#include "platform/ui/EventLoop.h"

namespace ui {

Timer::Timer() {
    setVisible(false);  // a timer has no appearance at run time
    EventLoop::add(*this);
}

Timer::~Timer() { EventLoop::remove(*this); }

void Timer::setInterval(int32_t ms) {
    if (ms < 0) throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value");
    interval_ = ms;
    restart();
}

bool Timer::running() const {
    return Enabled() && interval_ > 0 && (container() == nullptr || container()->isLive());
}

void Timer::restart() { EventLoop::restart(*this); }

} // namespace ui

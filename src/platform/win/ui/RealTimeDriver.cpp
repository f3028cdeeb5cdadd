// This file holds only Win32 code.
#include "platform/win/ui/RealTimeDriver.h"

#include "platform/errorhandling.h"
#include "platform/ui/EventLoop.h"

#include <algorithm>
#include <map>

namespace winui {

namespace {
// Each driver's clock reading at its last tick, by timer id (thread timers carry no user data).
std::map<UINT_PTR, ULONGLONG>& lastTicks() {
    static std::map<UINT_PTR, ULONGLONG> ticks;
    return ticks;
}
bool advancing = false;
constexpr int64_t kLongestStep = 1000;
} // namespace

RealTimeDriver::RealTimeDriver(uint32_t periodMs) {
    timer_ = SetTimer(nullptr, 0, periodMs, &onTimer);
    if (timer_ != 0) lastTicks()[timer_] = GetTickCount64();
}

RealTimeDriver::~RealTimeDriver() {
    if (timer_ == 0) return;
    KillTimer(nullptr, timer_);
    lastTicks().erase(timer_);
}

void CALLBACK RealTimeDriver::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = lastTicks().find(id);
    // A tick that shows a message box runs a nested loop that delivers this timer again: the
    // virtual loop is not re-entered then, as the runtime does not re-enter a busy Timer event.
    if (it == lastTicks().end() || advancing) return;
    const ULONGLONG now = GetTickCount64();
    // Windows coalesces timer messages and so does the runtime's Timer: time lost in a long modal
    // wait is not made up for with a burst of ticks.
    const auto elapsed = std::min<int64_t>(static_cast<int64_t>(now - it->second), kLongestStep);
    it->second = now;
    advancing = true;
    vb::silently([&] { ui::EventLoop::advance(elapsed); });
    advancing = false;
}

} // namespace winui

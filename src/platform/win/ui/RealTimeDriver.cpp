// This file holds only Win32 code.
#include "platform/win/ui/RealTimeDriver.h"

#include "platform/errorhandling.h"
#include "platform/ui/EventLoop.h"
#include "platform/win/ui/ModuleInstance.h"

#include <algorithm>

namespace winui {

namespace {
constexpr wchar_t kClockClass[] = L"NimbClock";
constexpr UINT_PTR kTimerId = 1;
constexpr int64_t kLongestStep = 1000;
} // namespace

RealTimeDriver::RealTimeDriver(uint32_t periodMs) {
    WNDCLASSEXW clock{};
    clock.cbSize = sizeof(clock);
    clock.lpfnWndProc = &windowProc;
    clock.hInstance = moduleInstance();
    clock.lpszClassName = kClockClass;
    RegisterClassExW(&clock);  // fails harmlessly while another driver of this module has it
    window_ = CreateWindowExW(0, kClockClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, moduleInstance(), nullptr);
    if (window_ == nullptr) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (SetTimer(window_, kTimerId, periodMs, nullptr) == 0) {
        DestroyWindow(window_);
        window_ = nullptr;
        return;
    }
    lastTick_ = GetTickCount64();
    ui::EventLoop::setDriven(true);
}

RealTimeDriver::~RealTimeDriver() {
    if (window_ == nullptr) return;
    KillTimer(window_, kTimerId);
    DestroyWindow(window_);
    UnregisterClassW(kClockClass, moduleInstance());  // refused while another driver's window has it
    ui::EventLoop::setDriven(false);
}

LRESULT CALLBACK RealTimeDriver::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* driver = reinterpret_cast<RealTimeDriver*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_TIMER && wParam == kTimerId && driver != nullptr) {
        driver->tick();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RealTimeDriver::tick() {
    // A tick that shows a message box runs a nested loop that delivers this timer again: the
    // virtual loop is not re-entered then, as the runtime does not re-enter a busy Timer event.
    if (advancing_) return;
    const ULONGLONG now = GetTickCount64();
    // Windows coalesces timer messages and so does the runtime's Timer: time lost in a long modal
    // wait is not made up for with a burst of ticks.
    const auto elapsed = std::min<int64_t>(static_cast<int64_t>(now - lastTick_), kLongestStep);
    lastTick_ = now;
    advancing_ = true;
    vb::silently([&] { ui::EventLoop::advance(elapsed); });
    advancing_ = false;
}

} // namespace winui

// RealTimeDriver: ui::EventLoop's virtual time driven by the clock. A timer of a message-only
// window of the driver's own, on the calling (the IDE's) thread, advances the loop by the
// milliseconds really gone, so the add-in's notification poll ticks as it would under the VB
// runtime. While a driver lives the loop counts as driven; destroying it kills the timer with its
// window, so nothing calls into the module afterwards. Tests keep advancing virtual time by hand.
// This file holds only Win32 code.
#pragma once

#include <windows.h>

#include <cstdint>

namespace winui {

class RealTimeDriver {
public:
    // Ticks every periodMs (the shortest timer interval the program uses is a good choice).
    explicit RealTimeDriver(uint32_t periodMs = 50);
    ~RealTimeDriver();
    RealTimeDriver(const RealTimeDriver&) = delete;
    RealTimeDriver& operator=(const RealTimeDriver&) = delete;

    bool running() const { return window_ != nullptr; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void tick();

    HWND window_ = nullptr;
    ULONGLONG lastTick_ = 0;
    bool advancing_ = false;
};

} // namespace winui

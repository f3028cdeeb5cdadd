// RealTimeDriver: ui::EventLoop's virtual time driven by the clock. A timer on the calling (the
// IDE's) thread advances the loop by the milliseconds really gone, so the add-in's notification
// poll ticks as it would under the VB runtime; tests keep advancing virtual time by hand.
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

    bool running() const { return timer_ != 0; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD now);

    UINT_PTR timer_ = 0;
};

} // namespace winui

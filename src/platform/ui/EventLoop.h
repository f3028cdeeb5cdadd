// EventLoop: virtual time. Timers fire only while the loop is advanced, each in its own phase:
// a 100 ms timer enabled at t fires at t+100, t+200 ... so advancing by 100 ms gives exactly one
// tick. Within one advance, ticks run in time order (equal times in order of creation). A tick
// that shows a message box or a modal form does not tick again meanwhile unless the person's
// script itself advances time (a nested advance, as VB's modal loop would let timers run).
// Disabled timers, timers of unloaded forms and destroyed timers do not fire; a timer may be
// destroyed, disabled or re-timed inside its own tick.
#pragma once

#include <cstdint>

namespace ui {

class Timer;

class EventLoop {
public:
    // Virtual milliseconds since the start (or the last reset).
    static int64_t now();
    // Runs every tick due up to now() + ms, then leaves the clock at now() + ms.
    static void advance(int64_t ms);
    // Time zero, every timer's countdown restarted (for a fresh test).
    static void reset();

    // Whether something moves time on: a host or test that advances it by hand, or a real-time
    // clock. A module that finds nothing doing so when it is connected starts a clock of its own.
    static bool driven();
    static void setDriven(bool driven);

    // Used by Timer.
    static void add(Timer& timer);
    static void remove(Timer& timer);
    static void restart(Timer& timer);
};

} // namespace ui

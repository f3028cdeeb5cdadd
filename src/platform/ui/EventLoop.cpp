#include "platform/ui/EventLoop.h"

#include "platform/ui/Timer.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {
struct Entry {
    Timer* timer;
    int64_t due;
};
struct State {
    int64_t now = 0;
    bool driven = false;
    std::vector<Entry> timers;  // in order of creation: the tie-break between equal due times
};
State& state() {
    static State s;
    return s;
}
Entry* entryOf(Timer& timer) {
    for (auto& e : state().timers)
        if (e.timer == &timer) return &e;
    return nullptr;
}
// The running timer due first at or before limit.
Entry* nextDue(int64_t limit) {
    Entry* best = nullptr;
    for (auto& e : state().timers)
        if (e.timer->running() && e.due <= limit && (best == nullptr || e.due < best->due)) best = &e;
    return best;
}
} // namespace

int64_t EventLoop::now() { return state().now; }

void EventLoop::advance(int64_t ms) {
    auto& s = state();
    const int64_t target = s.now + std::max<int64_t>(ms, 0);
    while (Entry* e = nextDue(target)) {
        Timer& timer = *e->timer;
        s.now = std::max(s.now, e->due);
        e->due = s.now + timer.Interval();
        // The handler may destroy the timer or add timers (which moves entries): nothing here
        // touches the timer or the entry after this call.
        raise(timer.onTimer);
    }
    s.now = std::max(s.now, target);
}

void EventLoop::reset() {
    auto& s = state();
    s.now = 0;
    for (auto& e : s.timers) e.due = e.timer->Interval();
}

bool EventLoop::driven() { return state().driven; }

void EventLoop::setDriven(bool driven) { state().driven = driven; }

void EventLoop::add(Timer& timer) { state().timers.push_back({&timer, state().now + timer.Interval()}); }

void EventLoop::remove(Timer& timer) {
    std::erase_if(state().timers, [&](const Entry& e) { return e.timer == &timer; });
}

void EventLoop::restart(Timer& timer) {
    if (Entry* e = entryOf(timer)) e->due = state().now + timer.Interval();
}

} // namespace ui

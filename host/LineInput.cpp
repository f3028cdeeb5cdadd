#include "LineInput.h"

#include <chrono>

namespace host {

namespace {

constexpr int tickMilliseconds = 100;

}  // namespace

std::optional<std::string> LineInput::next(const std::function<void(int64_t)>& idle) {
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    while (!source_->ready(tickMilliseconds)) {
        auto now = Clock::now();
        idle(std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count());
        last = now;
    }
    return source_->take();
}

}  // namespace host

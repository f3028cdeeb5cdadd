#include "LineInput.h"

#include <chrono>
#include <iostream>

#ifndef _WIN32
#include <poll.h>
#include <unistd.h>
#endif

namespace host {

namespace {

constexpr int tickMilliseconds = 100;

// Whether a line can be read without waiting longer than ms (false: the time went by first). Only
// the standard input is watched; on Windows the shell reads it blocking, its clock still by hand.
bool readable(std::istream& in, int ms) {
#ifdef _WIN32
    (void)ms;
    (void)in;
    return true;
#else
    if (&in != &std::cin || in.rdbuf()->in_avail() > 0) return true;
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    return poll(&fd, 1, ms) != 0;  // an error or the end of the input: let the read find out
#endif
}

}  // namespace

std::optional<std::string> LineInput::next(const std::function<void(int64_t)>& idle) {
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    while (!readable(in_, tickMilliseconds)) {
        auto now = Clock::now();
        idle(std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count());
        last = now;
    }
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    return line;
}

}  // namespace host

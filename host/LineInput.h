// LineInput: the lines a person types into the shell. While none has come, the time really passing
// is handed on (about every 100 ms), so the add-in's timers run by themselves and the engine's
// answers appear without anyone typing. A line already typed or piped is taken at once: input that
// does not pause never lets time pass between two lines.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>

namespace host {

class LineInput {
public:
    explicit LineInput(std::istream& in) : in_(in) {}

    // The next line, or nullopt at the end of the input; idle(ms) is called with the milliseconds
    // gone each time the wait for it lasted a tick.
    std::optional<std::string> next(const std::function<void(int64_t)>& idle);

private:
    std::istream& in_;
};

} // namespace host

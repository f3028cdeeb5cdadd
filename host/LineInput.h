// LineInput: the lines a person types into the shell, commands and answers alike. While none has
// come, the time really passing is handed on (about every 100 ms), so the add-in's timers run by
// themselves and the engine's answers appear without anyone typing. A line already typed or piped
// is taken at once: input that does not pause never lets time pass between two lines.
#pragma once

#include "LineSource.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace host {

class LineInput {
public:
    explicit LineInput(std::istream& in) : source_(lineSourceFor(in)) {}

    // The next line, or nullopt at the end of the input; idle(ms) is called with the milliseconds
    // gone each time the wait for it lasted a tick.
    std::optional<std::string> next(const std::function<void(int64_t)>& idle);
    // The next line, time standing still meanwhile (a question the person must answer first).
    std::optional<std::string> next() { return source_->take(); }

private:
    std::unique_ptr<LineSource> source_;
};

} // namespace host

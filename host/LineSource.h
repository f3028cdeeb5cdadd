// LineSource: where the shell's lines come from, so that the clock can run while none has come.
// The standard input is watched the platform's way (host/PolledInput.cpp,
// host/win/ReaderThreadInput.cpp); any other stream is read as it comes, every line there at once.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace host {

class LineSource {
public:
    virtual ~LineSource() = default;
    // Whether a line (or the end of the input) can be taken at once, after waiting at most ms.
    virtual bool ready(int ms) = 0;
    // The next line, waiting for it; nullopt at the end of the input.
    virtual std::optional<std::string> take() = 0;
};

class StreamLines : public LineSource {
public:
    explicit StreamLines(std::istream& in) : in_(in) {}
    bool ready(int) override { return true; }
    std::optional<std::string> take() override {
        std::string line;
        if (!std::getline(in_, line)) return std::nullopt;
        return line;
    }

private:
    std::istream& in_;
};

// The source for in: the watched standard input when in is std::cin, otherwise StreamLines.
std::unique_ptr<LineSource> lineSourceFor(std::istream& in);

} // namespace host

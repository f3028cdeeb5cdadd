// The standard input watched with poll(): the shell reads it itself once a line is there.
#include "LineSource.h"

#include <iostream>

#include <poll.h>
#include <unistd.h>

namespace host {

namespace {

class PolledLines : public StreamLines {
public:
    PolledLines() : StreamLines(std::cin) {}
    // What the stream has read ahead counts; otherwise the descriptor is asked. An error or the
    // end of the input counts as ready: the read finds out which.
    bool ready(int ms) override {
        if (std::cin.rdbuf()->in_avail() > 0) return true;
        pollfd fd{STDIN_FILENO, POLLIN, 0};
        return poll(&fd, 1, ms) != 0;
    }
};

}  // namespace

std::unique_ptr<LineSource> lineSourceFor(std::istream& in) {
    if (&in == &std::cin) return std::make_unique<PolledLines>();
    return std::make_unique<StreamLines>(in);
}

}  // namespace host

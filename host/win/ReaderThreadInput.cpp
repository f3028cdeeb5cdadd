// The standard input on Windows, read by a thread of its own that hands whole lines over. Neither
// a console nor a pipe can be waited on alike (a console's handle is signalled by any input event,
// a key half a line long too; a pipe's handle never), so the thread reads the handle itself with
// ReadFile, blocking, and the shell waits on the lines it has handed over, with a timeout. It reads
// the handle and not the C runtime's stream: a thread blocked inside the runtime holds that stream's
// lock, which the runtime takes again at exit.
#include "LineSource.h"

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <iostream>
#include <mutex>
#include <thread>

namespace host {

namespace {

// What the reader thread and the shell share; the thread holds it for as long as it runs.
struct Handover {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::string> lines;
    bool ended = false;

    void hand(std::string line) {
        // A line typed in a console or written on Windows ends in CR LF.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::lock_guard lock(mutex);
        lines.push_back(std::move(line));
        changed.notify_all();
    }
    void end() {
        std::lock_guard lock(mutex);
        ended = true;
        changed.notify_all();
    }
};

void readAll(HANDLE input, Handover& handover) {
    std::string line;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            if (buffer[i] != '\n') {
                line += buffer[i];
                continue;
            }
            // Ctrl+Z at the start of a console line ends the input, as it does for the C runtime.
            if (line.rfind('\x1a', 0) == 0) return handover.end();
            handover.hand(std::move(line));
            line.clear();
        }
    }
    if (!line.empty() && line[0] != '\x1a') handover.hand(std::move(line));
    handover.end();
}

class ReaderThreadLines : public LineSource {
public:
    ReaderThreadLines() : handover_(std::make_shared<Handover>()) {
        // The thread cannot be stopped inside ReadFile on every kind of handle, so it is not
        // joined: it owns what it touches, and the process ends it at exit.
        std::thread([handover = handover_, input = GetStdHandle(STD_INPUT_HANDLE)] {
            readAll(input, *handover);
        }).detach();
    }

    bool ready(int ms) override {
        std::unique_lock lock(handover_->mutex);
        return handover_->changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return arrived(); });
    }

    std::optional<std::string> take() override {
        std::unique_lock lock(handover_->mutex);
        handover_->changed.wait(lock, [&] { return arrived(); });
        if (handover_->lines.empty()) return std::nullopt;
        std::string line = std::move(handover_->lines.front());
        handover_->lines.pop_front();
        return line;
    }

private:
    bool arrived() const { return !handover_->lines.empty() || handover_->ended; }

    std::shared_ptr<Handover> handover_;
};

}  // namespace

std::unique_ptr<LineSource> lineSourceFor(std::istream& in) {
    if (&in == &std::cin) return std::make_unique<ReaderThreadLines>();
    return std::make_unique<StreamLines>(in);
}

}  // namespace host

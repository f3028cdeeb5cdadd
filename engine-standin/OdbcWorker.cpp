#include "OdbcWorker.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace standin {

namespace {

// Beyond the driver's own timeout, so that a driver that keeps it answers first with its message.
constexpr std::chrono::milliseconds driverGrace{2000};
// After the cancel, for a driver that can still stop the call itself.
constexpr std::chrono::milliseconds cancelGrace{1000};

// A thread given up runs this library's code again when its call returns, so the library stays
// loaded from then on, whoever unloads it.
void keepLoaded() {
    static const bool kept = [] {
#ifdef _WIN32
        HMODULE self = nullptr;
        return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                  reinterpret_cast<LPCSTR>(&keepLoaded), &self) != 0;
#else
        Dl_info self{};
        return dladdr(reinterpret_cast<void*>(&keepLoaded), &self) && self.dli_fname &&
               dlopen(self.dli_fname, RTLD_NOW | RTLD_NODELETE) != nullptr;
#endif
    }();
    (void)kept;
}

struct Ticket {
    bool done = false;
    std::exception_ptr error;
};

} // namespace

struct OdbcWorker::Channel {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::pair<std::function<void()>, std::shared_ptr<Ticket>>> jobs;
    bool stop = false;
    bool finished = false;

    void serve() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || !jobs.empty(); });
            if (jobs.empty())
                break;
            auto [job, ticket] = std::move(jobs.front());
            jobs.pop_front();
            lock.unlock();
            std::exception_ptr error;
            try {
                job();
            } catch (...) {
                error = std::current_exception();
            }
            job = nullptr; // what it held goes before the caller hears it is done
            lock.lock();
            ticket->done = true;
            ticket->error = error;
            changed.notify_all();
        }
        finished = true;
        changed.notify_all();
    }
};

OdbcWorker::OdbcWorker(int timeout)
    : channel_(std::make_shared<Channel>()), timeout_(timeout),
      bound_(std::chrono::seconds(timeout) + driverGrace) {
    // The thread shares the channel, so a thread given up outlives this object safely.
    std::thread([channel = channel_] { channel->serve(); }).detach();
}

OdbcWorker::~OdbcWorker() {
    std::unique_lock lock(channel_->mutex);
    channel_->stop = true;
    channel_->changed.notify_all();
    if (!givenUp_)
        channel_->changed.wait_for(lock, cancelGrace, [&] { return channel_->finished; });
}

void OdbcWorker::ensureAnswering() const {
    if (givenUp_)
        throw OdbcTimeout(timeout_);
}

void OdbcWorker::run(std::function<void()> job, std::function<void()> cancel) {
    ensureAnswering();
    auto ticket = std::make_shared<Ticket>();
    std::unique_lock lock(channel_->mutex);
    channel_->jobs.emplace_back(std::move(job), ticket);
    channel_->changed.notify_all();
    auto done = [&] { return ticket->done; };
    if (!channel_->changed.wait_for(lock, bound_, done)) {
        if (cancel)
            std::thread(std::move(cancel)).detach();
        if (!channel_->changed.wait_for(lock, cancelGrace, done)) {
            givenUp_ = true;
            keepLoaded();
            throw OdbcTimeout(timeout_);
        }
    }
    if (ticket->error)
        std::rethrow_exception(ticket->error);
}

} // namespace standin

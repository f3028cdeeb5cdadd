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

// How often a waiting caller looks whether its work was called off.
constexpr std::chrono::milliseconds callOffCheck{50};

thread_local OdbcWaiter* currentWaiter = nullptr;

} // namespace

OdbcWaitScope::OdbcWaitScope(OdbcWaiter& waiter) : previous_(currentWaiter) {
    currentWaiter = &waiter;
}

OdbcWaitScope::~OdbcWaitScope() {
    currentWaiter = previous_;
}

struct OdbcWorker::Ticket {
    bool done = false;
    std::exception_ptr error;
};

struct OdbcWorker::Channel {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::pair<std::function<void()>, std::shared_ptr<Ticket>>> jobs;
    bool stop = false;

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
    }
};

OdbcWorker::OdbcWorker(int timeout)
    : channel_(std::make_shared<Channel>()), timeout_(timeout),
      bound_(std::chrono::seconds(timeout) + driverGrace) {
    // The thread shares the channel, so a thread given up outlives this object safely.
    thread_ = std::thread([channel = channel_] { channel->serve(); });
}

OdbcWorker::~OdbcWorker() {
    {
        std::lock_guard lock(channel_->mutex);
        channel_->stop = true;
        channel_->changed.notify_all();
    }
    // An idle thread ends at once; it is joined, not left to end on its own, so that what the
    // driver's libraries keep per thread has been freed once the connection is gone (a process
    // exiting meanwhile would find it lost).
    if (givenUp_)
        thread_.detach();
    else
        thread_.join();
}

void OdbcWorker::ensureAnswering() const {
    if (givenUp_)
        throw OdbcTimeout(timeout_);
}

void OdbcWorker::giveUp() {
    givenUp_ = true;
    keepLoaded();
}

void OdbcWorker::await(const std::shared_ptr<Ticket>& ticket, std::function<void()>& cancel,
                       const OdbcWaiter* waiter) {
    std::unique_lock lock(channel_->mutex);
    auto done = [&] { return ticket->done; };
    auto deadline = std::chrono::steady_clock::now() + bound_;
    bool cancelled = false;
    while (!done()) {
        if (waiter && waiter->calledOff()) {
            if (cancel)
                std::thread(std::move(cancel)).detach();
            giveUp();
            throw OdbcCalledOff{};
        }
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            if (cancelled) {
                giveUp();
                throw OdbcTimeout(timeout_);
            }
            if (cancel)
                std::thread(std::move(cancel)).detach();
            cancelled = true;
            deadline = now + cancelGrace;
            continue;
        }
        auto until = waiter ? std::min(deadline, now + callOffCheck) : deadline;
        channel_->changed.wait_until(lock, until, done);
    }
    if (ticket->error)
        std::rethrow_exception(ticket->error);
}

void OdbcWorker::run(std::function<void()> job, std::function<void()> cancel) {
    ensureAnswering();
    OdbcWaiter* waiter = currentWaiter;
    if (waiter && waiter->calledOff())
        throw OdbcCalledOff{};
    auto ticket = std::make_shared<Ticket>();
    {
        std::lock_guard lock(channel_->mutex);
        channel_->jobs.emplace_back(std::move(job), ticket);
        channel_->changed.notify_all();
    }
    if (!waiter)
        return await(ticket, cancel, nullptr);
    // The waiter's lock goes while the database works and comes back before anything else is
    // touched; work called off meanwhile ends here, whatever the call's outcome.
    waiter->leave();
    std::exception_ptr outcome;
    try {
        await(ticket, cancel, waiter);
    } catch (...) {
        outcome = std::current_exception();
    }
    waiter->enter();
    if (waiter->calledOff())
        throw OdbcCalledOff{};
    if (outcome)
        std::rethrow_exception(outcome);
}

} // namespace standin

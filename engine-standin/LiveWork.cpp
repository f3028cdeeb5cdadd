#include "LiveWork.h"

#include "Catalogue.h"
#include "Engine.h"
#include "LiveConnection.h"
#include "OdbcWorker.h"

#include <thread>

namespace standin {

namespace {

// A lane's job holds the engine lock, and gives it up while the database works (and while the job
// works without it: then the database's waits leave it as it is).
class LaneWaiter : public OdbcWaiter {
  public:
    LaneWaiter(std::unique_lock<std::recursive_mutex>& lock, const std::atomic<bool>& off)
        : lock_(lock), off_(off) {}
    void leave() override {
        if (!outside_)
            lock_.unlock();
    }
    void enter() override {
        if (!outside_)
            lock_.lock();
    }
    bool calledOff() const override { return off_; }

    void goOutside() {
        lock_.unlock();
        outside_ = true;
    }
    void comeBack() {
        outside_ = false;
        lock_.lock();
        if (off_)
            throw OdbcCalledOff{};
    }

  private:
    std::unique_lock<std::recursive_mutex>& lock_;
    const std::atomic<bool>& off_;
    bool outside_ = false;
};

thread_local LaneWaiter* laneWaiter = nullptr; // of the job the thread is doing

// How long a lane that stepped aside waits for the waiting call to take the lock.
constexpr std::chrono::milliseconds stepAside{20};

} // namespace

void LiveWork::pause() {
    if (!laneWaiter || !Engine::callWaiting())
        return;
    laneWaiter->goOutside();
    auto until = std::chrono::steady_clock::now() + stepAside;
    while (Engine::callWaiting() && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    laneWaiter->comeBack();
}

void LiveWork::unlocked(const std::function<void()>& work) {
    if (!laneWaiter)
        return work();
    laneWaiter->goOutside();
    try {
        work();
    } catch (...) {
        laneWaiter->comeBack();
        throw;
    }
    laneWaiter->comeBack();
}

void LiveWork::post(const std::shared_ptr<Connection>& connection, std::function<void()> work) {
    if (connection->working++ == 0)
        shown_(*connection);
    enqueue(connection, {std::move(work), nullptr, true});
}

void LiveWork::enqueue(const std::shared_ptr<Connection>& connection, Job job) {
    std::shared_ptr<Lane> start;
    {
        std::lock_guard lock(mutex_);
        auto& lane = lanes_[connection.get()];
        if (!lane) {
            lane = std::make_shared<Lane>();
            lane->connection = connection;
        }
        job.off = lane->token;
        lane->jobs.push_back(std::move(job));
        if (!lane->running) {
            lane->running = true;
            start = lane;
        }
    }
    if (start)
        this->start(std::move(start));
}

void LiveWork::start(std::shared_ptr<Lane> lane) {
    std::lock_guard lock(mutex_);
    reap();
    Worker& worker = workers_.emplace_back();
    // The thread marks itself done under mutex_, which is held until it is stored.
    worker.thread = std::thread([this, lane = std::move(lane), &worker]() mutable {
        serve(std::move(lane));
        std::lock_guard done(mutex_);
        worker.done = true;
        idle_.notify_all();
    });
}

void LiveWork::reap() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (!it->done) {
            ++it;
            continue;
        }
        it->thread.join(); // it has nothing left to do but return
        it = workers_.erase(it);
    }
}

LiveWork::~LiveWork() {
    waitIdle(std::chrono::seconds(1));
    std::lock_guard lock(mutex_);
    for (auto& worker : workers_)
        worker.thread.detach(); // still stuck in a database at the process's end
}

void LiveWork::callOff(const std::shared_ptr<Connection>& connection) {
    {
        std::lock_guard lock(mutex_);
        auto it = lanes_.find(connection.get());
        if (it != lanes_.end()) {
            it->second->token->store(true);
            it->second->token = std::make_shared<std::atomic<bool>>(false);
        }
    }
    // Closing talks to the server too; the lane does it after the work it has stopped.
    if (auto link = std::move(connection->link))
        enqueue(connection, {[link = std::move(link)]() mutable { link.reset(); }, nullptr, false});
    if (connection->live)
        connection->connected = false;
}

bool LiveWork::waitIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, limit, [&] {
        reap();
        return lanes_.empty() && workers_.empty();
    });
}

bool LiveWork::next(Lane& lane, Job& job) {
    std::lock_guard lock(mutex_);
    if (lane.jobs.empty()) {
        lane.running = false;
        lanes_.erase(lane.connection.get());
        idle_.notify_all();
        return false;
    }
    job = std::move(lane.jobs.front());
    lane.jobs.pop_front();
    return true;
}

void LiveWork::serve(std::shared_ptr<Lane> lane) {
    std::unique_lock engineLock(Engine::mutex());
    Job job;
    while (next(*lane, job)) {
        if (!*job.off) {
            LaneWaiter waiter(engineLock, *job.off);
            OdbcWaitScope scope(waiter);
            laneWaiter = &waiter;
            try {
                job.work();
            } catch (...) {
                // called off, or a failure the work could not report: nothing more to say
            }
            laneWaiter = nullptr;
        }
        bool shown = job.shown;
        job = {}; // what the work held goes under the engine lock
        if (shown && --lane->connection->working == 0)
            shown_(*lane->connection);
    }
    lane.reset(); // the connection may go with it, still under the engine lock
}

} // namespace standin

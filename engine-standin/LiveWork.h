// LiveWork: where the work on live databases runs, so that the thread that asks (the add-in's only
// thread) never waits for a database. Each connection has a lane: its work runs in the order it was
// asked, on a thread of the lane's, holding the engine lock only while it touches the catalogue
// in memory (never while it waits for the database); what it changes reaches the add-in as
// notifications at its next polls. Lanes of
// different connections run side by side. Work called off (its connection removed, the project
// closed, the engine stopped) stops at its next wait without touching anything, and the open
// database it used is closed behind it on the same lane.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace standin {

struct Connection;

class LiveWork {
  public:
    // shown(connection) is called, under the engine lock, when the connection starts or stops
    // having work (its `working` count leaves or reaches 0).
    explicit LiveWork(std::function<void(Connection&)> shown) : shown_(std::move(shown)) {}
    ~LiveWork();
    LiveWork(const LiveWork&) = delete;
    LiveWork& operator=(const LiveWork&) = delete;

    // Queues work on connection's lane. The caller holds the engine lock.
    void post(const std::shared_ptr<Connection>& connection, std::function<void()> work);
    // Calls off the connection's work and closes its database on its lane. The caller holds the
    // engine lock; connection.link is empty afterwards.
    void callOff(const std::shared_ptr<Connection>& connection);
    // Waits until no lane has work and every lane's thread has ended, at most limit; whether they
    // all finished. The caller must not hold the engine lock.
    bool waitIdle(std::chrono::milliseconds limit);

    // For a lane's long work on the catalogue in memory, on the lane's own thread; elsewhere pause
    // does nothing and unlocked just runs work. pause lets a call waiting for the engine lock in
    // first; unlocked runs work without the lock (it must touch nothing of the engine's, and its
    // database calls then wait without it too) and takes the lock back. Both throw OdbcCalledOff
    // when the lane's work was called off meanwhile.
    static void pause();
    static void unlocked(const std::function<void()>& work);

  private:
    using Token = std::shared_ptr<std::atomic<bool>>; // set when the work holding it is called off
    struct Job {
        std::function<void()> work;
        Token off;
        bool shown = true; // counted in the connection's `working` (a closing is not)
    };
    struct Lane {
        std::shared_ptr<Connection> connection;
        std::deque<Job> jobs;
        Token token = std::make_shared<std::atomic<bool>>(false);
        bool running = false; // a job of the lane is being done
    };
    // A lane's thread. It is joined once done, never left to end on its own: a thread still ending
    // when the process ends may be tearing down what the driver's libraries keep per thread.
    struct Worker {
        std::thread thread;
        bool done = false;
    };

    void enqueue(const std::shared_ptr<Connection>& connection, Job job);
    void serve(std::shared_ptr<Lane> lane);
    // The next job of lane, or nothing after the lane was closed for lack of work.
    bool next(Lane& lane, Job& job);
    void start(std::shared_ptr<Lane> lane);
    // Joins the workers that are done. The caller holds mutex_.
    void reap();

    std::function<void(Connection&)> shown_;
    std::mutex mutex_; // guards the lanes; taken after the engine lock, never before
    std::condition_variable idle_;
    std::map<const Connection*, std::shared_ptr<Lane>> lanes_;
    std::list<Worker> workers_;
};

} // namespace standin

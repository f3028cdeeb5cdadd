// OdbcWorker: the thread a live connection's ODBC calls run on, so that the thread that asked (the
// add-in's UI thread) waits a bounded time whatever the driver does. A driver may enforce its
// timeouts on the server (PostgreSQL's does), and a server that stops answering then keeps the call
// waiting forever. When a call outlasts the bound the worker is given up: the caller gets
// OdbcTimeout, and the thread with whatever its call still holds is left to finish on its own.
// Callers hand the worker jobs that own what they touch (shared state, copies of their inputs),
// since a job given up may still run after the caller has gone.
#pragma once

#include "OdbcConnection.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace standin {

struct OdbcTimeout : OdbcError {
    explicit OdbcTimeout(int seconds)
        : OdbcError("HYT00", "the database did not answer within " + std::to_string(seconds) + " seconds") {}
};

// What a thread does while the worker runs a job for it (one per thread, set by OdbcWaitScope): a
// thread holding a lock that others need lets go of it meanwhile, and work that has been called
// off stops waiting at once.
class OdbcWaiter {
  public:
    virtual ~OdbcWaiter() = default;
    virtual void leave() = 0;
    virtual void enter() = 0;
    virtual bool calledOff() const = 0;
};

// What run throws when the waiter called the work off: not an OdbcError, since no failure of the
// database is to be reported for it. The worker is given up then (its call may still be running).
struct OdbcCalledOff {};

class OdbcWaitScope {
  public:
    explicit OdbcWaitScope(OdbcWaiter& waiter);
    ~OdbcWaitScope();
    OdbcWaitScope(const OdbcWaitScope&) = delete;
    OdbcWaitScope& operator=(const OdbcWaitScope&) = delete;

  private:
    OdbcWaiter* previous_;
};

class OdbcWorker {
  public:
    // timeout: the seconds the driver itself is told; a call may take that plus a grace.
    explicit OdbcWorker(int timeout);
    // Does not wait for a job given up; an idle worker's thread ends and is joined.
    ~OdbcWorker();
    OdbcWorker(const OdbcWorker&) = delete;
    OdbcWorker& operator=(const OdbcWorker&) = delete;

    // Runs job on the worker and rethrows what it throws. A job still running at the bound gets
    // cancel run on a thread of its own (it must not block the caller either), then a little more
    // time; after that the worker is given up and OdbcTimeout thrown, now and on every later call.
    void run(std::function<void()> job, std::function<void()> cancel = {});
    bool givenUp() const { return givenUp_; }
    // OdbcTimeout when the worker was given up.
    void ensureAnswering() const;

  private:
    struct Channel;
    struct Ticket;
    // Waits for ticket with the channel locked: the bound, the cancel, the grace, the waiter's call-off.
    void await(const std::shared_ptr<Ticket>& ticket, std::function<void()>& cancel, const OdbcWaiter* waiter);
    void giveUp();

    std::shared_ptr<Channel> channel_;
    std::thread thread_;
    int timeout_;
    std::chrono::milliseconds bound_;
    bool givenUp_ = false;
};

} // namespace standin

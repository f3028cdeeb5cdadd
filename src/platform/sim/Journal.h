// Journal: what the simulated platform was asked to do, and the failures a test wants it to have.
// Every member of the simulated IDE objects enters the journal as "Class.Member" with the name of
// the object it was called on (a project's, component's or control's name, a collection's owner),
// so a test can read the calls made and make chosen members raise:
//
//     sim->journal().failNext("VBProjects.Item", vb::VBError(9, "Subscript out of range"));
//     sim->journal().failAfter("CodeModule.InsertLines[Module1]", 2, vb::VBError(5, "..."));
//
// A rule's member is "Class.Member" (any object) or "Class.Member[object]" (that object only).
#pragma once

#include "platform/error.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace sim {

struct Call {
    std::string member;             // "CodeModule.InsertLines"
    std::string object;             // "Module1"
    std::vector<std::string> args;  // each argument as text

    std::string text() const;       // "CodeModule.InsertLines[Module1](41, Dim x)"
};

class Journal {
public:
    // Records the call, then raises the failure of the first rule due for it.
    void enter(const std::string& member, const std::string& object, std::vector<std::string> args = {});

    // The next `times` calls of member raise error.
    void failNext(const std::string& member, const vb::VBError& error, int32_t times = 1);
    // okCalls calls of member pass; every later one raises error.
    void failAfter(const std::string& member, int32_t okCalls, const vb::VBError& error);
    void clearFailures();

    // The most recent calls, oldest first (at most maxCalls are kept).
    const std::deque<Call>& calls() const { return calls_; }
    // The calls of member ("Class.Member" or "Class.Member[object]"), oldest first.
    std::vector<Call> callsTo(const std::string& member) const;
    std::vector<std::string> callTexts() const;
    void clearCalls() { calls_.clear(); }

    static constexpr std::size_t maxCalls = 10000;

private:
    struct Rule {
        std::string member;
        int32_t passLeft;  // calls still let through before failing
        int32_t failLeft;  // failures left; negative: without end
        vb::VBError error;
    };
    static bool matches(const std::string& pattern, const Call& call);

    std::deque<Call> calls_;
    std::vector<Rule> rules_;
};

} // namespace sim

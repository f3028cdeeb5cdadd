// The Windows test programs' checks. Exit codes under Wine cannot be trusted, so each program ends
// with one line, "<n> passed, <m> failed", which the runner reads.
#pragma once

#include "platform/error.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace wintest {

struct Case {
    const char* name;
    std::function<void()> body;
};

inline int& failedChecks() {
    static int count = 0;
    return count;
}

inline void check(bool ok, const char* what, const char* file, int line) {
    if (ok) return;
    ++failedChecks();
    std::printf("  check failed: %s (%s:%d)\n", what, file, line);
}

// Runs every case; a case passes when none of its checks failed and it threw nothing.
inline int run(const std::vector<Case>& cases) {
    int passed = 0;
    int failed = 0;
    for (const Case& c : cases) {
        int before = failedChecks();
        bool threw = false;
        try {
            c.body();
        } catch (const vb::VBError& e) {
            threw = true;
            std::printf("  raised %d: %s\n", e.number(), e.description().c_str());
        } catch (...) {
            threw = true;
            std::printf("  raised an unknown exception\n");
        }
        bool ok = !threw && failedChecks() == before;
        std::printf("%s: %s\n", ok ? "ok" : "FAILED", c.name);
        ok ? ++passed : ++failed;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

// The VBError fn raises; a VBError of number 0 when it raises none.
template <class F>
vb::VBError raised(F&& fn) {
    try {
        fn();
    } catch (const vb::VBError& e) {
        return e;
    }
    return vb::VBError(0, "nothing raised");
}

} // namespace wintest

#define CHECK(cond) ::wintest::check((cond), #cond, __FILE__, __LINE__)

// Checks: named results printed one a line, and the closing "N passed, M failed" line that the
// stage script reads (under Wine a program's exit code can lie).
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace wintest {

class Checks {
public:
    void check(const std::string& name, bool ok, const std::string& detail = {}) {
        ++(ok ? passed_ : failed_);
        std::printf("%s %s%s%s\n", ok ? "PASS" : "FAIL", name.c_str(), ok || detail.empty() ? "" : ": ",
                    ok ? "" : detail.c_str());
        std::fflush(stdout);
    }
    void check(const std::string& name, bool ok, HRESULT hr) {
        char text[32];
        std::snprintf(text, sizeof text, "HRESULT 0x%08lX", static_cast<unsigned long>(hr));
        check(name, ok, std::string(text));
    }
    int finish() const {
        std::printf("%d passed, %d failed\n", passed_, failed_);
        std::fflush(stdout);
        return failed_ == 0 ? 0 : 1;
    }

private:
    int passed_ = 0;
    int failed_ = 0;
};

} // namespace wintest

// ChangeWatch: what a person notices after an action without asking - the add-in's entries on the
// IDE's command bars appearing, changing and going, tool windows shown or hidden, the server view's
// layout, forms such as the splash screen and the about box, add-in properties stored in a
// project, code modules and Data Environments that changed. take() remembers the state; report()
// writes what differs since then and remembers the new state.
#pragma once

#include "Console.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sim {
class SimVBE;
}

namespace host {

class ChangeWatch {
public:
    ChangeWatch(Console& console, const sim::SimVBE& ide, std::vector<std::pair<std::string, std::string>> properties);

    void take();
    void report();

private:
    struct State {
        std::vector<std::pair<std::string, std::string>> ide;  // one entry per add-in control group and window, in IDE order
        std::map<std::string, std::vector<std::string>> forms;
        std::string layout;
        std::map<std::string, std::string> properties;
        std::map<std::string, std::vector<std::string>> code;
        std::map<std::string, std::vector<std::string>> dataEnvironments;
    };
    State snapshot() const;

    Console& console_;
    const sim::SimVBE& ide_;
    std::vector<std::pair<std::string, std::string>> properties_;
    State last_;
};

} // namespace host

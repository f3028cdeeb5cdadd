#include "DialogSteps.h"

#include "HostError.h"

namespace host {

std::vector<ui::ScriptedUser::Step> parseDialogSteps(const std::vector<std::string>& words, const DriveMap& drives) {
    using User = ui::ScriptedUser;
    std::vector<User::Step> steps;
    std::size_t i = 0;
    auto next = [&](const std::string& verb, const char* what) -> const std::string& {
        if (i >= words.size()) throw HostError("\"" + verb + "\" needs " + what);
        return words[i++];
    };
    while (i < words.size()) {
        const std::string verb = words[i++];
        if (verb == "set") {
            const std::string control = next(verb, "a control and a text");
            steps.push_back(User::setText(control, drives.toSystem(next(verb, "a text"))));
        } else if (verb == "choose") {
            const std::string control = next(verb, "a combo box and an item");
            steps.push_back(User::chooseItem(control, next(verb, "an item")));
        } else if (verb == "pick") {
            const std::string control = next(verb, "a combo box and an index");
            const std::string index = next(verb, "an index");
            try {
                steps.push_back(User::chooseIndex(control, std::stoi(index)));
            } catch (const std::logic_error&) {
                throw HostError("\"pick\" needs an index (0 is the first item), not \"" + index + "\"");
            }
        } else if (verb == "press") {
            steps.push_back(User::press(next(verb, "a button")));
        } else if (verb == "enter") {
            steps.push_back(User::pressEnter());
        } else if (verb == "escape") {
            steps.push_back(User::pressEscape());
        } else if (verb == "close") {
            steps.push_back(User::closeBox());
        } else {
            throw HostError("unknown dialog step \"" + verb + "\" (steps: " + dialogStepsUsage + ")");
        }
    }
    return steps;
}

} // namespace host

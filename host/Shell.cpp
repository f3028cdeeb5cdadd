#include "Shell.h"

#include "CommandLine.h"
#include "DialogSteps.h"
#include "HostError.h"
#include "TextRenderer.h"

#include "platform/ui/Form.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MsgBox.h"

#include <cctype>
#include <map>

namespace host {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string buttonsOf(int32_t style) {
    static const char* const names[] = {"OK", "OK, Cancel", "Abort, Retry, Ignore", "Yes, No, Cancel", "Yes, No", "Retry, Cancel"};
    int32_t b = style & 7;
    return b < 6 ? names[b] : "OK";
}

} // namespace

std::optional<std::string> TerminalUser::ask(const std::string& question) {
    console_.prompt(question);
    auto line = in_.next();
    if (!line) console_.line("");
    return line;
}

int32_t TerminalUser::msgBox(const std::string&, int32_t style, const std::string&) {
    static const std::map<std::string, int32_t> results = {{"ok", 1},    {"cancel", 2}, {"abort", 3}, {"retry", 4},
                                                           {"ignore", 5}, {"yes", 6},    {"no", 7}};
    while (true) {
        auto answer = ask("  answer (" + buttonsOf(style) + "): ");
        if (!answer) return ui::safestResult(style);
        auto it = results.find(lower(*answer));
        if (it != results.end() && ui::offersResult(style, it->second)) return it->second;
        console_.line("  the box has the buttons " + buttonsOf(style));
    }
}

void TerminalUser::showModal(ui::Form& form) {
    console_.line("  work on the dialog: " + std::string(dialogStepsUsage) + ", or show");
    while (form.Loaded() && form.Visible()) {
        auto line = ask("  " + form.Name() + "> ");
        if (!line) {
            form.closeBox();
            if (form.Loaded() && form.Visible()) form.Hide();
            return;
        }
        try {
            auto words = CommandLine::parse(*line).words;
            if (words.size() == 1 && words[0] == "show") {
                console_.lines(text::form(form, "dialog"));
                continue;
            }
            for (const auto& step : parseDialogSteps(words, console_.drives())) {
                step.fn(form);
                if (!form.Loaded() || !form.Visible()) break;
            }
        } catch (const std::exception& e) {
            console_.line(std::string("  cannot: ") + e.what());
        }
    }
}

ui::Menu* TerminalUser::popupMenu(ui::Menu& menu, int32_t, int32_t) {
    while (true) {
        auto answer = ask("  choose an item (its name, or nothing for none): ");
        if (!answer || answer->empty()) return nullptr;
        ui::Menu* item = menu.find(*answer);
        if (item && item != &menu && item->choosableIn(menu)) return item;
        console_.line("  " + *answer + " cannot be chosen in this menu");
    }
}

std::optional<std::string> TerminalUser::fileDialog(ui::CommonDialog&, ui::FileDialogMode) {
    auto answer = ask("  file (nothing to cancel): ");
    if (!answer || answer->empty()) return std::nullopt;
    return console_.drives().toSystem(*answer);
}

int runShell(CommandRunner& runner, Console& console, LineInput& input) {
    console.line("nimbide shell: type help for the commands, quit to end.");
    int lineNumber = 0;
    // The add-in's timers run in real time while the person has not typed; what they show comes
    // below the prompt, which is given again after it.
    auto tick = [&](int64_t ms) {
        auto before = console.written();
        runner.pass(ms);
        if (console.written() != before) console.prompt("nimbide> ");
    };
    while (true) {
        console.prompt("nimbide> ");
        auto line = input.next(tick);
        if (!line) {
            console.line("");
            break;
        }
        if (runner.run(*line, ++lineNumber) == CommandRunner::Outcome::Quit) break;
    }
    return runner.finish() ? 0 : 1;
}

} // namespace host

// Shell: the interactive host. It reads commands from the terminal and runs them like a script
// does; when the add-in asks something no queued answer covers, TerminalUser asks the person:
// the answer to a message box, an item of a popup menu, a file name, and the steps on a dialog.
#pragma once

#include "CommandRunner.h"
#include "Console.h"
#include "LineInput.h"

#include "platform/ui/User.h"

#include <string>

namespace host {

class TerminalUser : public ui::User {
public:
    TerminalUser(Console& console, LineInput& in) : console_(console), in_(in) {}

    int32_t msgBox(const std::string& prompt, int32_t style, const std::string& title) override;
    void showModal(ui::Form& form) override;
    ui::Menu* popupMenu(ui::Menu& menu, int32_t x, int32_t y) override;
    std::optional<std::string> fileDialog(ui::CommonDialog& dialog, ui::FileDialogMode mode) override;

private:
    // The next line, or nullopt at the end of the input.
    std::optional<std::string> ask(const std::string& question);

    Console& console_;
    LineInput& in_;
};

// Runs commands from in until quit or the end of the input; returns the process's exit status.
int runShell(CommandRunner& runner, Console& console, LineInput& in);

} // namespace host

// User: the port through which the program meets a person - message box answers, modal forms,
// popup menu choices and file dialog answers. Tests and the host's script mode install a
// ScriptedUser; an interactive host asks on its terminal; a GUI would show real windows.
#pragma once

#include "platform/ui/CommonDialog.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ui {

class Form;
class Menu;

class User {
public:
    virtual ~User() = default;

    // The button pressed on a message box (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes,
    // 7 No), one the style offers. An empty title means the program's default title.
    virtual int32_t msgBox(const std::string& prompt, int32_t style, const std::string& title) = 0;
    // The form is loaded and visible; the person works with it (fills controls, presses buttons,
    // or closes it with the close box - Form::closeBox) and this returns once the form is hidden
    // or unloaded.
    virtual void showModal(Form& form) = 0;
    // The item of menu the person chose, or nullptr for none. The caller runs its Click.
    virtual Menu* popupMenu(Menu& menu, int32_t x, int32_t y) = 0;
    // The full path the person chose, or nullopt for cancel.
    virtual std::optional<std::string> fileDialog(CommonDialog& dialog, FileDialogMode mode) = 0;

    // The person the program talks to. Until one is installed, a ScriptedUser with an empty script
    // stands in: it refuses every question and records each as a failure.
    static void install(std::shared_ptr<User> user);
    static std::shared_ptr<User> current();
    // Whether a person was installed (the stand-in above does not count): a module that finds
    // none when it is connected brings its own.
    static bool installed();
};

// The results a message box of that style can give (its buttons), as the runtime numbers them.
bool offersResult(int32_t style, int32_t result);
// The answer that commits to nothing: Cancel when offered, else No, else Abort... else OK.
int32_t safestResult(int32_t style);

} // namespace ui

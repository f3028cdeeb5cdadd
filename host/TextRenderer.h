// TextRenderer: the simulated IDE as plain text for people - message boxes, popup menus, dialogs
// and forms, file dialogs, the IDE's menus, toolbars and windows, the server view's tree, details
// list and layout, projects, code modules and Data Environments. Each function only reads the
// widget model and the simulated IDE; the lines it returns go to the Console.
#pragma once

#include "platform/ui/CommonDialog.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {
class Control;
struct Font;
class Form;
class ListView;
class Menu;
class TreeView;
class UserControl;
} // namespace ui

namespace sim {
class SimCodeModule;
class SimCommandBarControl;
class SimDataEnvironment;
class SimProject;
class SimVBE;
} // namespace sim

namespace host::text {

using Lines = std::vector<std::string>;
// The add-in's field name of a command-bar control, or "" for a control that is not the add-in's.
using FieldNamer = std::function<std::string(const sim::SimCommandBarControl&)>;

// "Question + Yes/No" for 36; the number itself is shown by msgBox.
std::string styleText(int32_t style);
std::string resultName(int32_t result);  // "Yes" for 6
// Whether the control has a Font a person sees it in: not images, shapes, progress bars and the
// controls with no window at run time.
bool hasFont(const ui::Control& control);
// "MS Sans Serif 8.25", with " bold" and " charset 2" when they apply.
std::string fontText(const ui::Font& font);
// A caption without its '&' accelerator marks ("&&" stays one '&').
std::string plainCaption(const std::string& caption);

Lines msgBox(const std::string& prompt, int32_t style, const std::string& title);
Lines popup(const ui::Menu& menu, int32_t x, int32_t y);
// heading: "dialog", "form"...
Lines form(const ui::Form& form, const std::string& heading);
Lines fileDialog(const ui::CommonDialog& dialog, ui::FileDialogMode mode);
// Every item of a menu, hidden ones too, with name, caption, tag and state.
Lines menuState(const ui::Menu& menu);

Lines menuBar(const sim::SimVBE& ide, const FieldNamer& fieldOf);
Lines toolbars(const sim::SimVBE& ide, const FieldNamer& fieldOf);
Lines windows(const sim::SimVBE& ide);
// The controls that are not the IDE's own, one entry per toolbar and per item on an IDE menu
// ({"toolbar \"NIMB Development\"", "7 buttons, hidden"}), and the windows ({"tool window
// \"NIMB Server View\"", "visible, 4000 x 6000"}): what the host compares before and after a command.
std::vector<std::pair<std::string, std::string>> ideSummary(const sim::SimVBE& ide);

Lines tree(const ui::TreeView& tree);
Lines list(const ui::ListView& list);
Lines layout(const ui::UserControl& view);

Lines projects(const sim::SimVBE& ide, const std::vector<std::pair<std::string, std::string>>& properties);
// The module's lines with numbers; with before, the lines that are new are marked "+" and removed
// ones counted.
Lines codeModule(const std::string& title, const std::vector<std::string>& lines,
                 const std::optional<std::vector<std::string>>& before = std::nullopt);
Lines dataEnvironment(const std::string& title, const sim::SimDataEnvironment& de);

// Rows as aligned columns, two blanks apart, trailing blanks cut.
Lines table(const std::vector<std::vector<std::string>>& rows, const std::string& indent = "  ");

} // namespace host::text

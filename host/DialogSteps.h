// DialogSteps: what a person does on a form, written as words: "set nameTxt X", "choose projCombo
// Inventory", "pick projCombo 1", "press okBtn", "enter", "escape", "close". The script queues them
// for a modal dialog, acts with them on a form already shown, and the shell reads them while a
// dialog waits for the person.
#pragma once

#include "DriveMap.h"

#include "platform/ui/ScriptedUser.h"

#include <string>
#include <vector>

namespace host {

// Texts typed into a control that are drive paths are given to the programs as system paths.
// HostError for an unknown step or a missing argument.
std::vector<ui::ScriptedUser::Step> parseDialogSteps(const std::vector<std::string>& words, const DriveMap& drives);

inline constexpr char dialogStepsUsage[] =
    "set CONTROL TEXT | choose CONTROL ITEM | pick CONTROL INDEX | press BUTTON | enter | escape | close";

} // namespace host

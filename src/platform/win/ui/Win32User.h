// Win32User: the person at a real screen. Message boxes are MessageBoxW with the program's style
// bits (the runtime's MsgBox numbers are the MB_ flags and IDs), modal forms run a modal loop with
// their owner disabled, popup menus are TrackPopupMenuEx menus built from the model's items, and
// the file dialogs are GetOpenFileNameW / GetSaveFileNameW set from the CommonDialog's properties.
// This file holds only Win32 code.
#pragma once

#include "platform/ui/User.h"

#include <windows.h>

#include <string>

namespace winui {

class WindowRenderer;

class Win32User : public ui::User {
public:
    // owner: the window the program's boxes and dialogs belong to (the IDE's main window).
    // defaultTitle: what a message box without a title shows (the program's title).
    Win32User(WindowRenderer& renderer, HWND owner, std::string defaultTitle);

    int32_t msgBox(const std::string& prompt, int32_t style, const std::string& title) override;
    void showModal(ui::Form& form) override;
    ui::Menu* popupMenu(ui::Menu& menu, int32_t x, int32_t y) override;
    std::optional<std::string> fileDialog(ui::CommonDialog& dialog, ui::FileDialogMode mode) override;

    // Runs one message through the renderer's keys and the system; false once WM_QUIT arrived.
    static bool pumpOne(WindowRenderer& renderer);

private:
    HWND activeOwner() const;

    WindowRenderer& renderer_;
    HWND owner_;
    std::string defaultTitle_;
};

// The Win32 menu for the visible items of menu (captions, separators, enabled, checked,
// sub-menus); item ids are the model items' places in choices (1-based). The caller destroys it.
HMENU buildPopup(ui::Menu& menu, std::vector<ui::Menu*>& choices);

} // namespace winui

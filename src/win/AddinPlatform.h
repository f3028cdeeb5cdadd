// AddinPlatform: what the add-in brings into an IDE that hands it nothing but COM objects. While
// it is connected, every form it loads becomes a real window (one renderer for the forms and the
// server view's document), owned by the IDE's main window; a person at the screen answers its
// message boxes, popup menus, file dialogs and modal forms; and a clock of its own, on the IDE's
// thread, runs its timers (the notification poll). Enter and Escape reach its modeless forms
// although the IDE's message loop knows nothing of them. A process that already brought a person or
// moves time on itself (the simulated IDE, a test) keeps its own. Disconnection takes everything
// down again: no window, timer or window class of the add-in outlives it.
// This file holds only Win32 code.
#pragma once

#include <windows.h>

#include <memory>

namespace ui {
class Form;
}

namespace winui {
class RealTimeDriver;
class Win32User;
class WindowRenderer;
} // namespace winui

namespace nimb::win {

class AddinPlatform {
public:
    // ideWindow: the IDE's main window (may be null: the forms are then top-level windows).
    explicit AddinPlatform(HWND ideWindow);
    ~AddinPlatform();
    AddinPlatform(const AddinPlatform&) = delete;
    AddinPlatform& operator=(const AddinPlatform&) = delete;

private:
    void realize(ui::Form& form);
    static LRESULT CALLBACK keyHook(int code, WPARAM removed, LPARAM message);

    HWND ideWindow_;
    std::shared_ptr<winui::WindowRenderer> renderer_;
    std::shared_ptr<winui::Win32User> user_;        // when the process had no person
    std::unique_ptr<winui::RealTimeDriver> clock_;  // when nothing moved time on
    HHOOK keys_ = nullptr;
};

// The one renderer of the add-in's windows, alive while the platform or a document shown in place
// holds it.
std::shared_ptr<winui::WindowRenderer> sharedRenderer();

// The IDE's main window as the IDE object tells it (VBE.MainWindow.hWnd), or null.
HWND ideMainWindow(IDispatch* application);

} // namespace nimb::win

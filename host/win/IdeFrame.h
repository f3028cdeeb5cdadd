// IdeFrame: the simulated IDE's main window as a real frame window - its caption and size from the
// simulated main window, its menu bar from the IDE's "Menu Bar" command bar (the add-in's entries
// included), one toolbar row with the buttons of the visible toolbars, an empty work area behind. The add-in's forms are owned by it. A person's close box
// does not end the IDE here: the script does. This file holds only Win32 code.
#pragma once

#include "platform/win/ui/Dpi.h"
#include "platform/win/ui/GdiResources.h"

#include <commctrl.h>

#include <windows.h>

#include <string>

namespace sim {
class SimVBE;
}

namespace host {

class IdeFrame {
public:
    // HostError when the window cannot be made.
    IdeFrame(const sim::SimVBE& ide, const winui::Dpi& dpi);
    ~IdeFrame();
    IdeFrame(const IdeFrame&) = delete;
    IdeFrame& operator=(const IdeFrame&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Brings caption, size, menu bar and toolbar in step with the simulated IDE.
    void update();

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void updateMenu();
    void updateToolbar();

    const sim::SimVBE& ide_;
    winui::Dpi dpi_;
    winui::GdiResources gdi_;  // the buttons' faces
    HWND hwnd_ = nullptr;
    HWND toolbar_ = nullptr;
    HIMAGELIST faces_ = nullptr;
    // What the menu bar and the toolbar were built from, to rebuild them only when that changed.
    std::string menuShown_;
    std::string toolbarShown_;
};

} // namespace host

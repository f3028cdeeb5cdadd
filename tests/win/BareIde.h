// BareIde: the IDE's side of an add-in's life, as a real IDE offers it - COM objects and nothing
// else. A main window on the screen (VBE.MainWindow.hWnd), one open project that stores its engine
// project file, the menu bar with the Add-Ins, View, Tools and Help menus, the toolbars and controls
// an add-in adds (with the faces it pastes from the clipboard), event objects with connection
// points, and tool windows: frames owned by the main window whose document the add-in's class
// makes and Wine's own ATL container hosts in place. Everything is served from member tables,
// late-bound, and the objects answer no private interface: the add-in cannot reach past COM.
// All of it lives on the thread that made it (the IDE's).
#pragma once

#include "platform/win/com/ComPtr.h"

#include <oaidl.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace wintest {

class BareIde {
public:
    struct Project {
        std::string name;
        std::string fileName;       // the project file, C:\...\name.vbp
        std::string engineProject;  // stored under KALNIMB_WK / KALNIMB_WKFILENAME, or empty
    };
    BareIde(HWND mainWindow, Project project);
    ~BareIde();
    BareIde(const BareIde&) = delete;
    BareIde& operator=(const BareIde&) = delete;

    IDispatch* vbe() const;
    IDispatch* addIn() const;

    // A control an add-in added, as a person sees it.
    struct Control {
        std::string bar;  // the toolbar's name, or the caption of the menu it is in
        std::string caption, tooltip, onAction;
        bool enabled = true, visible = true, facePasted = false;
    };
    // The controls of every bar and menu now (deleted ones are gone), depth first.
    std::vector<Control> controls() const;
    struct Toolbar {
        std::string name;
        bool visible = false;
        std::vector<Control> buttons;
    };
    // The toolbars added, not deleted.
    std::vector<Toolbar> toolbars() const;
    struct ToolWindow {
        std::string caption;
        HWND frame = nullptr;
        ULONGLONG shownAt = 0;  // GetTickCount64 when the add-in first made it visible, or 0
        com::ComPtr<IDispatch> document;  // the add-in's document in it, while its container holds one
    };
    std::vector<ToolWindow> toolWindows() const;

    // A person's click on the first control (not deleted) of that caption or OnAction: Click on every
    // sink advised for its events. S_FALSE when there is no such control or no sink.
    HRESULT click(const std::string& captionOrAction);
    // What the IDE does once it has unloaded an add-in: it closes the add-in's tool windows, and
    // their containers let go of the documents.
    void closeToolWindows();
    // The IDE's objects that something other than the IDE still holds ("VBE 1, control 2"); empty
    // when nothing is held.
    std::string referencesHeldByOthers() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace wintest

// ViewWorld: the server view as a person meets it inside the IDE, on real windows - its document
// (serverViewDoc with svrViewCtl) realized by the Win32 renderer in a tool window of its own, the
// add-in's notification poller driven by the stand-in engine (loaded through the add-in's own
// run-time boundary), and the engine's test functions for generating objects and injecting
// notifications. Used by the Windows checks and the benchmark, which run under wine64 + Xvfb.
// This file holds only Win32 code.
#pragma once

#include "platform/win/ui/WindowRenderer.h"
#include "standin_api.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace nimb {
class notificationThreadFrm;
class serverViewDoc;
class svrViewCtl;
} // namespace nimb
namespace ui {
class ScriptedUser;
}

namespace winviews {

class WorldMgr;

struct EngineTestApi {
    decltype(&::WKSI_Reset) Reset;
    decltype(&::WKSI_InjectNotification) InjectNotification;
    decltype(&::WKSI_GenerateObjects) GenerateObjects;
    decltype(&::WKSI_FindHandle) FindHandle;
    decltype(&::WKSI_GetJournal) GetJournal;
    decltype(&::WKSI_ClearJournal) ClearJournal;
};

class ViewWorld {
public:
    // width x height: the tool window's client area in pixels. render false: the same world with
    // no windows at all (the model-only baseline).
    ViewWorld(int width, int height, bool render = true);
    ~ViewWorld();
    ViewWorld(const ViewWorld&) = delete;
    ViewWorld& operator=(const ViewWorld&) = delete;

    // A fresh engine project with one connection, listed through the poll loop; its stored-procedure
    // folder holds n generated procedures and has been clicked (the engine has queued its contents,
    // the next tick lists them). Returns the folder's handle.
    int32_t procedureFolder(int32_t n);
    // Queues the engine's folder-changed notification for folder.
    void queueFolderChanged(int32_t folder);
    // One tick of the poller (100 ms of virtual time): the whole queue is drained.
    void tick();
    // Runs the messages waiting, then applies and paints what is left (flush).
    void settle();
    // Runs messages for ms milliseconds of real time.
    void pumpFor(int ms);

    winui::WindowRenderer& renderer() { return *renderer_; }
    HWND toolWindow() const { return toolWindow_; }
    nimb::svrViewCtl& view();
    int32_t projectHdl() const { return project_; }
    int32_t connectionHdl() const { return connection_; }
    // The engine's journal since the last call.
    std::string takeJournal();

private:
    static LRESULT CALLBACK toolProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::string directory_;
    EngineTestApi api_{};
    std::shared_ptr<WorldMgr> mgr_;
    std::unique_ptr<winui::WindowRenderer> renderer_;
    std::shared_ptr<nimb::serverViewDoc> doc_;
    std::shared_ptr<nimb::notificationThreadFrm> poller_;
    HWND toolWindow_ = nullptr;
    int32_t project_ = 0;
    int32_t connection_ = 0;
};

// Where a window of the world is on the screen (the Xvfb root), for input from outside.
RECT screenRect(HWND window);

} // namespace winviews

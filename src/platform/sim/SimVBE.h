// SimVBE: the simulated IDE. It implements vbide::VBE and everything reachable from it, and gives
// tests and the host a builder for the workspace (projects, components with code, Data
// Environments, active project, selected component, last used path, main window state), the
// person's actions (clicking command-bar controls, closing and removing files), add-in connection
// through vbide::ClassRegistry, the end of the IDE session, and a Journal of every call.
// An add-in keeps the VBE it was given, as a real add-in does: disconnect it (or end the session)
// before letting the IDE go, or each keeps the other alive.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/Constants.h"
#include "platform/vbide/VBE.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vbide {
class CommandBarControl;
}

namespace sim {

class SimAddIn;
class SimCommandBars;
class SimCommandBarControl;
class SimComponent;
class SimEvents;
class SimProject;
class SimVBProjects;
class SimWindow;
class SimWindows;

class SimVBE : public vbide::VBE, public std::enable_shared_from_this<SimVBE> {
public:
    // An IDE with its menu bar (File, Edit, View, Project, Format, Debug, Run, Tools, Add-Ins,
    // Window, Help), its Standard toolbar, a normal main window, no project.
    static std::shared_ptr<SimVBE> create();

    // vbide::VBE
    std::shared_ptr<vbide::VBProjects> VBProjects() override;
    std::shared_ptr<vbide::VBProject> ActiveVBProject() override;
    std::shared_ptr<vbide::VBComponent> SelectedVBComponent() override;
    std::string LastUsedPath() override;
    std::shared_ptr<vbide::Window> MainWindow() override;
    std::shared_ptr<vbide::Windows> Windows() override;
    std::shared_ptr<vbide::CommandBars> CommandBars() override;
    std::shared_ptr<vbide::Events> Events() override;

    // Workspace. A new project becomes the active one when none is; ItemAdded is raised.
    std::shared_ptr<SimProject> addProject(const std::string& name, const std::string& fileName = {});
    // Raises ItemRemoved; the active project moves to the first remaining one (or none), and the
    // selected component goes when it belonged to the project.
    void removeProject(const std::shared_ptr<SimProject>& project);
    void setActiveProject(const std::shared_ptr<SimProject>& project);  // raises ItemActivated
    void setSelectedComponent(const std::shared_ptr<SimComponent>& component);
    void setLastUsedPath(const std::string& path);
    std::vector<std::shared_ptr<SimProject>> projects() const;
    std::shared_ptr<SimProject> project(const std::string& name) const;  // Nothing when unknown
    std::shared_ptr<SimWindow> mainWindow() const { return mainWindow_; }
    // Inspection (no journal entries).
    const std::shared_ptr<SimProject>& activeProject() const { return active_; }
    const std::shared_ptr<SimComponent>& selectedComponent() const { return selected_; }
    const std::string& lastUsedPath() const { return lastUsedPath_; }

    // File events, raised on the subscribers of this project and of all projects.
    void closeFile(const std::shared_ptr<SimProject>& project, int32_t fileType, const std::string& fileName,
                   bool wasDirty);
    void removeFile(const std::shared_ptr<SimProject>& project, int32_t fileType, const std::string& fileName);

    // Command bars as the person sees them.
    std::shared_ptr<SimCommandBars> commandBars() const { return commandBars_; }
    // A person's click: raises the control's Click handlers when the control can be reached (it,
    // its bar and every popup above it visible and enabled); returns whether it could.
    bool click(const std::shared_ptr<vbide::CommandBarControl>& control);
    // The control at a caption path such as "Menu Bar/Add-Ins/My Add-In" (bar name, then
    // captions; '&' accelerators ignored); Nothing when there is none.
    std::shared_ptr<SimCommandBarControl> findByPath(const std::string& path) const;

    // Tool windows made by CreateToolWindow, in creation order.
    std::vector<std::shared_ptr<SimWindow>> toolWindows() const;

    // Add-ins. connectAddIn creates the class progId through vbide::ClassRegistry (429 when
    // unknown; 13 when it is no vbide::AddinInstance) and calls its OnConnection with this IDE and
    // a new AddIn record; an error from OnConnection reaches the caller and leaves the add-in
    // unconnected. disconnectAddIn calls OnDisconnection, closes the add-in's tool windows and
    // releases the object.
    std::shared_ptr<SimAddIn> connectAddIn(const std::string& progId, const std::string& description,
                                           int32_t connectMode = vbide::ext_cm_AfterStartup);
    void disconnectAddIn(const std::shared_ptr<SimAddIn>& addIn, int32_t removeMode = vbide::ext_dm_UserClosed);
    std::vector<std::shared_ptr<SimAddIn>> addIns() const;

    // The IDE closes and opens again: connected add-ins are disconnected (ext_dm_HostShutdown),
    // temporary command bars and controls vanish, controls deleted for the session come back.
    void endSession();

    Journal& journal() { return *journal_; }
    const std::shared_ptr<Journal>& sharedJournal() const { return journal_; }

private:
    SimVBE();

    std::shared_ptr<Journal> journal_;
    std::shared_ptr<SimVBProjects> projects_;
    std::shared_ptr<SimProject> active_;
    std::shared_ptr<SimComponent> selected_;
    std::string lastUsedPath_;
    std::shared_ptr<SimWindow> mainWindow_;
    std::shared_ptr<SimWindows> windows_;
    std::shared_ptr<SimCommandBars> commandBars_;
    std::shared_ptr<SimEvents> events_;
    std::vector<std::shared_ptr<SimAddIn>> addIns_;
};

} // namespace sim

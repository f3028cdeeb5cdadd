#include "platform/sim/SimVBE.h"

#include "platform/errorhandling.h"
#include "platform/sim/SimAddIn.h"
#include "platform/sim/SimCollection.h"
#include "platform/sim/SimCommandBar.h"
#include "platform/sim/SimCommandBarControl.h"
#include "platform/sim/SimCommandBarControls.h"
#include "platform/sim/SimCommandBars.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimEvents.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimWindow.h"
#include "platform/sim/SimWindows.h"
#include "platform/sim/names.h"
#include "platform/vbide/AddinInstance.h"
#include "platform/vbide/ClassRegistry.h"
#include "platform/vbide/FileControlEvents.h"
#include "platform/vbide/VBProjects.h"
#include "platform/vbide/VBProjectsEvents.h"

#include <algorithm>

namespace sim {

class SimVBProjects : public SimCollection<vbide::VBProjects, SimProject> {
public:
    using SimCollection::SimCollection;
};

namespace {

constexpr int32_t mainWindowWidth = 12000;
constexpr int32_t mainWindowHeight = 9000;

struct BuiltInMenu {
    const char* caption;
    int32_t id;
    std::vector<std::pair<const char*, int32_t>> items;
};

// The IDE's menu bar. The ids of View, Tools, Add-Ins and Help are the IDE's; the others, and the
// ids of the items inside the menus, are the simulation's own.
std::vector<BuiltInMenu> menuBar() {
    return {
        {"&File", 30002, {{"&New Project", 2520}, {"&Open Project...", 2521}}},
        {"&Edit", 30003, {{"&Undo", 128}, {"&Copy", 19}}},
        {"&View", vbide::idViewMenu, {{"&Code", 2522}, {"O&bject", 2523}}},
        {"&Project", 30005, {{"Add &Form", 2524}, {"Add &Module", 2525}}},
        {"F&ormat", 30006, {{"&Align", 2526}}},
        {"&Debug", 30012, {{"Step &Into", 2527}}},
        {"&Run", 30013, {{"&Start", 186}}},
        {"&Tools", vbide::idToolsMenu, {{"&Options...", 522}}},
        {"&Add-Ins", vbide::idAddInsMenu, {{"&Add-In Manager...", 2528}}},
        {"&Window", 30009, {{"&Cascade", 2529}}},
        {"&Help", vbide::idHelpMenu, {{"&Contents", 983}, {"&About Visual Basic...", 927}}},
    };
}

} // namespace

std::shared_ptr<SimVBE> SimVBE::create() {
    return std::shared_ptr<SimVBE>(new SimVBE());
}

SimVBE::SimVBE() : journal_(std::make_shared<Journal>()) {
    projects_ = std::make_shared<SimVBProjects>(journal_, "VBProjects", [] { return std::string(); }, false);
    auto focus = std::make_shared<Focus>();
    mainWindow_ = std::make_shared<SimWindow>(journal_, focus, "Visual Basic", mainWindowWidth, mainWindowHeight, true);
    windows_ = std::make_shared<SimWindows>(journal_, focus, mainWindow_);
    events_ = std::make_shared<SimEvents>(journal_);
    commandBars_ = std::make_shared<SimCommandBars>(journal_);
    auto bar = commandBars_->addBuiltIn("Menu Bar", vbide::msoBarMenuBar, true);
    for (const auto& menu : menuBar()) {
        auto popup = bar->controls()->addBuiltIn(vbide::msoControlPopup, menu.id, menu.caption);
        for (const auto& [caption, id] : menu.items) {
            popup->controls()->addBuiltIn(vbide::msoControlButton, id, caption);
        }
    }
    commandBars_->addBuiltIn("Standard", vbide::msoBarTop, true);
}

std::shared_ptr<vbide::VBProjects> SimVBE::VBProjects() {
    journal_->enter("VBE.VBProjects", "");
    return projects_;
}

std::shared_ptr<vbide::VBProject> SimVBE::ActiveVBProject() {
    journal_->enter("VBE.ActiveVBProject", "");
    return active_;
}

std::shared_ptr<vbide::VBComponent> SimVBE::SelectedVBComponent() {
    journal_->enter("VBE.SelectedVBComponent", "");
    return selected_;
}

std::string SimVBE::LastUsedPath() {
    journal_->enter("VBE.LastUsedPath", "");
    return lastUsedPath_;
}

std::shared_ptr<vbide::Window> SimVBE::MainWindow() {
    journal_->enter("VBE.MainWindow", "");
    return mainWindow_;
}

std::shared_ptr<vbide::Windows> SimVBE::Windows() {
    journal_->enter("VBE.Windows", "");
    return windows_;
}

std::shared_ptr<vbide::CommandBars> SimVBE::CommandBars() {
    journal_->enter("VBE.CommandBars", "");
    return commandBars_;
}

std::shared_ptr<vbide::Events> SimVBE::Events() {
    journal_->enter("VBE.Events", "");
    return events_;
}

std::shared_ptr<SimProject> SimVBE::addProject(const std::string& name, const std::string& fileName) {
    auto project = std::make_shared<SimProject>(journal_, name, fileName);
    projects_->append(project);
    if (!active_) {
        active_ = project;
    }
    events_->forProjectEvents([&](vbide::VBProjectsEvents& e) { e.raiseItemAdded(project); });
    return project;
}

void SimVBE::removeProject(const std::shared_ptr<SimProject>& project) {
    projects_->remove(project.get());
    const auto& components = project->components();
    if (std::find(components.begin(), components.end(), selected_) != components.end()) {
        selected_.reset();
    }
    if (active_ == project) {
        active_ = projects_->elements().empty() ? nullptr : projects_->elements().front();
    }
    events_->forProjectEvents([&](vbide::VBProjectsEvents& e) { e.raiseItemRemoved(project); });
}

void SimVBE::setActiveProject(const std::shared_ptr<SimProject>& project) {
    active_ = project;
    if (project) {
        events_->forProjectEvents([&](vbide::VBProjectsEvents& e) { e.raiseItemActivated(project); });
    }
}

void SimVBE::setSelectedComponent(const std::shared_ptr<SimComponent>& component) {
    selected_ = component;
}

void SimVBE::setLastUsedPath(const std::string& path) {
    lastUsedPath_ = path;
}

std::vector<std::shared_ptr<SimProject>> SimVBE::projects() const {
    return projects_->elements();
}

std::shared_ptr<SimProject> SimVBE::project(const std::string& name) const {
    return projects_->find(name);
}

void SimVBE::closeFile(const std::shared_ptr<SimProject>& project, int32_t fileType, const std::string& fileName,
                       bool wasDirty) {
    events_->forFileEvents(project.get(), [&](vbide::FileControlEvents& e) {
        e.raiseAfterCloseFile(project, fileType, fileName, wasDirty);
    });
}

void SimVBE::removeFile(const std::shared_ptr<SimProject>& project, int32_t fileType, const std::string& fileName) {
    events_->forFileEvents(project.get(),
                           [&](vbide::FileControlEvents& e) { e.raiseAfterRemoveFile(project, fileType, fileName); });
}

bool SimVBE::click(const std::shared_ptr<vbide::CommandBarControl>& control) {
    auto simControl = std::dynamic_pointer_cast<SimCommandBarControl>(control);
    if (!simControl || !simControl->reachable()) {
        return false;
    }
    journal_->enter("IDE.click", simControl->path());
    // A popup opens its drop-down; only buttons have a Click event.
    if (simControl->type() == vbide::msoControlButton) {
        simControl->raiseClick();
    }
    return true;
}

std::shared_ptr<SimCommandBarControl> SimVBE::findByPath(const std::string& path) const {
    auto parts = names::split(path, '/');
    auto bar = commandBars_->bar(parts.front());
    if (!bar || parts.size() < 2) {
        return nullptr;
    }
    std::shared_ptr<SimCommandBarControls> controls = bar->controls();
    std::shared_ptr<SimCommandBarControl> found;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (!controls) {
            return nullptr;
        }
        const auto& all = controls->controls();
        auto it = std::find_if(all.begin(), all.end(),
                               [&](const auto& c) { return names::withoutAccelerators(c->caption()) == parts[i]; });
        if (it == all.end()) {
            return nullptr;
        }
        found = *it;
        controls = found->controls();
    }
    return found;
}

std::vector<std::shared_ptr<SimWindow>> SimVBE::toolWindows() const {
    return windows_->toolWindows();
}

std::shared_ptr<SimAddIn> SimVBE::connectAddIn(const std::string& progId, const std::string& description,
                                               int32_t connectMode) {
    journal_->enter("IDE.connectAddIn", progId, {std::to_string(connectMode)});
    auto it = std::find_if(addIns_.begin(), addIns_.end(),
                           [&](const auto& a) { return names::equalNoCase(a->progId(), progId); });
    if (it != addIns_.end() && (*it)->connected()) {
        return *it;
    }
    auto object = vbide::ClassRegistry::instance().create(progId);
    auto instance = std::dynamic_pointer_cast<vbide::AddinInstance>(object);
    if (!instance) {
        throw vb::VBError(vb::err::TypeMismatch, "Type mismatch");
    }
    auto addIn = it != addIns_.end() ? *it : addIns_.emplace_back(std::make_shared<SimAddIn>(journal_, progId, description));
    addIn->setObject(object);
    std::vector<vb::Variant> custom;
    try {
        instance->OnConnection(shared_from_this(), connectMode, addIn, custom);
    } catch (...) {
        // The IDE does not keep an add-in whose connection failed.
        windows_->closeToolWindowsOf(addIn.get());
        addIn->setObject(nullptr);
        throw;
    }
    return addIn;
}

void SimVBE::disconnectAddIn(const std::shared_ptr<SimAddIn>& addIn, int32_t removeMode) {
    if (!addIn || !addIn->connected()) {
        return;
    }
    journal_->enter("IDE.disconnectAddIn", addIn->progId(), {std::to_string(removeMode)});
    auto instance = std::dynamic_pointer_cast<vbide::AddinInstance>(addIn->object());
    auto release = [&] {
        windows_->closeToolWindowsOf(addIn.get());
        addIn->setObject(nullptr);
    };
    std::vector<vb::Variant> custom;
    try {
        instance->OnDisconnection(removeMode, custom);
    } catch (...) {
        // The add-in goes whatever its disconnection handler did; the caller hears of the error.
        release();
        throw;
    }
    release();
}

std::vector<std::shared_ptr<SimAddIn>> SimVBE::addIns() const {
    return addIns_;
}

void SimVBE::endSession() {
    for (const auto& addIn : addIns_) {
        // Shutting down, the IDE goes on past an add-in that fails to disconnect.
        vb::silently([&] { disconnectAddIn(addIn, vbide::ext_dm_HostShutdown); });
    }
    commandBars_->endSession();
}

} // namespace sim

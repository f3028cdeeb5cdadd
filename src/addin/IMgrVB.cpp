#include "addin/IMgrVB.h"

#include "addin/buttonFace.h"
#include "addin/seenAs.h"
#include "addin/serverViewDoc.h"
#include "dialogs/WKfrmAbout.h"
#include "dialogs/splashscrnFrm.h"
#include "engine/ansi.h"
#include "engine/wkapis.h"
#include "engine/wkutil.h"
#include "model/ModelUtilVB.h"
#include "model/objectRef.h"
#include "notify/notificationThreadFrm.h"
#include "platform/errorhandling.h"
#include "platform/ui/Forms.h"
#include "platform/vbide/CommandBar.h"
#include "platform/vbide/CommandBarControl.h"
#include "platform/vbide/CommandBarControls.h"
#include "platform/vbide/CommandBarEvents.h"
#include "platform/vbide/CommandBars.h"
#include "platform/vbide/Constants.h"
#include "platform/vbide/Events.h"
#include "platform/vbide/FileControlEvents.h"
#include "platform/vbide/VBE.h"
#include "platform/vbide/VBProject.h"
#include "platform/vbide/Window.h"
#include "platform/vbide/Windows.h"

namespace nimb {

using wkutil::getString;

namespace {

constexpr int32_t ideTypeVB = 1;
constexpr int32_t accessOpen = 2;
constexpr int32_t accessCreate = 9;
constexpr char queryConsoleAction[] = "2";
constexpr char productInfoAction[] = "30";

std::shared_ptr<splashscrnFrm> splash() { return ui::Forms::instance<splashscrnFrm>(); }
} // namespace

// ---- Tables of the command-bar controls ---------------------------------------------------------

const std::vector<IMgrVB::ControlRow>& IMgrVB::toolbarRows() {
    static const std::vector<ControlRow> rows = {
        {"velmoraToolbarButton", &IMgrVB::velmoraToolbarButton, 301, 115, "1", &IMgrVB::velmoraToolbarEvent,
         &IMgrVB::velmoraToolbarEvent_Click},
        {"adminConsoleToolbarButton", &IMgrVB::adminConsoleToolbarButton, 303, 103, "3",
         &IMgrVB::adminConsoleToolbarEvent, &IMgrVB::adminConsoleToolbarEvent_Click},
        {"queryConsoleToolbarButton", &IMgrVB::queryConsoleToolbarButton, 304, 105, "2",
         &IMgrVB::queryConsoleToolbarEvent, &IMgrVB::queryConsoleToolbarEvent_Click},
        {"linkWizardToolbarButton", &IMgrVB::linkWizardToolbarButton, 305, 107, "4", &IMgrVB::LinkWizardToolbarEvent,
         &IMgrVB::LinkWizardToolbarEvent_Click},
        {"queryBuilderToolbarButton", &IMgrVB::queryBuilderToolbarButton, 302, 109, "5",
         &IMgrVB::queryBuilderToolbarEvent, &IMgrVB::queryBuilderToolbarEvent_Click},
        {"deployToolbarButton", &IMgrVB::deployToolbarButton, 314, 113, "10", &IMgrVB::deployToolbarEvent,
         &IMgrVB::deployToolbarEvent_Click},
        {"docLibraryToolbarButton", &IMgrVB::docLibraryToolbarButton, 306, 111, "6", &IMgrVB::docLibraryToolbarEvent,
         &IMgrVB::docLibraryToolbarEvent_Click},
    };
    return rows;
}

const std::vector<IMgrVB::MenuGroup>& IMgrVB::menuGroups() {
    static const std::vector<MenuGroup> groups = {
        {"viewMenuPopup", vbide::idViewMenu, &IMgrVB::viewMenuPopup, true,
         {
             {"devViewMenuItem", &IMgrVB::devViewMenuItem, 202, 0, nullptr, &IMgrVB::cbeDevViewMenuEvent,
              &IMgrVB::cbeDevViewMenuEvent_Click},
             {"outputViewMenuItem", &IMgrVB::outputViewMenuItem, 203, 0, "8", &IMgrVB::cbeOutputViewMenuEvent,
              &IMgrVB::cbeOutputViewMenuEvent_Click},
             {"editorViewMenuItem", &IMgrVB::editorViewMenuItem, 204, 0, "7", &IMgrVB::cbeEditorViewMenuEvent,
              &IMgrVB::cbeEditorViewMenuEvent_Click},
         }},
        {"toolsMenuPopup", vbide::idToolsMenu, &IMgrVB::toolsMenuPopup, true,
         {
             {"velmoraMenuItem", &IMgrVB::velmoraMenuItem, 206, 115, "1", &IMgrVB::cbeVelmoraMenuEvent,
              &IMgrVB::cbeVelmoraMenuEvent_Click},
             {"adminConsoleMenuItem", &IMgrVB::adminConsoleMenuItem, 208, 103, "3", &IMgrVB::cbeAdminConsoleMenuEvent,
              &IMgrVB::cbeAdminConsoleMenuEvent_Click},
             {"queryConsoleMenuItem", &IMgrVB::queryConsoleMenuItem, 209, 105, "2", &IMgrVB::cbeQueryConsoleMenuEvent,
              &IMgrVB::cbeQueryConsoleMenuEvent_Click},
             {"linkWizardMenuItem", &IMgrVB::linkWizardMenuItem, 210, 107, "4", &IMgrVB::cbeLinkWizardMenuEvent,
              &IMgrVB::cbeLinkWizardMenuEvent_Click},
             {"queryBuilderMenuItem", &IMgrVB::queryBuilderMenuItem, 207, 109, "5", &IMgrVB::cbeQueryBuilderMenuEvent,
              &IMgrVB::cbeQueryBuilderMenuEvent_Click},
             {"deployMenuItem", &IMgrVB::deployMenuItem, 219, 113, "10", &IMgrVB::cbeDeployMenuEvent,
              &IMgrVB::cbeDeployMenuEvent_Click},
         }},
        {"helpMenuPopup", vbide::idHelpMenu, &IMgrVB::helpMenuPopup, false,
         {
             {"srvViewHelpMenuItem", &IMgrVB::srvViewHelpMenuItem, 212, 0, "12", &IMgrVB::cbeWKSrvViewHelpMenuEvent,
              &IMgrVB::cbeWKSrvViewHelpMenuEvent_Click},
             {"docLibraryMenuItem", &IMgrVB::docLibraryMenuItem, 211, 111, "6", &IMgrVB::cbeDocLibraryMenuEvent,
              &IMgrVB::cbeDocLibraryMenuEvent_Click},
             {"productInfoMenuItem", &IMgrVB::productInfoMenuItem, 213, 0, "30", &IMgrVB::cbeProductInfoMenuEvent,
              &IMgrVB::cbeProductInfoMenuEvent_Click},
         }},
    };
    return groups;
}

std::shared_ptr<vbide::CommandBarControl> IMgrVB::controlNamed(const std::string& field) const {
    for (const auto& row : toolbarRows()) {
        if (field == row.name) return this->*row.field;
    }
    for (const auto& group : menuGroups()) {
        if (field == group.name) return this->*group.popup;
        for (const auto& row : group.items) {
            if (field == row.name) return this->*row.field;
        }
    }
    return nullptr;
}

// ---- Lifecycle ----------------------------------------------------------------------------------

IMgrVB::~IMgrVB() {
    modelUtil.reset();
    VBInstance_.reset();
    VBAddin_.reset();
    svrViewDoc.reset();
    toolWindow.reset();
}

void IMgrVB::setupIM(std::shared_ptr<vbide::VBE> myApp, std::shared_ptr<vbide::AddIn> myaddin) {
    vb::reraise([&] {
        VBInstance_ = std::move(myApp);
        VBAddin_ = std::move(myaddin);
        ideType = ideTypeVB;
    });
}

void IMgrVB::openWKCommunication() {
    std::string dir;
    vb::attemptEach({
        [&] { splash()->Show(ui::vbModeless); },
        [&] {
            auto model = std::make_shared<ModelUtilVB>();
            modelUtil = model;
            model->setVBInstance(VBInstance_);
        },
        [&] { savedWindowState = ideWindow()->WindowState(); },
        [&] { dir = resolveWKFileName(); },
        [&] { wkapis::WKInitialize(ideType, ansi::toAnsi(dir).c_str(), ""); },
        [&] { ui::Forms::instance<notificationThreadFrm>()->setIMMgr(shared_from_this()); },
    });
}

void IMgrVB::closeWKCommunication() {
    vb::attemptEach({
        [] { ui::Forms::unload<notificationThreadFrm>(); },
        [] { wkapis::WKTerminate(); },
        // A start that failed half-way leaves the splash up, and an about box may still be open:
        // once disconnected nothing of the add-in may stay on the screen.
        [] { ui::Forms::unload<splashscrnFrm>(); },
        [] { ui::Forms::unload<WKfrmAbout>(); },
    });
}

void IMgrVB::Hide() {}

// The folder handed to the engine at start; sets wkFileName and wkFileIsNew on the way.
std::string IMgrVB::resolveWKFileName() {
    auto proj = use(VBInstance_).ActiveVBProject();
    std::string stored = readWKFileName(proj);
    if (!stored.empty()) {
        wkFileName = stored;
        wkFileIsNew = false;
        return wkutil::getDirectory(stored);
    }
    std::string name = use(proj).Name();
    std::string dir = proj->FileName();
    if (auto slash = dir.rfind('\\'); !dir.empty() && slash != std::string::npos) {
        dir.resize(slash);
    }
    if (dir.empty()) {
        dir = VBInstance_->LastUsedPath();
        if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    }
    dir += "\\wk\\";
    wkFileName = dir + name + ".wkv";
    wkFileIsNew = true;
    return dir;
}

std::string IMgrVB::readWKFileName(const std::shared_ptr<vbide::VBProject>& proj) {
    std::string stored;
    // A project without the property raises; it simply has no engine project yet.
    vb::silently([&] { stored = use(proj).ReadProperty(wkFileSection, wkFileKey); });
    return stored;
}

std::shared_ptr<vbide::Window> IMgrVB::ideWindow() {
    auto window = use(VBInstance_).MainWindow();
    use(window);
    return window;
}

// ---- User interface -----------------------------------------------------------------------------

void IMgrVB::createWKUI() {
    vb::reraise([&] {
        auto events = use(VBInstance_).Events();
        evFiles = use(events).FileControlEvents(nullptr);
        use(evFiles).onAfterCloseFile([this](auto project, int32_t fileType, const std::string& fileName,
                                             bool wasDirty) {
            evFiles_AfterCloseFile(std::move(project), fileType, fileName, wasDirty);
        });
        evFiles->onAfterRemoveFile([this](auto project, int32_t fileType, const std::string& fileName) {
            evFiles_AfterRemoveFile(std::move(project), fileType, fileName);
        });
        evProjects_ = events->VBProjectsEvents();
        splash()->updateProgress(getString(643));
        createToolbar();
        splash()->updateProgress(getString(644));
        createMenus();
        splash()->updateProgress(getString(645));
        createToolWindow();
        splash()->updateProgress(getString(642));
    });
}

void IMgrVB::evFiles_AfterCloseFile(std::shared_ptr<vbide::VBProject>, int32_t, const std::string&, bool) {}

void IMgrVB::evFiles_AfterRemoveFile(std::shared_ptr<vbide::VBProject>, int32_t, const std::string&) {}

// Hidden until the engine reports its project loaded (showDevView).
void IMgrVB::createToolbar() {
    wkToolbar = use(use(VBInstance_).CommandBars()).Add(getString(300), vbide::msoBarTop, false, true);
    for (const auto& row : toolbarRows()) {
        auto& button = this->*row.field;
        button = use(use(wkToolbar).Controls()).Add({.Type = vbide::msoControlButton, .Temporary = true});
        use(button).setTooltipText(getString(row.textId));
        pasteButtonFace(*button, row.face);
        button->setOnAction(row.action);
    }
    for (const auto& row : toolbarRows()) subscribe(row);
}

void IMgrVB::createMenus() {
    createViewMenu();
    createToolsMenu();
    createHelpMenu();
}

void IMgrVB::createViewMenu() { createMenu(menuGroups()[0]); }
void IMgrVB::createToolsMenu() { createMenu(menuGroups()[1]); }
void IMgrVB::createHelpMenu() { createMenu(menuGroups()[2]); }

// Disabled until showDevView. A menu that cannot be made ends where it failed; the others still come.
void IMgrVB::createMenu(const MenuGroup& group) {
    vb::silently([&] {
        auto menu = use(use(use(VBInstance_).CommandBars()).Item(1)).FindControl({.Id = group.menuId});
        auto& popup = this->*group.popup;
        popup = use(use(menu).Controls()).Add({.Type = vbide::msoControlPopup, .Temporary = true});
        use(popup).setCaption(getString(201));
        if (group.beginGroup) popup->setBeginGroup(true);
        popup->setEnabled(false);
        for (const auto& row : group.items) {
            auto& item = this->*row.field;
            item = use(popup->Controls()).Add({.Type = vbide::msoControlButton, .Temporary = true});
            use(item).setCaption(getString(row.textId));
            if (row.face != 0) pasteButtonFace(*item, row.face);
            if (row.action != nullptr) item->setOnAction(row.action);
        }
        for (const auto& row : group.items) subscribe(row);
    });
}

void IMgrVB::subscribe(const ControlRow& row) {
    auto& sink = this->*row.sink;
    sink = use(use(VBInstance_).Events()).CommandBarEvents(this->*row.field);
    use(sink).onClick([this, handler = row.handler](vb::Object& control, bool& handled, bool& cancelDefault) {
        (this->*handler)(control, handled, cancelDefault);
    });
}

void IMgrVB::createToolWindow() {
    vb::reraise([&] {
        std::string caption = getString(400);
        std::shared_ptr<vb::Object> doc = svrViewDoc.lock();
        auto w = use(use(VBInstance_).Windows())
                     .CreateToolWindow(VBAddin_, serverViewDocProgId, caption, serverViewWindowGuid, doc);
        auto document = seenAs<serverViewDoc>(doc);
        svrViewDoc = document;
        toolWindow = w;
        use(document).setIMgr(shared_from_this());
        document->setupGUI();
    });
}

void IMgrVB::deleteWKUI() {
    vb::attemptEach({
        [&] { deleteMenus(); },
        [&] { deleteToolbar(); },
        [&] { releaseMenuEvents(); },
        [&] { releaseToolbarEvents(); },
        [&] { toolWindow.reset(); },
    });
}

// Each group: its items first, then the popup; a control that was never made or is gone is skipped.
void IMgrVB::deleteMenus() {
    for (const auto& group : menuGroups()) {
        for (const auto& row : group.items) {
            vb::silently([&] { use(this->*row.field).Delete(true); });
        }
        vb::silently([&] { use(this->*group.popup).Delete(true); });
        for (const auto& row : group.items) (this->*row.field).reset();
        (this->*group.popup).reset();
    }
}

void IMgrVB::deleteToolbar() {
    static const ControlField inDeletionOrder[] = {
        &IMgrVB::velmoraToolbarButton,      &IMgrVB::adminConsoleToolbarButton, &IMgrVB::queryConsoleToolbarButton,
        &IMgrVB::linkWizardToolbarButton,   &IMgrVB::queryBuilderToolbarButton, &IMgrVB::docLibraryToolbarButton,
        &IMgrVB::deployToolbarButton,
    };
    for (auto field : inDeletionOrder) {
        vb::silently([&] { use(this->*field).Delete(true); });
    }
    vb::silently([&] { use(wkToolbar).Delete(); });
    for (auto field : inDeletionOrder) (this->*field).reset();
    wkToolbar.reset();
}

void IMgrVB::releaseMenuEvents() {
    for (const auto& group : menuGroups()) {
        for (const auto& row : group.items) (this->*row.sink).reset();
    }
}

void IMgrVB::releaseToolbarEvents() {
    for (const auto& row : toolbarRows()) (this->*row.sink).reset();
}

// ---- Click handlers and tool launching ----------------------------------------------------------

void IMgrVB::cbeDevViewMenuEvent_Click(vb::Object&, bool&, bool&) {
    use(toolWindow).setVisible(true);
    toolWindow->SetFocus();
}

void IMgrVB::cbeOutputViewMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeEditorViewMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeVelmoraMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeLinkWizardMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeQueryConsoleMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeAdminConsoleMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeQueryBuilderMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeDeployMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeDocLibraryMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeWKSrvViewHelpMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::cbeProductInfoMenuEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::velmoraToolbarEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::queryConsoleToolbarEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::adminConsoleToolbarEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::LinkWizardToolbarEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::queryBuilderToolbarEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::deployToolbarEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }
void IMgrVB::docLibraryToolbarEvent_Click(vb::Object& control, bool&, bool&) { launchOnAction(control); }

// Late bound, as the handlers read it: whatever fired must answer to OnAction.
void IMgrVB::launchOnAction(vb::Object& control) {
    auto* fired = dynamic_cast<vbide::CommandBarControl*>(&control);
    if (fired == nullptr) {
        throw vb::VBError(vb::err::ObjectDoesNotSupport, "Object doesn't support this property or method");
    }
    launchTool(fired->OnAction());
}

void IMgrVB::launchTool(const std::string& action) {
    if (action == productInfoAction) {
        ui::Forms::instance<WKfrmAbout>()->Show(ui::vbModeless);
    } else if (action == queryConsoleAction) {
        int32_t r = 0;
        wkapis::WKLaunchApp(2, "-ccf", &r);
    } else {
        wkapis::WKLaunchNIMBTool(vb::Variant(action).toLong());
    }
}

// ---- IntegrationMgr -----------------------------------------------------------------------------

void IMgrVB::showDevView() {
    use(wkToolbar).setVisible(true);
    use(viewMenuPopup).setEnabled(true);
    use(toolsMenuPopup).setEnabled(true);
    use(helpMenuPopup).setEnabled(true);
    use(toolWindow).setVisible(true);
}

void IMgrVB::setWKFileName(const std::string& wkFile) { wkFileName = wkFile; }

std::string IMgrVB::getWKFileName() { return wkFileName; }

// The engine may rewrite the name in place; what it leaves is the name from then on.
void IMgrVB::openWKProject() {
    int32_t code = wkFileIsNew ? accessCreate : accessOpen;
    ansi::InOutBuffer name(wkFileName);
    ansi::InOutBuffer path("");
    wkapis::WKProjectDoAccess(name.data(), path.data(), code);
    wkFileName = name.text();
}

void IMgrVB::getProjList(std::vector<std::string>& projList) { use(modelUtil).getProjList(projList); }

void IMgrVB::getDataEnvList(std::vector<std::string>& dataEnvList, const std::string& projName) {
    use(modelUtil).getDataEnvList(dataEnvList, projName);
}

void IMgrVB::getConnectionList(std::vector<std::string>& conList, const std::string& dataenvName,
                               const std::string& projName) {
    use(modelUtil).getConnectionList(conList, dataenvName, projName);
}

std::shared_ptr<ModelUtil> IMgrVB::getModel() { return modelUtil; }

int32_t IMgrVB::getIdeType() { return ideType; }

// Not nested: a second minimize saves the minimized state, and the restore after it keeps the
// window minimized.
void IMgrVB::minimizeVSAppWin() {
    auto window = ideWindow();
    savedWindowState = window->WindowState();
    window->setWindowState(vbide::vbext_ws_Minimize);
}

void IMgrVB::restoreVSAppWinState() { ideWindow()->setWindowState(savedWindowState); }

} // namespace nimb

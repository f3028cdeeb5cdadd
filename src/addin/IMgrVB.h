// IMgrVB: the integration manager. It opens and closes the engine connection, builds and removes
// the add-in's toolbar, menu popups and tool window, and answers the rest of the add-in through
// the IntegrationMgr interface. One exists per connection of the add-in; Connect owns it.
#pragma once

#include "addin/IntegrationMgr.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vbide {
class AddIn;
class CommandBar;
class CommandBarControl;
class CommandBarEvents;
class FileControlEvents;
class VBE;
class VBProject;
class VBProjectsEvents;
class Window;
} // namespace vbide

namespace nimb {

class ModelUtil;
class serverViewDoc;

// The tool window's identity: the document class it hosts and the GUID under which the IDE keeps
// its docking and position.
inline constexpr char serverViewDocProgId[] = "nimbvbadd.serverViewDoc";
inline constexpr char serverViewWindowGuid[] = "{0B94D986-EEEA-4cbc-9652-C51DC0AD5704}";

class IMgrVB : public IntegrationMgr, public std::enable_shared_from_this<IMgrVB> {
public:
    IMgrVB() = default;
    ~IMgrVB() override;
    IMgrVB(const IMgrVB&) = delete;
    IMgrVB& operator=(const IMgrVB&) = delete;

    std::shared_ptr<vbide::VBProjectsEvents> evProjects() const { return evProjects_; }
    void setEvProjects(std::shared_ptr<vbide::VBProjectsEvents> events) { evProjects_ = std::move(events); }

    void setupIM(std::shared_ptr<vbide::VBE> myApp, std::shared_ptr<vbide::AddIn> myaddin);
    // Every step is attempted; a failing one is skipped.
    void openWKCommunication();
    void closeWKCommunication();
    // Raises the first error; what was built before it stays.
    void createWKUI();
    // Every step is attempted; a control that is gone already is skipped.
    void deleteWKUI();
    void Hide();

    std::shared_ptr<vbide::VBE> VBInstance() const { return VBInstance_; }
    std::shared_ptr<vbide::AddIn> VBAddin() const { return VBAddin_; }

    // For inspection by the host and tests: the command-bar control held in the field of that name
    // ("wkToolbar" is a bar, not a control, and is not served); Nothing when there is no such
    // field or it is empty.
    std::shared_ptr<vbide::CommandBarControl> controlNamed(const std::string& field) const;

    // IntegrationMgr
    void showDevView() override;
    void setWKFileName(const std::string& wkFile) override;
    std::string getWKFileName() override;
    void openWKProject() override;
    void getProjList(std::vector<std::string>& projList) override;
    void getDataEnvList(std::vector<std::string>& dataEnvList, const std::string& projName) override;
    void getConnectionList(std::vector<std::string>& conList, const std::string& dataenvName,
                           const std::string& projName) override;
    std::shared_ptr<ModelUtil> getModel() override;
    int32_t getIdeType() override;
    void minimizeVSAppWin() override;
    void restoreVSAppWinState() override;

private:
    using ControlField = std::shared_ptr<vbide::CommandBarControl> IMgrVB::*;
    using SinkField = std::shared_ptr<vbide::CommandBarEvents> IMgrVB::*;
    using ClickHandler = void (IMgrVB::*)(vb::Object& control, bool& handled, bool& cancelDefault);

    // One toolbar button or menu item: its field, text, face, action code and event sink.
    struct ControlRow {
        const char* name;
        ControlField field;
        int32_t textId;      // the caption of a menu item, the tooltip of a toolbar button
        int32_t face;        // bitmap resource; 0: none
        const char* action;  // OnAction; nullptr: none
        SinkField sink;
        ClickHandler handler;
    };
    // One of the three popups under the IDE's own menus.
    struct MenuGroup {
        const char* name;
        int32_t menuId;  // the IDE menu's control id on its menu bar
        ControlField popup;
        bool beginGroup;
        std::vector<ControlRow> items;
    };

    std::string resolveWKFileName();
    std::string readWKFileName(const std::shared_ptr<vbide::VBProject>& proj);
    // Held by the caller: over COM the IDE's window object lives only as long as someone holds it.
    std::shared_ptr<vbide::Window> ideWindow();

    void createToolbar();
    void createMenus();
    void createViewMenu();
    void createToolsMenu();
    void createHelpMenu();
    void createMenu(const MenuGroup& group);
    void subscribe(const ControlRow& row);
    void createToolWindow();
    void launchTool(const std::string& action);

    void deleteMenus();
    void deleteToolbar();
    void releaseMenuEvents();
    void releaseToolbarEvents();

    static const std::vector<ControlRow>& toolbarRows();
    static const std::vector<MenuGroup>& menuGroups();

    // Click handlers. Every one but cbeDevViewMenuEvent_Click launches the tool named by the
    // OnAction of the control that fired, whichever field that control is.
    void cbeDevViewMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeOutputViewMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeEditorViewMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeVelmoraMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeLinkWizardMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeQueryConsoleMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeAdminConsoleMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeQueryBuilderMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeDeployMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeDocLibraryMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeWKSrvViewHelpMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void cbeProductInfoMenuEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void velmoraToolbarEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void queryConsoleToolbarEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void adminConsoleToolbarEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void LinkWizardToolbarEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void queryBuilderToolbarEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void deployToolbarEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void docLibraryToolbarEvent_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void launchOnAction(vb::Object& control);

    void evFiles_AfterCloseFile(std::shared_ptr<vbide::VBProject> project, int32_t fileType, const std::string& fileName,
                                bool wasDirty);
    void evFiles_AfterRemoveFile(std::shared_ptr<vbide::VBProject> project, int32_t fileType, const std::string& fileName);

    std::shared_ptr<vbide::VBE> VBInstance_;
    std::shared_ptr<vbide::AddIn> VBAddin_;
    std::shared_ptr<ModelUtil> modelUtil;
    int32_t ideType = 0;
    std::string wkFileName;
    bool wkFileIsNew = false;
    int32_t savedWindowState = 0;
    // The IDE owns the document through its window, and the document holds this manager: a strong
    // reference back would keep both alive after the IDE destroys the window.
    std::weak_ptr<serverViewDoc> svrViewDoc;
    std::shared_ptr<vbide::Window> toolWindow;
    std::shared_ptr<vbide::VBProjectsEvents> evProjects_;
    std::shared_ptr<vbide::FileControlEvents> evFiles;

    std::shared_ptr<vbide::CommandBarControl> viewMenuPopup, devViewMenuItem, outputViewMenuItem, editorViewMenuItem;
    std::shared_ptr<vbide::CommandBarControl> toolsMenuPopup, velmoraMenuItem, adminConsoleMenuItem,
        queryConsoleMenuItem, linkWizardMenuItem, queryBuilderMenuItem, deployMenuItem;
    std::shared_ptr<vbide::CommandBarControl> helpMenuPopup, srvViewHelpMenuItem, docLibraryMenuItem,
        productInfoMenuItem;
    std::shared_ptr<vbide::CommandBar> wkToolbar;
    std::shared_ptr<vbide::CommandBarControl> velmoraToolbarButton, adminConsoleToolbarButton,
        queryConsoleToolbarButton, linkWizardToolbarButton, queryBuilderToolbarButton, deployToolbarButton,
        docLibraryToolbarButton;

    std::shared_ptr<vbide::CommandBarEvents> cbeDevViewMenuEvent, cbeOutputViewMenuEvent, cbeEditorViewMenuEvent;
    std::shared_ptr<vbide::CommandBarEvents> cbeVelmoraMenuEvent, cbeAdminConsoleMenuEvent, cbeQueryConsoleMenuEvent,
        cbeLinkWizardMenuEvent, cbeQueryBuilderMenuEvent, cbeDeployMenuEvent;
    std::shared_ptr<vbide::CommandBarEvents> cbeWKSrvViewHelpMenuEvent, cbeDocLibraryMenuEvent,
        cbeProductInfoMenuEvent;
    std::shared_ptr<vbide::CommandBarEvents> velmoraToolbarEvent, adminConsoleToolbarEvent, queryConsoleToolbarEvent,
        LinkWizardToolbarEvent, queryBuilderToolbarEvent, deployToolbarEvent, docLibraryToolbarEvent;
};

} // namespace nimb

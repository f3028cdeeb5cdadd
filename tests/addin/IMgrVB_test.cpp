// IMgrVB: the engine connection it opens, the command bars and tool window it builds, what each
// control launches, and its IntegrationMgr operations as the poller and the server view call them.
#include "AddinFixture.h"

#include "dialogs/WKfrmAbout.h"
#include "model/ModelUtilVB.h"
#include "platform/sim/Journal.h"
#include "platform/vbide/Constants.h"

#include <optional>

namespace {

using namespace addintest;

// ---- The engine project file and the directory handed to WKInitialize ----

struct StartCase {
    const char* name;
    std::string fileName, lastUsedPath;
    std::optional<std::string> stored;
    std::string initDir, access;  // WKInitialize's directory; WKProjectDoAccess's name and code
};

class AddinEngineFileTest : public AddinTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(AddinEngineFileTest, DirectoryAndAccessCodeFollowTheProject) {
    const auto& c = GetParam();
    ide->setLastUsedPath(c.lastUsedPath);
    auto p = ide->addProject("Project1", c.fileName);
    if (c.stored) p->setProperty(nimb::wkFileSection, nimb::wkFileKey, *c.stored);
    connect();
    ASSERT_TRUE(clickAddInsEntry());
    EXPECT_EQ(engine.callsTo("WKInitialize"), std::vector<std::string>{"WKInitialize(1, \"" + c.initDir + "\", \"\")"});
    manager()->openWKProject();
    EXPECT_EQ(engine.callsTo("WKProjectDoAccess"), std::vector<std::string>{"WKProjectDoAccess(" + c.access + ")"});
}

INSTANTIATE_TEST_SUITE_P(
    Projects, AddinEngineFileTest,
    ::testing::Values(
        StartCase{"saved", "C:\\Work\\Project1.vbp", "C:\\Other\\", {}, "C:\\Work\\wk\\",
                  "\"C:\\Work\\wk\\Project1.wkv\", \"\", 9"},
        StartCase{"unsaved", "", "C:\\Projects\\", {}, "C:\\Projects\\wk\\",
                  "\"C:\\Projects\\wk\\Project1.wkv\", \"\", 9"},
        StartCase{"unsavedNoSlash", "", "C:\\Projects", {}, "C:\\Projects\\wk\\",
                  "\"C:\\Projects\\wk\\Project1.wkv\", \"\", 9"},
        StartCase{"stored", "C:\\Work\\Project1.vbp", "", "D:\\x\\p.wkv", "D:\\x", "\"D:\\x\\p.wkv\", \"\", 2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddinTest, StartLoadsThePollerAndAManagerOverTheVBModel) {
    start();
    EXPECT_TRUE(ui::Forms::find("notificationThreadFrm"));
    EXPECT_EQ(manager()->getIdeType(), 1);
    auto model = std::dynamic_pointer_cast<nimb::ModelUtilVB>(manager()->getModel());
    ASSERT_TRUE(model);
    EXPECT_EQ(model->VBInstance(), ide);
}

TEST_F(AddinTest, AFailingStepOfTheConnectionIsSkipped) {
    ide->journal().failNext("VBE.ActiveVBProject", vb::VBError(5, "Invalid procedure call or argument"));
    start();
    EXPECT_EQ(engine.callsTo("WKInitialize"), std::vector<std::string>{"WKInitialize(1, \"\", \"\")"});
    EXPECT_EQ(manager()->getWKFileName(), "");
    EXPECT_TRUE(ui::Forms::find("notificationThreadFrm"));
    EXPECT_TRUE(messages().empty());
}

// ---- Command bars ----

struct ControlCase {
    const char* field;
    std::string text;     // caption of a menu item, tooltip of a button
    const char* face;     // nullptr: none
    std::string action;   // OnAction
    std::string launches; // the engine call a click makes; "" none
};

const ControlCase controlCases[] = {
    {"devViewMenuItem", "t202", nullptr, "", ""},
    {"outputViewMenuItem", "t203", nullptr, "8", "WKLaunchNIMBTool(8)"},
    {"editorViewMenuItem", "t204", nullptr, "7", "WKLaunchNIMBTool(7)"},
    {"velmoraMenuItem", "t206", "bitmap 115", "1", "WKLaunchNIMBTool(1)"},
    {"adminConsoleMenuItem", "t208", "bitmap 103", "3", "WKLaunchNIMBTool(3)"},
    {"queryConsoleMenuItem", "t209", "bitmap 105", "2", "WKLaunchApp(2, \"-ccf\", 0)"},
    {"linkWizardMenuItem", "t210", "bitmap 107", "4", "WKLaunchNIMBTool(4)"},
    {"queryBuilderMenuItem", "t207", "bitmap 109", "5", "WKLaunchNIMBTool(5)"},
    {"deployMenuItem", "t219", "bitmap 113", "10", "WKLaunchNIMBTool(10)"},
    {"srvViewHelpMenuItem", "t212", nullptr, "12", "WKLaunchNIMBTool(12)"},
    {"docLibraryMenuItem", "t211", "bitmap 111", "6", "WKLaunchNIMBTool(6)"},
    {"productInfoMenuItem", "t213", nullptr, "30", ""},
    {"velmoraToolbarButton", "t301", "bitmap 115", "1", "WKLaunchNIMBTool(1)"},
    {"adminConsoleToolbarButton", "t303", "bitmap 103", "3", "WKLaunchNIMBTool(3)"},
    {"queryConsoleToolbarButton", "t304", "bitmap 105", "2", "WKLaunchApp(2, \"-ccf\", 0)"},
    {"linkWizardToolbarButton", "t305", "bitmap 107", "4", "WKLaunchNIMBTool(4)"},
    {"queryBuilderToolbarButton", "t302", "bitmap 109", "5", "WKLaunchNIMBTool(5)"},
    {"deployToolbarButton", "t314", "bitmap 113", "10", "WKLaunchNIMBTool(10)"},
    {"docLibraryToolbarButton", "t306", "bitmap 111", "6", "WKLaunchNIMBTool(6)"},
};

TEST_F(AddinTest, EveryControlCarriesItsTextFaceAndActionAndLaunchesItsTool) {
    start();
    manager()->showDevView();
    for (const auto& c : controlCases) {
        SCOPED_TRACE(c.field);
        auto ctl = control(c.field);
        ASSERT_TRUE(ctl);
        bool isButton = std::string(c.field).ends_with("ToolbarButton");
        EXPECT_EQ(isButton ? ctl->tooltipText() : ctl->caption(), c.text);
        EXPECT_EQ(ctl->face() ? ctl->face()->name() : "", c.face ? c.face : "");
        EXPECT_EQ(ctl->onAction(), c.action);
        EXPECT_TRUE(ctl->temporary());
        engine.clearJournal();
        toolWindow()->setVisible(false);
        ASSERT_TRUE(ide->click(ctl));
        EXPECT_EQ(engineActions(), c.launches.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.launches});
        EXPECT_EQ(toolWindow()->visible() && toolWindow()->hasFocus(), c.action.empty());
        EXPECT_EQ(ui::Forms::isLoaded<nimb::WKfrmAbout>(), c.action == "30");
        ui::Forms::unload<nimb::WKfrmAbout>();
    }
    control("velmoraToolbarButton")->setOnAction("12");  // the handler reads what fired, not its field
    engine.clearJournal();
    ASSERT_TRUE(ide->click(control("velmoraToolbarButton")));
    EXPECT_EQ(engineActions(), std::vector<std::string>{"WKLaunchNIMBTool(12)"});
}

TEST_F(AddinTest, ToolbarHiddenAndPopupsDisabledUntilShowDevView) {
    start();
    auto bar = ide->commandBars()->bar("t300");
    ASSERT_TRUE(bar);
    const char* popups[] = {"viewMenuPopup", "toolsMenuPopup", "helpMenuPopup"};
    auto check = [&](bool running) {
        EXPECT_EQ(bar->visible(), running);
        EXPECT_EQ(toolWindow()->visible(), running);
        for (const char* name : popups) EXPECT_EQ(control(name)->enabled(), running) << name;
    };
    check(false);
    EXPECT_EQ(control("viewMenuPopup")->path(), "Menu Bar/View/t201");
    EXPECT_EQ(control("toolsMenuPopup")->path(), "Menu Bar/Tools/t201");
    EXPECT_EQ(control("helpMenuPopup")->path(), "Menu Bar/Help/t201");
    EXPECT_TRUE(control("viewMenuPopup")->beginGroup() && control("toolsMenuPopup")->beginGroup());
    EXPECT_FALSE(control("helpMenuPopup")->beginGroup());
    manager()->showDevView();
    check(true);
    manager()->showDevView();
    check(true);
}

TEST_F(AddinTest, AMenuThatCannotBeBuiltStopsThereAndTheOthersStillCome) {
    auto menuBar = ide->commandBars()->bar("Menu Bar");
    for (const auto& menu : menuBar->controls()->controls()) {
        if (menu->id() == vbide::idViewMenu) {
            menuBar->controls()->remove(menu.get(), false);
            break;
        }
    }
    ide->journal().failNext("CommandBarControl.PasteFace[t209]", vb::VBError(5, "Face refused"));
    start();
    EXPECT_FALSE(control("viewMenuPopup"));
    EXPECT_EQ(control("queryConsoleMenuItem")->onAction(), "");  // made, then the menu ended
    EXPECT_FALSE(control("linkWizardMenuItem"));
    EXPECT_EQ(control("velmoraMenuItem")->subscriberCount(), 0);  // sinks come after all items
    EXPECT_EQ(control("productInfoMenuItem")->subscriberCount(), 1);
    EXPECT_FALSE(control("addInMenuItem")->enabled());
    EXPECT_TRUE(messages().empty());
}

TEST_F(AddinTest, ClosingOrRemovingAFileHasNoVisibleEffect) {
    start();
    engine.clearJournal();
    ide->closeFile(project, 5, "Form1.frm", true);
    ide->removeFile(project, 1, "Module1.bas");
    EXPECT_TRUE(engine.journal().empty());
    EXPECT_TRUE(messages().empty());
}

// ---- IntegrationMgr ----

TEST_F(AddinTest, OpenWKProjectTakesTheNameTheEngineLeavesAndKeepsTheCode) {
    start();
    auto mgr = manager();
    engine.setAccessFileName("C:\\Work\\wk\\Other.wkv");
    mgr->openWKProject();
    EXPECT_EQ(mgr->getWKFileName(), "C:\\Work\\wk\\Other.wkv");
    engine.setAccessFileName("");
    mgr->setWKFileName("E:\\p.wkv");
    mgr->openWKProject();
    EXPECT_EQ(engine.callsTo("WKProjectDoAccess").back(), "WKProjectDoAccess(\"E:\\p.wkv\", \"\", 9)");
    EXPECT_EQ(mgr->getWKFileName(), "");
}

TEST_F(AddinTest, MinimizeAndRestoreActOnTheMainWindowWithoutNesting) {
    struct Case {
        const char* name;
        std::vector<char> steps;  // 'm' minimize, 'r' restore, 'n' the person makes it normal
        int32_t expected;
    } cases[] = {{"restore alone", {'n', 'r'}, vbide::vbext_ws_Maximize},
                 {"pair", {'m', 'r'}, vbide::vbext_ws_Maximize},
                 {"two minimizes", {'m', 'm', 'r'}, vbide::vbext_ws_Minimize}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ide = sim::SimVBE::create();
        ide->mainWindow()->setState(vbide::vbext_ws_Maximize);
        start();
        auto mgr = manager();
        for (char step : c.steps) {
            if (step == 'm') mgr->minimizeVSAppWin();
            if (step == 'r') mgr->restoreVSAppWinState();
            if (step == 'n') ide->mainWindow()->setState(vbide::vbext_ws_Normal);
        }
        EXPECT_EQ(ide->mainWindow()->windowState(), c.expected);
        ide->endSession();
        ui::Forms::unloadAll();
    }
}

} // namespace

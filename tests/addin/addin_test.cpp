// The add-in core where no transcript shows it: the interface font read from the engine's texts, a
// connection by something that is not the IDE, disconnection leaving no manager or poller behind, a
// failing connection step, menus that cannot be built, the engine project's name as the engine
// leaves it, and the server view document (no control, the font rule, the control filling it, what
// its end releases). What loading adds and reads, the engine project each kind of VB project gets,
// what every control launches, file events, minimizing the IDE and the errors of connection and start
// are shown by the start_and_view, no_project, saved_project, unsaved_no_slash,
// engine_project_option, commands, engine_texts and ide_failures scenarios.
#include "AddinFixture.h"

#include "model/ModelUtilVB.h"
#include "notify/viewAPIs.h"
#include "platform/sim/Journal.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Picture.h"
#include "platform/ui/TreeView.h"
#include "platform/vbide/Constants.h"

namespace {

using namespace addintest;

TEST_F(AddinTest, UserInterfaceFontComesFromTexts100And101) {
    struct Case {
        std::string name, size;
        int32_t expectedSize, expectedCharset;
    } cases[] = {{"Arial", "10pt", 10, 1}, {"Arial", "8.5", 8, 1}, {"Arial", "", 9, 1}, {"Arial", "9.5", 10, 1},
                 {"宋体", "9", 9, 134}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        engine.setString(100, c.name);
        engine.setString(101, c.size);
        auto connection = std::make_shared<nimb::Connect>();
        std::vector<vb::Variant> custom;
        connection->OnConnection(ide, 0, nullptr, custom);
        EXPECT_EQ(nimb::wkutil::uiFontName(), c.name);
        EXPECT_EQ(nimb::wkutil::uiFontSize(), c.expectedSize);
        EXPECT_EQ(nimb::wkutil::uiFontCharset(), c.expectedCharset);
        connection->OnDisconnection(0, custom);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(AddinTest, ConnectionErrorsShowNumberColonDescriptionAndStopThere) {
    std::vector<vb::Variant> custom;
    auto picture = std::make_shared<ui::Picture>(ui::PictureKind::Bitmap, 1, 1, "not an IDE");
    for (auto [application, text] : {std::pair<std::shared_ptr<vb::Object>, std::string>{
                                         nullptr, "91:Object variable or With block variable not set"},
                                     {picture, "13:Type mismatch"}}) {
        user->answerMsgBox(ui::mb::OK);
        std::make_shared<nimb::Connect>()->OnConnection(application, 0, nullptr, custom);
        EXPECT_EQ(messages().back(), text);
    }
    // A failure while the entry is being made is shown by the ide_failures scenario.
}

TEST_F(AddinTest, DisconnectionLeavesNoControlWindowOrManagerBehind) {
    for (bool started : {false, true}) {
        SCOPED_TRACE(started ? "started" : "never started");
        ide = sim::SimVBE::create();
        engine.clearJournal();
        std::weak_ptr<nimb::IntegrationMgr> mgr;
        if (started) {
            start();
            mgr = manager();
            ASSERT_FALSE(mgr.expired());
        } else {
            connect();
        }
        ide->disconnectAddIn(addIn);
        EXPECT_TRUE(foreignControls(*ide).empty());
        EXPECT_TRUE(ide->toolWindows().empty());
        EXPECT_TRUE(mgr.expired());
        EXPECT_TRUE(ui::Forms::find("notificationThreadFrm") == nullptr);
        EXPECT_EQ(engine.journal().back(), "WKTerminate()");
        EXPECT_EQ(engine.callsTo("WKInitialize").size(), started ? 1u : 0u);
        ui::Forms::unloadAll();
    }
    EXPECT_TRUE(messages().empty());
}

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

TEST_F(AddinTest, WithoutAServerViewTheStartFailsVisibly) {
    nimb::setServerViewControlFactory(nullptr);
    EXPECT_THROW(ui::New<nimb::serverViewDoc>()->setupGUI(), vb::VBError);
    user->answerMsgBox(ui::mb::OK);
    start();
    EXPECT_EQ(messages(), std::vector<std::string>{"91Object variable or With block variable not set"});
    EXPECT_TRUE(control("addInMenuItem")->enabled());
}

TEST_F(AddinTest, DocumentTakesTheInterfaceFontOnlyWhenItsOwnDiffers) {
    struct Case {
        std::string uiName;
        int32_t uiSize;
    } cases[] = {{"Arial", 9}, {"Arial", 10}, {"Tahoma", 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uiName + " " + std::to_string(c.uiSize));
        nimb::wkutil::moduleState().uiFontName = c.uiName;
        nimb::wkutil::moduleState().uiFontSize = c.uiSize;
        nimb::wkutil::moduleState().uiFontCharset = 134;
        auto doc = ui::New<nimb::serverViewDoc>();
        EXPECT_EQ(doc->Font(), (ui::Font{.Name = c.uiName, .Size = static_cast<float>(c.uiSize), .Charset = 0}));
    }
}

TEST_F(AddinTest, ControlFillsTheDocumentHeightFirst) {
    auto doc = ui::New<nimb::serverViewDoc>();
    doc->Move(0, 0, 5000, 3000);
    EXPECT_EQ(views[0]->sizes, (std::vector<std::pair<int32_t, int32_t>>{{0, 3000}, {5000, 3000}}));
    for (auto [w, h] : {std::pair{1, 1}, std::pair{12000, 200}, std::pair{0, 0}}) {
        doc->Move(0, 0, w, h);
        EXPECT_EQ(views[0]->Width(), w);
        EXPECT_EQ(views[0]->Height(), h);
    }
}

TEST_F(AddinTest, DocumentEndReleasesTreeListAndManagerButNotTheModuleManager) {
    auto mgr = std::make_shared<nimb::IntegrationMgr>();
    nimb::viewAPIs::setServerTreeView(std::make_shared<ui::TreeView>());
    nimb::viewAPIs::setServerDetailsView(std::make_shared<ui::ListView>());
    nimb::viewAPIs::setIMgr(mgr);
    auto doc = ui::New<nimb::serverViewDoc>();
    doc->setIMgr(mgr);
    doc.reset();
    EXPECT_FALSE(nimb::viewAPIs::moduleState().serverTreeView);
    EXPECT_FALSE(nimb::viewAPIs::moduleState().serverDetailsView);
    EXPECT_EQ(mgr.use_count(), 2);  // the test and the module
    nimb::viewAPIs::resetModuleState();
}

} // namespace

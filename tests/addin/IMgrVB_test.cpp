// IMgrVB where a person cannot see it: a failing connection step, menus that cannot be built, and the
// engine project's name as the engine leaves it. The engine project each kind of VB project gets,
// what every control launches, file events and minimizing the IDE are shown by the no_project,
// saved_project, unsaved_no_slash, engine_project_option, commands and engine_texts scenarios.
#include "AddinFixture.h"

#include "model/ModelUtilVB.h"
#include "platform/sim/Journal.h"
#include "platform/vbide/Constants.h"

namespace {

using namespace addintest;

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

} // namespace

// svrViewCtl set-up: IDE-kind items, the font rule and what termination lets go. (Every menu's texts
// and codes are in the start_and_view scenario; resizing and the splitter drag, its bounds included,
// in the splitter scenario.)
#include "ServerViewFixture.h"

#include <algorithm>

namespace {

using namespace svtest;

TEST_F(ServerViewTest, DataEnvironmentAndCodeItemsFollowTheIdeKindAskedTwice) {
    struct Case {
        int32_t ideType;
        bool objectItems, codeItems;
    } cases[] = {{1, true, true}, {2, false, false}, {3, false, true}};
    for (const auto& c : cases) {
        mgr->ideType = c.ideType;
        mgr->log.clear();
        ctl = start();
        EXPECT_EQ(std::count(mgr->log.begin(), mgr->log.end(), "getIdeType"), 2);
        for (const auto& item : {ctl->adoConObjMnuItem, ctl->addCmdObjMnuItem})
            EXPECT_EQ(item->Visible(), c.objectItems);
        for (const auto& item :
             {ctl->dbConSep, ctl->devObjSep, ctl->adoConCodeMnuItem, ctl->addCmdCodeMnuItem})
            EXPECT_EQ(item->Visible(), c.codeItems) << c.ideType << item->Name();
    }
}

TEST_F(ServerViewTest, FontsChangeOnlyWhenNameSizeOrCharacterSetDiffers) {
    const ui::Font uiFont{.Name = "Arial", .Size = 9, .Charset = 1}, untouched{};
    struct Case {
        ui::Font own;
        bool changes;
    } cases[] = {{uiFont, false},
                 {{.Name = "Arial", .Size = 9, .Charset = 0}, true},
                 {{.Name = "Tahoma", .Size = 9, .Charset = 1}, true},
                 {{.Name = "Arial", .Size = 10, .Charset = 1}, true}};
    for (const auto& c : cases) {
        auto fresh = ui::New<nimb::svrViewCtl>();
        fresh->setFont(c.own);
        fresh->setIMgr(mgr);
        fresh->setupGUI();
        EXPECT_EQ(fresh->Font(), c.changes ? uiFont : c.own);
        EXPECT_EQ(fresh->serverTreeView->Font(), c.changes ? uiFont : untouched);
        EXPECT_EQ(fresh->serverDetailsView->Font(), c.changes ? uiFont : untouched);
    }
}

TEST_F(ServerViewTest, TerminationLetsGoOfNodesItemsImagesAndTheManager) {
    buildTree();
    ctl->serverTreeView->click(node("K21"));
    addRoutine(100, "SQL", true, "");
    std::weak_ptr<ui::Node> shown = node("K21");
    auto tree = ctl->serverTreeView;
    auto list = ctl->serverDetailsView;
    ctl.reset();
    EXPECT_TRUE(shown.expired());
    EXPECT_EQ(tree->Nodes().Count() + list->ListItems().Count(), 0);
    EXPECT_TRUE(!tree->ImageList() && !list->Icons() && !list->SmallIcons());
    EXPECT_EQ(mgr.use_count(), 2); // the fixture and the tree-update module
    tree->mouseMove(0, 0, 0, 0);   // a view that outlives the control no longer reaches it
}

} // namespace

// svrViewCtl set-up and layout: IDE-kind items, the font rule, the splitter drag's bounds and what
// termination lets go. (Every menu's texts and codes are in the start_and_view scenario, resizing
// in the splitter scenario.)
#include "ServerViewFixture.h"

#include <array>
#include <functional>

namespace {

using namespace svtest;

std::array<int32_t, 4> box(const ui::Control& c) {
    return {c.Left(), c.Top(), c.Width(), c.Height()};
}

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

// Mouse events: on the control (C: button, x, y), mouse up on the control (U: x), over the tree (T)
// and over the list (L). The control is 10000 x 5000 twips, the bar at 2500..2560.
struct Mouse {
    char where;
    int16_t button;
    int32_t x, y;
};

TEST_F(ServerViewTest, SplitterDragsWithinBoundsAndTheArrowFollowsTheBar) {
    struct Case {
        std::vector<Mouse> events;
        int32_t treeWidth;
        int16_t pointer;
        bool dragging;
    } cases[] = {
        {{{'C', 0, 2530, 100}}, 2500, ui::vbSizeWE, false},
        {{{'C', 1, 2530, 100}}, 2530, ui::vbSizeWE, true},
        {{{'C', 1, 2400, 100}}, 2500, ui::vbDefault, false},
        {{{'C', 1, 2530, 100}, {'C', 1, 4000, 9999}, {'U', 0, 4000, 0}}, 4000, ui::vbDefault, false},
        {{{'C', 1, 2530, 100}, {'C', 1, 360, 100}}, 2530, ui::vbSizeWE, true},
        {{{'C', 1, 2530, 100}, {'C', 1, 361, 100}}, 361, ui::vbSizeWE, true},
        {{{'C', 1, 2530, 100}, {'C', 1, 9540, 100}}, 2530, ui::vbSizeWE, true},
        {{{'C', 1, 2530, 100}, {'C', 1, 9539, 100}}, 9539, ui::vbSizeWE, true},
        {{{'C', 1, 2530, 100}, {'U', 0, 9999, 0}}, 2530, ui::vbDefault, false},
        {{{'C', 0, 2565, 100}}, 2500, ui::vbSizeWE, false},
        {{{'C', 0, 2566, 100}}, 2500, ui::vbDefault, false},
        {{{'C', 0, 2530, 0}}, 2500, ui::vbDefault, false},
        {{{'C', 0, 2530, 5000}}, 2500, ui::vbDefault, false},
        {{{'C', 0, 2530, 100}, {'C', 0, 9000, 5000}}, 2500, ui::vbSizeWE, false},
        {{{'C', 0, 2530, 100}, {'T', 0, 0, 0}}, 2500, ui::vbDefault, false},
        {{{'C', 0, 2530, 100}, {'L', 0, 0, 0}}, 2500, ui::vbDefault, false},
        {{{'C', 1, 2530, 100}, {'L', 1, 0, 0}}, 2530, ui::vbSizeWE, true},
        {{{'U', 0, 4000, 0}}, 2500, ui::vbDefault, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        ctl = start();
        for (const auto& e : cases[i].events) {
            if (e.where == 'C')
                ctl->mouseMove(e.button, 0, e.x, e.y);
            if (e.where == 'U')
                ctl->mouseUp(1, 0, e.x, e.y);
            if (e.where == 'T')
                ctl->serverTreeView->mouseMove(e.button, 0, e.x, e.y);
            if (e.where == 'L')
                ctl->serverDetailsView->mouseMove(e.button, 0, e.x, e.y);
        }
        const int32_t w = cases[i].treeWidth;
        EXPECT_EQ(box(*ctl->serverTreeView), (std::array{0, 0, w, 5000})) << "case " << i;
        EXPECT_EQ(box(*ctl->splitPane), (std::array{w, 0, 60, 5000})) << "case " << i;
        EXPECT_EQ(box(*ctl->serverDetailsView), (std::array{w + 60, 0, 10000 - w - 60, 5000}))
            << "case " << i;
        EXPECT_EQ(ctl->MousePointer(), cases[i].pointer) << "case " << i;
        EXPECT_EQ(ctl->draggingSplitter(), cases[i].dragging) << "case " << i;
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

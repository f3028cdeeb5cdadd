// svrViewCtl making a node the current folder where no transcript shows it: whole-row selection,
// column keys, no widths saved without a folder shown, and a bad key. (The columns of every kind, the
// engine told, double clicks, widths remembered per kind and the list refilled after a right-click
// are in the start_and_view and commands scenarios.)
#include "ServerViewFixture.h"

namespace {

using namespace svtest;

std::vector<float> widths(const ui::ListView& list) {
    std::vector<float> out;
    for (const auto& c : list.ColumnHeaders().items())
        out.push_back(c->Width());
    return out;
}
using Texts = std::vector<std::string>;

// The columns of every kind and the engine told are shown by the start_and_view scenario; what its
// transcript leaves out is here: whole rows selected in a folder only, columns keyed by their titles.
TEST_F(ServerViewTest, AFolderSelectsWholeRowsAndKeysItsColumnsByTheirTitles) {
    buildTree();
    for (auto [key, folder] : {std::pair{"K22", true}, {"K20", false}, {"K25", true}}) {
        ctl->serverTreeView->click(node(key));
        EXPECT_EQ(list().FullRowSelect(), folder) << key;
        for (const auto& c : list().ColumnHeaders().items())
            EXPECT_EQ(c->Key(), c->Text());
        EXPECT_EQ(ctl->previousSelNode(), node(key));
    }
}

TEST_F(ServerViewTest, WidthsAreNotSavedWithoutAShownFolder) {
    buildTree();
    ctl->saveColumnWidths(); // nothing shown yet
    ctl->serverTreeView->click(node("K23"));
    list().ColumnHeaders().Item(1)->setWidth(99);
    ctl->setPreviousSelNode(node("K20"));
    ctl->serverTreeView->click(node("K24"));
    ctl->serverTreeView->click(node("K23"));
    EXPECT_EQ(widths(list()), std::vector<float>(5, 1440));
}

TEST_F(ServerViewTest, ABadKeyStopsAfterClearingTheListAndNoSelectionChangesNothing) {
    buildTree();
    ctl->serverTreeView->click(node("K21"));
    addRoutine(100, "SQL", true, "");
    engine.clearJournal();
    ctl->serverTreeView->setSelectedItem(nullptr);
    ctl->serverTreeView->onDblClick(); // the event with no node selected
    EXPECT_EQ(list().ListItems().Count(), 1);
    auto bad = ctl->serverTreeView->Nodes().Add(vb::Variant("K20"), ui::tvw::Child, "X1", "bad");
    bad->setTag(vb::Variant("7"));
    try {
        ctl->serverTreeView->click(bad);
        ADD_FAILURE() << "no error";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.description(), "curreptud key");
    }
    EXPECT_EQ(list().ListItems().Count(), 0);
    EXPECT_EQ(engineActions(), Texts{});
}

} // namespace

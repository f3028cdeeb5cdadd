// svrViewCtl making a node the current folder: columns per kind, the engine told, no widths saved
// without a folder shown, a bad key, and the list refilled by the engine's answer. (Double clicks and
// widths remembered per kind are in the start_and_view scenario.)
#include "ServerViewFixture.h"

#include "notify/notificationThreadFrm.h"

namespace {

using namespace svtest;

std::vector<std::string> headers(const ui::ListView& list) {
    std::vector<std::string> out;
    for (const auto& c : list.ColumnHeaders().items())
        out.push_back(c->Key() == c->Text() ? c->Text() : "key?");
    return out;
}
std::vector<float> widths(const ui::ListView& list) {
    std::vector<float> out;
    for (const auto& c : list.ColumnHeaders().items())
        out.push_back(c->Width());
    return out;
}
using Texts = std::vector<std::string>;

TEST_F(ServerViewTest, AFolderShowsItsKindsColumnsInReportViewAndBecomesTheEnginesCurrentFolder) {
    buildTree();
    struct Case {
        int32_t tag;
        Texts columns;
    } cases[] = {
        {7, {"t500", "t501", "t506", "t507", "t504", "t503", "t508", "t505", "t502"}},
        {9, {"t500", "t501", "t509", "t510", "t504", "t503", "t505", "t502"}},
        {11, {"t500", "t501", "t511", "t512", "t502"}},
        {13, {"t500", "t501", "t513", "t514", "t502"}},
        {15, {"t500", "t501", "t502"}},
        {5, {}},
        {6, {}},
    };
    for (const auto& c : cases) {
        const std::string key = c.tag == 5 ? "K10" : c.tag == 6 ? "K20" : folderKey(c.tag);
        addRoutine(100, "SQL", true, "");
        engine.clearJournal();
        ctl->serverTreeView->click(node(key));
        EXPECT_EQ(list().ListItems().Count(), 0);
        EXPECT_EQ(headers(list()), c.columns);
        const bool folder = !c.columns.empty();
        EXPECT_EQ(list().View(), folder ? ui::lvw::Report : ui::lvw::Icon);
        EXPECT_EQ(list().FullRowSelect(), folder);
        EXPECT_EQ(engineActions(), Texts{"WKSetCurrentFolder(" + key.substr(1) + ", 0)"});
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

TEST_F(ServerViewTest, ARightClickOnTheSelectedFolderStillClearsAndTheEngineRefillsIt) {
    buildTree();
    auto poller = ui::New<nimb::notificationThreadFrm>();
    poller->Load();
    poller->setIMMgr(mgr);
    engine.setFolder(
        21, std::vector<nimb::twkProcedure>{{.lHdl = 100, .strName = "A"}, {.lHdl = 101, .strName = "B"}});
    engine.setReaction("WKSetCurrentFolder",
                       [&] { engine.queue({.lNotifyType = 5, .lObjectType = 7, .lObjectHdl = 21}); });
    ctl->serverTreeView->click(node("K21"));
    ui::EventLoop::advance(100);
    ASSERT_EQ(list().ListItems().Count(), 2);
    user->dismissPopup();
    ctl->serverTreeView->rightclick(node("K21"));
    EXPECT_EQ(list().ListItems().Count(), 0);
    ui::EventLoop::advance(100);
    EXPECT_EQ(list().ListItems().Count(), 2);
}

} // namespace

// svrViewCtl where no transcript shows it: the items of other IDE kinds, the font rule, what
// termination lets go, whole-row selection and column keys, widths not saved without a folder shown,
// a bad key, an item right-clicked with no node selected, engine errors of a menu item, Save As
// outside the VB IDE and the project's SourceSafe login. Everything a person sees of the view -
// every menu and where it opens, the routine menu's states, the columns of every kind, widths per
// kind, double clicks, resizing and the splitter - is in the start_and_view, routine_menu, commands,
// project_files, sourcesafe and splitter scenarios.
#include "ServerViewFixture.h"

#include "scc/frmVSSLogin.h"

#include <algorithm>
#include <functional>

namespace {

using namespace svtest;
using Texts = std::vector<std::string>;
using ui::ScriptedUser;

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
    addRoutine(100);
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
    for (const auto& c : list().ColumnHeaders().items())
        EXPECT_EQ(c->Width(), 1440);
}

TEST_F(ServerViewTest, ABadKeyStopsAfterClearingTheListAndNoSelectionChangesNothing) {
    buildTree();
    ctl->serverTreeView->click(node("K21"));
    addRoutine(100);
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

class ServerViewMenuTest : public ServerViewTest {
  protected:
    void SetUp() override {
        ServerViewTest::SetUp();
        buildTree();
    }
    // A right-click on the node with that key; the person chooses item, then does what then()
    // scripts (answers a message box, a file dialog or a form).
    void onNode(const std::string& key, const std::string& item, const std::function<void()>& then) {
        user->choosePopupItem(item);
        then();
        ctl->serverTreeView->rightclick(node(key));
    }
    // Routine 100 shown in the procedures folder and right-clicked.
    void onRoutine(const std::function<void()>& before) {
        ctl->serverTreeView->click(node("K21"));
        addRoutine(100);
        before();
        list().rightclick(list().ListItems().Item("K100"));
    }
};

// No person gets here (the list shows a folder's items only while that folder is selected), but an
// item clicked with no node selected must open nothing rather than read a missing node.
TEST_F(ServerViewMenuTest, AnItemRightClickedWithNoNodeSelectedOpensNoMenu) {
    onRoutine([&] { ctl->serverTreeView->setSelectedItem(nullptr); });
    EXPECT_TRUE(user->popups.empty());
}

TEST_F(ServerViewMenuTest, EngineErrorsAreShownAsNumberColonDescription) {
    engine.failWith("WKObjectDoAction", vb::VBError(5, "Invalid procedure call or argument"));
    onRoutine([&] {
        user->choosePopupItem("devObjBuildMnuItem");
        user->answerMsgBox(ui::mb::OK);
    });
    EXPECT_EQ(boxes(), Texts{"5:Invalid procedure call or argument"});
}

TEST_F(ServerViewMenuTest, SaveAsStoresTheFileWithTheVBProjectOnlyInTheVBIde) {
    for (int32_t ideType : {1, 2}) {
        mgr->ideType = ideType;
        engine.clearJournal();
        mgr->log.clear();
        onNode("K10", "projSaveAsMnuItem", [&] { user->answerFileDialog("C:\\x\\new.wkv"); });
        Log expected{"getWKFileName", "getIdeType", "getModel", "saveWKFileName(C:\\x\\new.wkv)",
                     "setWKFileName(C:\\x\\new.wkv)"};
        if (ideType != 1)
            expected.erase(expected.begin() + 2, expected.begin() + 4);
        EXPECT_EQ(mgr->log, expected);
        Texts actions = engineActions();
        std::erase_if(actions, [](const std::string& call) { return call.starts_with("WKSetCurrentFolder"); });
        EXPECT_EQ(actions, Texts{"WKProjectDoAccess(\"C:\\x\\new.wkv\", \"\", 4)"});
    }
}

TEST_F(ServerViewMenuTest, AddingTheProjectToSourceSafeRunsTheLoginOrSaysThereIsNoDatabase) {
    onNode("K10", "scmPropsMnuItem", [&] { user->answerMsgBox(ui::mb::OK); });
    EXPECT_EQ(boxes(), Texts{"t681"});
    reg->setString(registry::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\SourceSafe\\Databases", "Common",
                   "C:\\VSS");
    onNode("K10", "scmPropsMnuItem",
           [&] { user->expectModal("frmVSSLogin", {ScriptedUser::press("cmdCancel")}); });
    EXPECT_TRUE(ui::Forms::isLoaded<nimb::frmVSSLogin>());
}

} // namespace

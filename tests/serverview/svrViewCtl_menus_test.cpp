// svrViewCtl context menus: which menu a right-click opens and where, engine errors, Save As outside
// the VB IDE and the project's SourceSafe login. How the routine menu is prepared is shown by the
// routine_menu scenario, what the items hand to the engine by the commands, project_files and
// sourcesafe scenarios.
#include "ServerViewFixture.h"

#include "dialogs/fileChooserForm.h"
#include "scc/frmVSSLogin.h"

#include <functional>

namespace {

using namespace svtest;
using Texts = std::vector<std::string>;
using ui::ScriptedUser;

class ServerViewMenuTest : public ServerViewTest {
  protected:
    void SetUp() override {
        ServerViewTest::SetUp();
        buildTree();
    }
    // A right-click on the node with that key; the person chooses item (empty: none), then does what
    // then() scripts (answers a message box, a file dialog or a form).
    void onNode(const std::string& key, const std::string& item, const std::function<void()>& then = {}) {
        choose(item, then);
        ctl->serverTreeView->rightclick(node(key));
    }
    // The folder shown, routine 100 in it, and a right-click on the routine.
    void onItem(const std::string& folder, const std::string& item, const std::function<void()>& then = {},
                const std::string& language = "SQL", bool canDebug = true, const std::string& file = "") {
        ctl->serverTreeView->click(node(folder));
        addRoutine(100, language, canDebug, file);
        choose(item, then);
        list().rightclick(list().ListItems().Item("K100"));
    }
    void choose(const std::string& item, const std::function<void()>& then) {
        item.empty() ? user->dismissPopup() : user->choosePopupItem(item);
        if (then)
            then();
    }
    void ok() { user->answerMsgBox(ui::mb::OK); }
    Texts commands() const {
        Texts out;
        for (const auto& call : engineActions())
            if (!call.starts_with("WKSetCurrentFolder"))
                out.push_back(call);
        return out;
    }
};

TEST_F(ServerViewMenuTest, ANodeIsSelectedAndOpensTheMenuOfItsKindWhereTheMouseIs) {
    ctl->serverTreeView->Nodes()
        .Add(vb::Variant("K20"), ui::tvw::Child, "K26", "odd")
        ->setTag(vb::Variant("99"));
    std::pair<const char*, const char*> cases[] = {{"K10", "conFolderMnu"},    {"K20", "dbConMnu"},
                                                   {"K21", "devObjFolderMnu"}, {"K22", "devObjFolderMnu"},
                                                   {"K23", "dbObjFolderMnu"},  {"K24", "dbObjFolderMnu"},
                                                   {"K25", "dbObjFolderMnu"},  {"K26", "dbObjFolderMnu"}};
    for (auto [key, menu] : cases) {
        onNode(key, "");
        const auto [x, y] = *ctl->serverTreeView->pointOf(*node(key));
        EXPECT_EQ(user->popups.back(), (Popup{menu, x, y}));
        EXPECT_EQ(ctl->serverTreeView->SelectedItem(), node(key));
    }
    ctl->serverTreeView->clickAt(ui::vbRightButton, 100, 4900); // beside every node
    EXPECT_EQ(user->popups.size(), std::size(cases));
    EXPECT_EQ(ctl->serverTreeView->SelectedItem(), node("K26"));
}

TEST_F(ServerViewMenuTest, AnItemOpensTheMenuOfTheShownFoldersKindBesideTheTree) {
    ctl->mouseMove(ui::vbLeftButton, 0, 2530, 100);
    ctl->mouseUp(ui::vbLeftButton, 0, 3000, 100); // the tree is 3000 wide now
    std::pair<const char*, const char*> cases[] = {{"K21", "devObjMnu"},     {"K22", "devObjMnu"},
                                                   {"K23", "trigObjMnu"},    {"K24", "dbTableObjMnu"},
                                                   {"K25", "dbTableObjMnu"}, {"K10", nullptr}};
    for (auto [folder, menu] : cases) {
        const auto shown = user->popups.size();
        ctl->serverTreeView->click(node(folder));
        addRoutine(100, "SQL", true, "");
        auto item = list().ListItems().Item("K100");
        if (menu)
            user->dismissPopup();
        list().rightclick(item);
        EXPECT_EQ(list().SelectedItem(), item);
        if (!menu) {
            EXPECT_EQ(user->popups.size(), shown);
            continue;
        }
        const auto [x, y] = *list().pointOf(*item);
        EXPECT_EQ(user->popups.back(), (Popup{menu, 3000 + x, y}));
    }
    ctl->serverTreeView->click(node("K21"));
    addRoutine(100, "SQL", true, "");
    list().clickAt(ui::vbRightButton, 100, 4000); // below the items
    ctl->serverTreeView->setSelectedItem(nullptr);
    list().rightclick(list().ListItems().Item("K100"));
    EXPECT_EQ(user->popups.size(), std::size(cases) - 1);
}

TEST_F(ServerViewMenuTest, EngineErrorsAreShownAsNumberColonDescription) {
    engine.failWith("WKObjectDoAction", vb::VBError(5, "Invalid procedure call or argument"));
    onItem("K21", "devObjBuildMnuItem", [&] { ok(); });
    EXPECT_EQ(boxes(), Texts{"5:Invalid procedure call or argument"});
}

TEST_F(ServerViewMenuTest, SaveAsStoresTheFileWithTheVBProjectOnlyInTheVBIde) {
    for (int32_t ideType : {1, 2}) {
        mgr->ideType = ideType;
        engine.clearJournal();
        onNode("K10", "projSaveAsMnuItem", [&] { user->cancelFileDialog(); });
        mgr->log.clear();
        onNode("K10", "projSaveAsMnuItem", [&] { user->answerFileDialog("C:\\x\\new.wkv"); });
        Log expected{"getWKFileName", "getIdeType", "getModel", "saveWKFileName(C:\\x\\new.wkv)",
                     "setWKFileName(C:\\x\\new.wkv)"};
        if (ideType != 1)
            expected.erase(expected.begin() + 2, expected.begin() + 4);
        EXPECT_EQ(mgr->log, expected);
        EXPECT_EQ(commands(), Texts{"WKProjectDoAccess(\"C:\\x\\new.wkv\", \"\", 4)"});
        const auto& dialog = *ui::Forms::existing<nimb::fileChooserForm>()->fileChooserDlg;
        EXPECT_EQ((Texts{dialog.DialogTitle(), dialog.Filter(), dialog.DefaultExt()}),
                  (Texts{"t611", "wkv", "wkv"}));
    }
}

TEST_F(ServerViewMenuTest, AddingTheProjectToSourceSafeRunsTheLoginOrSaysThereIsNoDatabase) {
    onNode("K10", "scmPropsMnuItem", [&] { ok(); });
    EXPECT_EQ(boxes(), Texts{"t681"});
    reg->setString(registry::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\SourceSafe\\Databases", "Common",
                   "C:\\VSS");
    onNode("K10", "scmPropsMnuItem",
           [&] { user->expectModal("frmVSSLogin", {ScriptedUser::press("cmdCancel")}); });
    EXPECT_TRUE(ui::Forms::isLoaded<nimb::frmVSSLogin>());
}

} // namespace

// svrViewCtl context menus: engine errors, Save As outside the VB IDE and the project's SourceSafe
// login. Which menu a right-click opens and where, and how the routine menu is prepared, are shown by
// the routine_menu scenario; what the items hand to the engine by the commands, project_files and
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

// No person gets here (the list shows a folder's items only while that folder is selected), but an
// item clicked with no node selected must open nothing rather than read a missing node.
TEST_F(ServerViewMenuTest, AnItemRightClickedWithNoNodeSelectedOpensNoMenu) {
    ctl->serverTreeView->click(node("K21"));
    addRoutine(100, "SQL", true, "");
    ctl->serverTreeView->setSelectedItem(nullptr);
    list().rightclick(list().ListItems().Item("K100"));
    EXPECT_TRUE(user->popups.empty());
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

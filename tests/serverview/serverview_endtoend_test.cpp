// The whole add-in against the stand-in engine: the simulated IDE loads it, the person starts it
// from the Add-Ins menu, the server view shows the demo project, a folder's routines come in, and a
// build goes to the engine and comes back as a message and an updated item.
#include "addin/Connect.h"
#include "addin/Registration.h"
#include "addin/serverViewDoc.h"
#include "engine/wkutil.h"
#include "model/ModelUtilVB.h"
#include "notify/viewAPIs.h"
#include "platform/registry/Registry.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/sim/SimAddIn.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScriptedUser.h"
#include "serverview/svrViewCtl.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

class ServerViewEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("NIMB_ENGINE_LIBRARY", NIMB_ENGINE_LIBRARY, 1);
        fs::create_directories(dir);
        fs::copy(NIMB_EXAMPLES_DIR, dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        ui::User::install(user);
        registry::install(std::make_shared<sim::MemoryRegistry>());
        ui::EventLoop::reset();
        ASSERT_EQ(nimb::Registration::registerServer(), nimb::Registration::resultOK);
    }
    void TearDown() override {
        if (addIn)
            ide->disconnectAddIn(addIn);
        ui::Forms::unloadAll();
        nimb::Registration::unregisterServer();
        registry::install(nullptr);
        nimb::viewAPIs::resetModuleState();
        nimb::wkutil::resetModuleState();
        for (const auto& problem : user->problems())
            ADD_FAILURE() << problem;
        ui::User::install(nullptr);
        fs::remove_all(dir);
    }

    // Lets virtual time run in polls of 100 ms until done() holds (at most ten seconds).
    static bool advanceUntil(const std::function<bool()>& done) {
        for (int tick = 0; tick < 100 && !done(); ++tick)
            ui::EventLoop::advance(100);
        return done();
    }
    static ui::NodePtr child(const ui::NodePtr& parent, const std::string& text) {
        for (const auto& node : parent->childNodes())
            if (node->Text() == text)
                return node;
        return nullptr;
    }

    fs::path dir = fs::temp_directory_path() / ("serverview-e2e-" + std::to_string(getpid()));
    std::shared_ptr<ui::ScriptedUser> user = std::make_shared<ui::ScriptedUser>();
    std::shared_ptr<sim::SimVBE> ide = sim::SimVBE::create();
    std::shared_ptr<sim::SimAddIn> addIn;
};

TEST_F(ServerViewEndToEnd, TheServerViewShowsTheDemoProjectAndBuildsARoutine) {
    ide->addProject("Shop", (dir / "Shop.vbp").string())
        ->setProperty(nimb::wkFileSection, nimb::wkFileKey, (dir / "demo.wkv").string());
    addIn = ide->connectAddIn(nimb::connectProgId, nimb::Registration::addInDisplayName);
    ASSERT_TRUE(ide->click(dynamic_cast<nimb::Connect&>(*addIn->object()).controlNamed("addInMenuItem")));
    auto window = ide->toolWindows().back();
    auto doc = std::dynamic_pointer_cast<nimb::serverViewDoc>(window->document());
    ASSERT_TRUE(doc);
    auto view = std::dynamic_pointer_cast<nimb::svrViewCtl>(doc->svrViewCtl1);
    ASSERT_TRUE(view);
    doc->Move(0, 0, 12000, 6000);
    auto& tree = *view->serverTreeView;
    ASSERT_TRUE(advanceUntil([&] { return window->visible() && tree.Nodes().Count() > 0; }));

    const auto roots = tree.Nodes().roots();
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_EQ(roots[0]->Text(), "Inventory");
    auto connection = child(roots[0], "INVDB");
    ASSERT_TRUE(connection);
    auto folder = child(connection, "Stored Procedures");
    ASSERT_TRUE(folder);
    roots[0]->setExpanded(true);
    connection->setExpanded(true);
    tree.click(folder);
    auto& list = *view->serverDetailsView;
    ASSERT_TRUE(advanceUntil([&] { return list.ListItems().Count() > 0; }));
    EXPECT_EQ(list.ColumnHeaders().Count(), 9);
    ui::ListItemPtr routine;
    for (const auto& item : list.ListItems().items())
        if (item->Text() == "REORDER_ITEMS")
            routine = item;
    ASSERT_TRUE(routine);
    EXPECT_TRUE(routine->Bold());
    EXPECT_EQ(routine->SmallIcon(), "DirtyStoredProcedure");

    user->choosePopupItem("devObjBuildMnuItem");
    user->answerMsgBox(ui::mb::OK);
    list.rightclick(routine);
    ASSERT_TRUE(advanceUntil([&] { return !user->messageBoxes().empty(); }));
    EXPECT_NE(user->messageBoxes().back().subject.find("REORDER_ITEMS"), std::string::npos);
    EXPECT_FALSE(routine->Bold());
    EXPECT_EQ(routine->SmallIcon(), "StoredProcedure");
}

} // namespace

// The poller: its timing, errors in a tick, a project outside the VB IDE, folder listings no person
// can cause and every handler's failure path. Texts and questions, the start, arriving connections,
// command types and every folder kind listed afresh are shown in the engine_texts, start_and_view and
// data_environment scenarios.
#include "NotifyDoubles.h"

#include "dialogs/splashscrnFrm.h"
#include "notify/notificationThreadFrm.h"
#include "notify/viewAPIs.h"

#include <gtest/gtest.h>

namespace {

using namespace nimb;
using Texts = std::vector<std::string>;

constexpr int32_t TEXT = 2, SQL = 3, ADO = 4, FOLDER = 5, CHANGED = 6, REMOVED = 7, ADDED = 8, DECON = 9,
                  DECMD = 10;

twkNotify notice(int32_t kind, int32_t type, int32_t hdl) {
    return {kind, 10, 20, type, hdl};
}

class Poller : public nimbtest::ServerViewFixture {
  protected:
    Poller() {
        for (int32_t id : {426, 427, 428, 429, 430, 641, 646, 647, 655, 656, 657, 658, 659, 660})
            engine.setString(id, "text" + std::to_string(id));
        frm = ui::New<notificationThreadFrm>();
        frm->Load();
        frm->setIMMgr(mgr);
    }
    void tick() { ui::EventLoop::advance(100); }
    void queueText(int32_t hdl, int32_t type, const std::string& text, const std::string& buttons = {}) {
        engine.put(hdl, twkText{.strText = text, .lTextType = type, .strButtons = buttons});
        engine.queue(notice(TEXT, 0, hdl));
    }
    Texts answers() const { return engine.callsTo("WKButtonDoAction"); }

    std::shared_ptr<notificationThreadFrm> frm;
};

TEST_F(Poller, PollsEveryHundredMillisecondsUntilUnloadedThenLetsTheManagerGo) {
    const auto held = mgr.use_count();
    ui::EventLoop::advance(99);
    EXPECT_TRUE(engine.callsTo("WKGetNotification").empty());
    ui::EventLoop::advance(301);
    EXPECT_EQ(engine.callsTo("WKGetNotification").size(), 4u);
    frm->Unload();
    ui::EventLoop::advance(300);
    EXPECT_EQ(engine.callsTo("WKGetNotification").size(), 4u);
    frm.reset();
    EXPECT_EQ(mgr.use_count(), held - 1);
}

TEST_F(Poller, AnErrorInOneTickDoesNotStopTheNext) {
    engine.failWith("WKGetNotification", vb::VBError(453, "Entry point not found", "nimbvbadd"));
    user->answerMsgBox(ui::mb::OK);
    tick();
    EXPECT_EQ(boxes(), Texts{"453, Entry point not found, nimbvbadd"});
    engine.stopFailing("WKGetNotification");
    queueText(5, 3, "after the failure");
    user->answerMsgBox(ui::mb::OK);
    tick();
    EXPECT_EQ(boxes().back(), "after the failure");
    EXPECT_TRUE(user->problems().empty());
}

TEST_F(Poller, AProjectOutsideTheVBIdeIsNotSavedAndNoSplashIsNeeded) {
    mgr->ideType = 2;
    engine.put(2, twkProject{2, "P", ""});
    engine.queue(notice(ADDED, 5, 2));
    tick();
    EXPECT_EQ(mgr->log.calls, (Texts{"getIdeType()", "showDevView()"}));
    EXPECT_TRUE(model->log.calls.empty());
    EXPECT_FALSE(ui::Forms::isLoaded<splashscrnFrm>()); // not brought back to life either
}

class Folders : public Poller {
  protected:
    Folders() { buildProjectTree(); }
    template <class T> static std::vector<T> two() {
        return {{.lHdl = 31, .strName = "A"}, {.lHdl = 32, .strName = "B"}};
    }
};

TEST_F(Folders, AnEmptyFolderIsStillEndedAndOtherTypesAreIgnored) {
    select("K25");
    list->ListItems().Add(0, "K31", "stale");
    engine.queue(notice(FOLDER, 15, 25)); // the engine knows no such folder: Begin gives 0
    engine.queue(notice(FOLDER, 6, 20));
    engine.queue(notice(FOLDER, 8, 21));
    tick();
    EXPECT_EQ(list->ListItems().Count(), 0);
    EXPECT_TRUE(engine.callsTo("WKViewEnumNext").empty());
    EXPECT_EQ(engine.callsTo("WKViewEnumEnd"), Texts{"WKViewEnumEnd(0)"});
    EXPECT_TRUE(user->interactions().empty());
}

TEST_F(Folders, AFailingListingIsReportedAndTheEnumerationStillEnded) {
    select("K24");
    engine.setFolder(24, std::vector<twkTable>{{.lHdl = 3}, {.lHdl = 3}}); // a duplicate key
    engine.queue(notice(FOLDER, 13, 24));
    user->answerMsgBox(ui::mb::OK);
    tick();
    EXPECT_EQ(boxes(), Texts{"35602, Key is not unique in collection, "});
    EXPECT_EQ(engine.callsTo("WKTableEnumEnd").size(), 1u);
    EXPECT_EQ(engine.openEnumerations(), 0);
}

TEST_F(Folders, ChangesUpdateNodesAndTheShownFoldersItems) {
    select("K21");
    viewAPIs::addProcedureItem(twkProcedure{.lHdl = 31, .strName = "OLD"});
    engine.put(31, twkProcedure{.lHdl = 31, .bIsDirty = true, .strName = "NEW"});
    engine.put(10, twkProject{10, "Proj2", "C:\\p2.wkv"});
    engine.put(20, twkConnection{.lHdl = 20, .bConnected = true, .strDatabase = "DB"});
    engine.put(32, twkFunction{.lHdl = 32, .strName = "F"});
    for (auto [type, hdl] : {std::pair{8, 31}, {5, 10}, {6, 20}, {10, 32}, {14, 33}})
        engine.queue(notice(CHANGED, type, hdl));
    tick();
    EXPECT_EQ(list->ListItems().Item("K31")->Text(), "NEW");
    EXPECT_EQ(list->ListItems().Item("K31")->SmallIcon(), "DirtyStoredProcedure");
    EXPECT_EQ(tree->Nodes().Item("K10")->Text(), "Proj2");
    EXPECT_EQ(tree->Nodes().Item("K20")->Image(), "ConnectedConnection");
    EXPECT_EQ(mgr->log.calls, Texts{"setWKFileName(C:\\p2.wkv)"});
    EXPECT_TRUE(engine.callsTo("WKTableGet").empty());
    EXPECT_TRUE(user->interactions().empty());
}

TEST_F(Folders, RemovalGoesByType) {
    select("K21");
    list->ListItems().Add(0, "K31", "proc");
    list->ListItems().Add(0, "K32", "other");
    engine.queue(notice(REMOVED, 14, 32)); // a table while procedures are shown: nothing
    engine.queue(notice(REMOVED, 8, 31));
    engine.queue(notice(REMOVED, 6, 20)); // the connection with its folders
    tick();
    EXPECT_EQ(list->ListItems().Count(), 1);
    EXPECT_EQ(list->ListItems().Item(1)->Key(), "K32");
    EXPECT_EQ(tree->Nodes().Count(), 1);
    engine.queue(notice(REMOVED, 5, 10));
    tick();
    EXPECT_EQ(tree->Nodes().Count(), 0);
    EXPECT_TRUE(user->interactions().empty());
}

TEST_F(Folders, EachHandlerReportsFailuresOfTheEngineOrTheModelItsOwnWay) {
    struct Case {
        const char* failing;
        bool inModel;
        twkNotify n;
        const char* box; // nullptr: no box at all
    };
    const Case cases[] = {
        {"WKProjectGet", false, notice(ADDED, 5, 10), "text657"},
        {"WKTableGet", false, notice(ADDED, 14, 3), "text657"},
        {"WKGetSQLText", false, notice(SQL, 0, 1), "text659"},
        {"WKGetADOText", false, notice(ADO, 0, 1), "text660"},
        {"WKConnectionGetDE", false, notice(DECON, 0, 1), "text655"},
        {"WKCommandGetDE", false, notice(DECMD, 0, 1), "text656"},
        {"WKProcedureEnumBegin", false, notice(FOLDER, 7, 21), "7, Out of memory, engine"},
        {"WKProcedureGet", false, notice(CHANGED, 8, 31), "7, Out of memory, engine"},
        {"WKConnectionGet", false, notice(CHANGED, 6, 20), "7, Out of memory, engine"},
        {"WKGetText", false, notice(TEXT, 0, 1), nullptr},
        {"insertSQLCode", true, notice(SQL, 0, 1), "text659"},
        {"insertClientCode", true, notice(ADO, 0, 1), "text660"},
        {"addADOConnection", true, notice(DECON, 0, 1), "text655"},
        {"AddADOCommand", true, notice(DECMD, 0, 1), "text656"},
        {"saveWKFileName", true, notice(ADDED, 5, 1), "text657"}, // last: the project replaces the tree
    };
    engine.put(1, twkProject{1, "P", ""});
    select("K21");
    for (const auto& c : cases) {
        const size_t before = user->messageBoxes().size();
        if (c.inModel)
            model->log.failOn = c.failing;
        else
            engine.failWith(c.failing, vb::VBError(7, "Out of memory", "engine"));
        engine.queue(c.n);
        if (c.box)
            user->answerMsgBox(ui::mb::OK);
        tick();
        engine.stopFailing(c.failing);
        const auto shown = user->messageBoxes();
        ASSERT_EQ(shown.size(), before + (c.box ? 1 : 0)) << c.failing;
        if (c.box) {
            EXPECT_EQ(shown.back().subject, c.box) << c.failing;
        }
    }
    EXPECT_TRUE(answers().empty());
    EXPECT_TRUE(user->problems().empty());
}

TEST_F(Poller, AReportThatCannotReadItsTextFallsToTheDispatcher) {
    engine.failWith("WKGetADOText", vb::VBError(5, "Invalid procedure call or argument", "engine"));
    engine.failWith("WKGetString", vb::VBError(453, "Can't find DLL entry point", "nimbvbadd"));
    engine.queue(notice(ADO, 0, 1));
    user->answerMsgBox(ui::mb::OK);
    tick();
    EXPECT_EQ(boxes(), Texts{"453, Can't find DLL entry point, nimbvbadd"});
    EXPECT_TRUE(user->problems().empty());
}

} // namespace

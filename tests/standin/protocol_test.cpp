// The notification protocol: start, folder contents, the empty record, enumerations, injected
// notifications and the journal. What a project's opening sends and what its records hold is what
// the scenarios' trees and lists show, read through the add-in.
#include "StandinHarness.h"

#include <set>

namespace standin_test {
namespace {

using StandinProtocol = StandinTest;

TEST_F(StandinProtocol, StartReportsInitCompleteFirstAndMoreHoldsWhileOthersWait) {
    EXPECT_EQ(api().WKInitialize(1, path("wk\\").c_str(), ""), 1);
    api().WKSI_InjectText(3, "a", "");
    api().WKSI_InjectText(3, "b", "");
    wkBool more = WK_TRUE;
    EXPECT_EQ(api().WKGetNotification(nullptr, &more), 0); // a null record leaves the queue alone
    EXPECT_EQ(api().WKSI_PendingNotifications(), 3);

    std::vector<wkBool> mores;
    std::vector<Text> texts;
    for (int i = 0; i < 3; ++i) {
        twkNotify_abi n{};
        EXPECT_EQ(api().WKGetNotification(&n, &more), 1);
        EXPECT_EQ(n.lNotifyType, 2);
        mores.push_back(more);
        texts.push_back(readText(n.lObjectHdl));
    }
    EXPECT_EQ(mores, (std::vector<wkBool>{WK_TRUE, WK_TRUE, WK_FALSE}));
    EXPECT_EQ(texts[0].type, 1);
    EXPECT_EQ(texts[0].buttons, "");
    EXPECT_EQ((Names{texts[0].text, texts[1].text, texts[2].text}), (Names{"WK_INIT_COMPLETE", "a", "b"}));

    for (int i = 0; i < 3; ++i) { // the empty record, again and again
        twkNotify_abi n{7, 7, 7, 7, 7};
        more = WK_TRUE;
        EXPECT_EQ(api().WKGetNotification(&n, &more), 0);
        EXPECT_EQ((std::vector<int32_t>{n.lNotifyType, n.lObjectHdl, more}), (std::vector<int32_t>{0, 0, 0}));
    }
}

// A folder made current sends its contents changed, which is how every scenario's list gets filled.
TEST_F(StandinProtocol, OnlyAFolderMadeCurrentSendsItsContentsChanged) {
    openSample();
    api().WKSetCurrentFolder(find(15, "SHOPDB"), 0);
    auto notes = drain();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ((std::vector<int32_t>{notes[0].lNotifyType, notes[0].lObjectType, notes[0].lConnectionHdl}),
              (std::vector<int32_t>{5, 15, find(6, "SHOPDB")}));
    // Projects, connections, objects and unknown handles are no folders: nothing is sent.
    for (int32_t hdl : {find(5, ""), find(6, "SHOPDB"), find(8, "P_DEBUG"), 0, -3, 999999}) {
        api().WKSetCurrentFolder(hdl, 0);
        EXPECT_TRUE(drain().empty()) << hdl;
    }
}

TEST_F(StandinProtocol, EnumerationWalksTheFolderAndTheFilterHidesSystemObjects) {
    openSample();
    int32_t folder = find(7, "SHOPDB");
    wkBool filtered = 0;
    EXPECT_EQ(procedureNames(folder, &filtered), (Names{"P_DEBUG", "P_DIRTY", "P_COBOL", "SYSPROC1"}));
    EXPECT_EQ(filtered, WK_FALSE);
    api().WKObjectDoAction(folder, 11);
    EXPECT_EQ(procedureNames(folder, &filtered), (Names{"P_DEBUG", "P_DIRTY", "P_COBOL"}));
    EXPECT_EQ(filtered, WK_TRUE);
    api().WKObjectDoAction(folder, 11);
    EXPECT_EQ(procedureNames(folder, &filtered).size(), 4u);
    EXPECT_EQ(filtered, WK_FALSE);
}

TEST_F(StandinProtocol, EnumerationRefusesFoldersOfAnotherKindAndEmptyFolders) {
    openSample();
    for (auto [name, folder] : {std::pair{"table folder", find(13, "SHOPDB")},
                                {"empty folder", find(9, "OFFDB")},
                                {"connection", find(6, "SHOPDB")},
                                {"unknown", 4242}}) {
        wkBool filtered = 7;
        int32_t e = -1;
        int16_t ok = folder == find(9, "OFFDB") ? api().WKFunctionEnumBegin(folder, &filtered, &e)
                                                : api().WKProcedureEnumBegin(folder, &filtered, &e);
        EXPECT_EQ(ok, 0) << name;
        EXPECT_EQ(e, 0) << name;
        EXPECT_EQ(api().WKProcedureEnumEnd(e), 0) << name;
    }
    // An enumeration ended is gone: ending it again finds nothing.
    wkBool filtered = 0;
    int32_t e = 0;
    ASSERT_EQ(api().WKTableEnumBegin(find(13, "SHOPDB"), &filtered, &e), 1);
    EXPECT_EQ(api().WKTableEnumEnd(e), 1);
    EXPECT_EQ(api().WKTableEnumEnd(e), 0);
}

TEST_F(StandinProtocol, AnObjectRemovedDuringAnEnumerationIsSkipped) {
    openSample();
    wkBool filtered = 0;
    int32_t e = 0;
    ASSERT_EQ(api().WKProcedureEnumBegin(find(7, "SHOPDB"), &filtered, &e), 1);
    api().WKSI_InjectObjectRemoved(find(8, "P_DIRTY"));
    Names names;
    ProcedureRec r;
    while (api().WKProcedureEnumNext(e, &r.rec))
        names.push_back(r.rec.strName);
    api().WKProcedureEnumEnd(e);
    EXPECT_EQ(names, (Names{"P_DEBUG", "P_COBOL", "SYSPROC1"}));
}

// Raw notifications and SQL texts injected by a script are what the engine_texts and
// code-generation scenarios show arriving; an injected object is added, changed and removed here.
TEST_F(StandinProtocol, InjectedObjectsArriveAsAddedChangedAndRemoved) {
    openSample();
    WKSI_ObjectFields f{};
    f.strName = "INJECTED";
    f.strLanguage = "SQL";
    int32_t added = api().WKSI_InjectObjectAdded(find(7, "SHOPDB"), &f);
    ASSERT_GT(added, 0);
    f.strComment = "changed";
    EXPECT_EQ(api().WKSI_InjectObjectChanged(added, &f), 1);
    EXPECT_EQ(api().WKSI_InjectObjectRemoved(added), 1);
    auto notes = drain();
    ASSERT_EQ(notes.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(notes[i].lNotifyType, std::vector<int32_t>({8, 6, 7})[i]);
        EXPECT_EQ(notes[i].lObjectType, 8);
        EXPECT_EQ(notes[i].lObjectHdl, added);
    }

    f.strName = nullptr; // a nameless object is refused, and so is a folder that is no folder
    EXPECT_EQ(api().WKSI_InjectObjectAdded(find(7, "SHOPDB"), &f), 0);
    f.strName = "X";
    EXPECT_EQ(api().WKSI_InjectObjectAdded(find(6, "SHOPDB"), &f), 0);
}

TEST_F(StandinProtocol, GeneratedObjectsFillAFolderForLoadTests) {
    openSample();
    int32_t folder = find(13, "SHOPDB");
    EXPECT_EQ(api().WKSI_GenerateObjects(folder, 14, 2500), 2500);
    auto notes = drain();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].lNotifyType, 5);
    wkBool filtered = 0;
    int32_t e = 0;
    ASSERT_EQ(api().WKTableEnumBegin(folder, &filtered, &e), 1);
    TableRec t;
    std::set<int32_t> handles;
    while (api().WKTableEnumNext(e, &t.rec))
        handles.insert(t.rec.lHdl);
    api().WKTableEnumEnd(e);
    EXPECT_EQ(handles.size(), 2501u); // distinct, so none was listed twice
    EXPECT_EQ(api().WKSI_GenerateObjects(folder, 8, 10), 0); // procedures do not go into the table folder
    EXPECT_EQ(api().WKSI_GenerateObjects(folder, 14, -1), 0);
}

TEST_F(StandinProtocol, TheJournalListsEveryCallWithItsArguments) {
    api().WKInitialize(1, "C:\\w\\", "");
    drain();
    api().WKSI_ClearJournal();
    api().WKObjectDoAction(1234, 18);
    std::string file = path("a.wkv");
    std::vector<char> name(file.c_str(), file.c_str() + file.size() + 1);
    char empty[] = "";
    api().WKProjectDoAccess(name.data(), empty, 9); // not access(): draining would be journalled
    api().WKButtonDoAction("User response", 6);
    api().WKTerminate();
    std::string expected = "WKObjectDoAction(1234, 18)\nWKProjectDoAccess(\"" + file +
                           "\", \"\", 9)\nWKButtonDoAction(\"User response\", 6)\nWKTerminate()\n";
    EXPECT_EQ(journal(), expected);

    char small[10];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(api().WKSI_GetJournal(small, 8), static_cast<int32_t>(expected.size()));
    EXPECT_EQ(std::string(small), expected.substr(0, 7));
    EXPECT_EQ(small[8], 'x');
}

// Repeated calls are stored once, but the journal still reads (and is bounded) line by line: the
// oldest lines of a long run go first, and a run emptied that way goes whole.
TEST_F(StandinProtocol, TheJournalKeepsItsNewestLinesThroughLongRunsOfOneCall) {
    openSample();
    int32_t folder = find(13, "SHOPDB");
    ASSERT_EQ(api().WKSI_GenerateObjects(folder, 14, 100001), 100001);
    drain();
    api().WKSI_ClearJournal();
    api().WKObjectDoAction(1234, 18);
    wkBool filtered = 0;
    int32_t e = 0;
    ASSERT_EQ(api().WKTableEnumBegin(folder, &filtered, &e), 1);
    TableRec t;
    int32_t listed = 0;
    while (api().WKTableEnumNext(e, &t.rec))
        ++listed;
    ASSERT_EQ(listed, 100002); // and the sample's own table
    api().WKTableEnumEnd(e);

    // DoAction, Begin, 100,003 Next calls (the last one finds nothing) and End: 100,006 lines.
    const std::string next = "WKTableEnumNext(" + std::to_string(e) + ", out)\n";
    std::string expected;
    for (int i = 0; i < 99999; ++i)
        expected += next;
    expected += "WKTableEnumEnd(" + std::to_string(e) + ")\n";
    EXPECT_EQ(journal(), expected);
}

TEST_F(StandinProtocol, TerminateDropsWhatWasQueuedAndTheProject) {
    openSample();
    api().WKSI_InjectText(3, "pending", "");
    wkBool filtered = 0;
    int32_t e = 0;
    ASSERT_EQ(api().WKProcedureEnumBegin(find(7, "SHOPDB"), &filtered, &e), 1);
    api().WKTerminate();
    EXPECT_EQ(api().WKProcedureEnumEnd(e), 0);
    EXPECT_EQ(api().WKSI_PendingNotifications(), 0);
    EXPECT_EQ(find(5, ""), 0);
    api().WKInitialize(1, "", "");
    auto texts = textsOf(drain());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "WK_INIT_COMPLETE");
}

} // namespace
} // namespace standin_test

// The notification protocol: start, project and connections added, folder contents, the empty
// record, enumerations, injected notifications and the journal.
#include "StandinHarness.h"

#include <set>

namespace standin_test {
namespace {

using StandinProtocol = StandinTest;

TEST_F(StandinProtocol, StartReportsInitCompleteThenTheQueueRunsDry) {
    EXPECT_EQ(api().WKInitialize(1, path("wk\\").c_str(), ""), 1);
    twkNotify_abi n{};
    wkBool more = WK_TRUE;
    EXPECT_EQ(api().WKGetNotification(&n, &more), 1);
    EXPECT_EQ(n.lNotifyType, 2);
    EXPECT_EQ(more, WK_FALSE);
    Text t = readText(n.lObjectHdl);
    EXPECT_EQ(t.type, 1);
    EXPECT_EQ(t.text, "WK_INIT_COMPLETE");
    EXPECT_EQ(t.buttons, "");

    for (int i = 0; i < 3; ++i) { // the empty record, again and again
        n = {7, 7, 7, 7, 7};
        more = WK_TRUE;
        EXPECT_EQ(api().WKGetNotification(&n, &more), 0);
        EXPECT_EQ(n.lNotifyType, 0);
        EXPECT_EQ(n.lObjectHdl, 0);
        EXPECT_EQ(more, WK_FALSE);
    }
}

TEST_F(StandinProtocol, MoreIsTrueExactlyWhileOthersWait) {
    api().WKSI_InjectText(3, "a", "");
    api().WKSI_InjectText(3, "b", "");
    api().WKSI_InjectText(3, "c", "");
    std::vector<wkBool> mores;
    for (int i = 0; i < 3; ++i) {
        twkNotify_abi n{};
        wkBool more = 0;
        api().WKGetNotification(&n, &more);
        mores.push_back(more);
    }
    EXPECT_EQ(mores, (std::vector<wkBool>{WK_TRUE, WK_TRUE, WK_FALSE}));
}

TEST_F(StandinProtocol, ANullRecordLeavesTheNotificationQueued) {
    api().WKSI_InjectText(3, "kept", "");
    wkBool more = 0;
    EXPECT_EQ(api().WKGetNotification(nullptr, &more), 0);
    EXPECT_EQ(api().WKSI_PendingNotifications(), 1);
    auto texts = textsOf(drain());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "kept");
}

TEST_F(StandinProtocol, OpeningAProjectAddsItThenEachConnectionInOrder) {
    write("shop.wkv", sampleProject);
    auto notes = access(path("shop.wkv"), "", 2);
    ASSERT_EQ(notes.size(), 3u);
    int32_t project = notes[0].lObjectHdl;
    EXPECT_EQ(notes[0].lNotifyType, 8);
    EXPECT_EQ(notes[0].lObjectType, 5);
    EXPECT_EQ(notes[0].lProjectHdl, project);
    std::vector<std::string> databases;
    for (size_t i = 1; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].lNotifyType, 8);
        EXPECT_EQ(notes[i].lObjectType, 6);
        EXPECT_EQ(notes[i].lProjectHdl, project);
        EXPECT_EQ(notes[i].lConnectionHdl, notes[i].lObjectHdl);
        ConnectionRec c;
        EXPECT_EQ(api().WKConnectionGet(notes[i].lObjectHdl, &c.rec), 1);
        databases.push_back(c.rec.strDatabase);
    }
    EXPECT_EQ(databases, (std::vector<std::string>{"SHOPDB", "OFFDB"}));

    ProjectRec p;
    EXPECT_EQ(api().WKProjectGet(project, &p.rec), 1);
    EXPECT_EQ(p.rec.lHdl, project);
    EXPECT_STREQ(p.rec.strName, "Shop");
    EXPECT_EQ(p.rec.strPath, path("shop.wkv"));
}

TEST_F(StandinProtocol, ConnectionRecordsCarryTheirStateAndFiveFolders) {
    openSample();
    struct Row {
        const char* database;
        wkBool connected;
    };
    for (Row row : {Row{"SHOPDB", WK_TRUE}, {"OFFDB", WK_FALSE}}) {
        ConnectionRec c;
        ASSERT_EQ(api().WKConnectionGet(find(6, row.database), &c.rec), 1);
        EXPECT_EQ(c.rec.bConnected, row.connected) << row.database;
        std::vector<int32_t> folders{c.rec.lProceduresHdl, c.rec.lFunctionsHdl, c.rec.lTriggersHdl,
                                     c.rec.lTablesHdl, c.rec.lViewsHdl};
        EXPECT_EQ(folders,
                  (std::vector<int32_t>{find(7, row.database), find(9, row.database), find(11, row.database),
                                        find(13, row.database), find(15, row.database)}));
        EXPECT_EQ(std::set<int32_t>(folders.begin(), folders.end()).size(), 5u);
    }
}

TEST_F(StandinProtocol, SettingTheCurrentFolderSendsItsContentsChanged) {
    openSample();
    for (int32_t type : {7, 9, 11, 13, 15}) {
        int32_t folder = find(type, "SHOPDB");
        api().WKSetCurrentFolder(folder, type == 7 ? -1 : 0);
        auto notes = drain();
        ASSERT_EQ(notes.size(), 1u) << type;
        EXPECT_EQ(notes[0].lNotifyType, 5);
        EXPECT_EQ(notes[0].lObjectType, type);
        EXPECT_EQ(notes[0].lObjectHdl, folder);
        EXPECT_EQ(notes[0].lConnectionHdl, find(6, "SHOPDB"));
    }
    // Projects, connections, objects and unknown handles are no folders: nothing is sent.
    for (int32_t hdl : {find(5, ""), find(6, "SHOPDB"), find(8, "P_DEBUG"), 0, -3, 999999}) {
        api().WKSetCurrentFolder(hdl, 0);
        EXPECT_TRUE(drain().empty()) << hdl;
    }
}

std::vector<std::string> procedureNames(int32_t folder, wkBool* filteredOut = nullptr) {
    wkBool filtered = 99;
    int32_t e = -1;
    std::vector<std::string> names;
    if (api().WKProcedureEnumBegin(folder, &filtered, &e)) {
        ProcedureRec r;
        while (api().WKProcedureEnumNext(e, &r.rec))
            names.push_back(r.rec.strName);
    }
    api().WKProcedureEnumEnd(e);
    if (filteredOut)
        *filteredOut = filtered;
    return names;
}

TEST_F(StandinProtocol, EnumerationWalksTheFolderAndTheFilterHidesSystemObjects) {
    openSample();
    int32_t folder = find(7, "SHOPDB");
    wkBool filtered = 0;
    EXPECT_EQ(procedureNames(folder, &filtered),
              (std::vector<std::string>{"P_DEBUG", "P_DIRTY", "P_COBOL", "SYSPROC1"}));
    EXPECT_EQ(filtered, WK_FALSE);

    api().WKObjectDoAction(folder, 11);
    EXPECT_EQ(procedureNames(folder, &filtered), (std::vector<std::string>{"P_DEBUG", "P_DIRTY", "P_COBOL"}));
    EXPECT_EQ(filtered, WK_TRUE);

    api().WKObjectDoAction(folder, 11);
    EXPECT_EQ(procedureNames(folder, &filtered).size(), 4u);
    EXPECT_EQ(filtered, WK_FALSE);
}

TEST_F(StandinProtocol, EnumerationRecordsCarryEveryField) {
    openSample();
    wkBool filtered = 0;
    int32_t e = 0;
    ASSERT_EQ(api().WKProcedureEnumBegin(find(7, "SHOPDB"), &filtered, &e), 1);
    ProcedureRec r;
    ASSERT_EQ(api().WKProcedureEnumNext(e, &r.rec), 1);
    EXPECT_EQ(r.rec.lHdl, find(8, "P_DEBUG"));
    EXPECT_EQ(r.rec.bIsDirty, WK_FALSE);
    EXPECT_EQ(r.rec.bCanDebug, WK_TRUE);
    EXPECT_STREQ(r.rec.strSchema, "APP");
    EXPECT_STREQ(r.rec.strParameters, "(IN A INTEGER, OUT B VARCHAR(20))");
    EXPECT_STREQ(r.rec.strLanguage, "SQL");
    EXPECT_EQ(r.rec.lResultSets, 2);
    EXPECT_EQ(std::filesystem::path(r.rec.strFileName), std::filesystem::path(path("src/P_DEBUG.sql")));
    ASSERT_EQ(api().WKProcedureEnumNext(e, &r.rec), 1);
    EXPECT_EQ(r.rec.bIsDirty, WK_TRUE);
    EXPECT_EQ(api().WKProcedureEnumEnd(e), 1);
    EXPECT_EQ(api().WKProcedureEnumEnd(e), 0); // ended: the handle is gone

    TableRec t;
    ASSERT_EQ(api().WKTableEnumBegin(find(13, "SHOPDB"), &filtered, &e), 1);
    ASSERT_EQ(api().WKTableEnumNext(e, &t.rec), 1);
    EXPECT_STREQ(t.rec.strName, "ITEMS");
    EXPECT_EQ(t.rec.lType, 3);
    EXPECT_EQ(api().WKTableEnumNext(e, &t.rec), 0);
    api().WKTableEnumEnd(e);
}

TEST_F(StandinProtocol, EnumerationRefusesFoldersOfAnotherKindAndEmptyFolders) {
    openSample();
    struct Row {
        const char* name;
        int32_t folder;
    };
    for (Row row : {Row{"table folder", find(13, "SHOPDB")},
                    {"empty folder", find(9, "OFFDB")},
                    {"connection", find(6, "SHOPDB")},
                    {"unknown", 4242}}) {
        wkBool filtered = 7;
        int32_t e = -1;
        int16_t ok = row.folder == find(9, "OFFDB") ? api().WKFunctionEnumBegin(row.folder, &filtered, &e)
                                                    : api().WKProcedureEnumBegin(row.folder, &filtered, &e);
        EXPECT_EQ(ok, 0) << row.name;
        EXPECT_EQ(e, 0) << row.name;
        EXPECT_EQ(api().WKProcedureEnumEnd(e), 0) << row.name;
    }
}

TEST_F(StandinProtocol, AnObjectRemovedDuringAnEnumerationIsSkipped) {
    openSample();
    wkBool filtered = 0;
    int32_t e = 0;
    ASSERT_EQ(api().WKProcedureEnumBegin(find(7, "SHOPDB"), &filtered, &e), 1);
    api().WKSI_InjectObjectRemoved(find(8, "P_DIRTY"));
    std::vector<std::string> names;
    ProcedureRec r;
    while (api().WKProcedureEnumNext(e, &r.rec))
        names.push_back(r.rec.strName);
    api().WKProcedureEnumEnd(e);
    EXPECT_EQ(names, (std::vector<std::string>{"P_DEBUG", "P_COBOL", "SYSPROC1"}));
}

TEST_F(StandinProtocol, InjectedNotificationsArriveAsGiven) {
    openSample();
    api().WKSI_InjectNotification(42, 1, 2, 3, 4);
    WKSI_ObjectFields f{};
    f.strName = "INJECTED";
    f.strSchema = "X";
    f.strLanguage = "SQL";
    f.bIsDirty = WK_TRUE;
    int32_t added = api().WKSI_InjectObjectAdded(find(7, "SHOPDB"), &f);
    ASSERT_GT(added, 0);
    f.strComment = "changed";
    EXPECT_EQ(api().WKSI_InjectObjectChanged(added, &f), 1);
    EXPECT_EQ(api().WKSI_InjectObjectRemoved(added), 1);
    api().WKSI_InjectSQLText("Project1", "Module1", 3, 1, 5, 2, "SELECT 1");

    auto notes = drain();
    ASSERT_EQ(notes.size(), 5u);
    EXPECT_EQ((std::vector<int32_t>{notes[0].lNotifyType, notes[0].lProjectHdl, notes[0].lConnectionHdl,
                                    notes[0].lObjectType, notes[0].lObjectHdl}),
              (std::vector<int32_t>{42, 1, 2, 3, 4}));
    for (size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(notes[i].lObjectType, 8);
        EXPECT_EQ(notes[i].lObjectHdl, added);
    }
    EXPECT_EQ((std::vector<int32_t>{notes[1].lNotifyType, notes[2].lNotifyType, notes[3].lNotifyType}),
              (std::vector<int32_t>{8, 6, 7}));

    std::vector<char> project(1024), file(1024), sql(4096);
    twkSQLText_abi s{project.data(), file.data(), 0, 0, 0, 0, sql.data(), 4096};
    EXPECT_EQ(api().WKGetSQLText(notes[4].lObjectHdl, &s), 1);
    EXPECT_STREQ(s.strVSProject, "Project1");
    EXPECT_STREQ(s.strVSFile, "Module1");
    EXPECT_EQ((std::vector<int32_t>{s.lSelFromLine, s.lSelFromColumn, s.lSelToLine, s.lSelToColumn}),
              (std::vector<int32_t>{3, 1, 5, 2}));
    EXPECT_STREQ(s.strText, "SELECT 1");

    f.strName = nullptr; // a nameless object is refused
    EXPECT_EQ(api().WKSI_InjectObjectAdded(find(7, "SHOPDB"), &f), 0);
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
    int count = 0;
    std::set<int32_t> handles;
    while (api().WKTableEnumNext(e, &t.rec))
        ++count, handles.insert(t.rec.lHdl);
    api().WKTableEnumEnd(e);
    EXPECT_EQ(count, 2501);
    EXPECT_EQ(handles.size(), 2501u);
    EXPECT_EQ(api().WKSI_GenerateObjects(folder, 8, 10), 0); // procedures do not go into the table folder
    EXPECT_EQ(api().WKSI_GenerateObjects(folder, 14, -1), 0);
}

TEST_F(StandinProtocol, TheJournalListsEveryCallWithItsArguments) {
    api().WKInitialize(1, "C:\\w\\", "");
    drain();
    api().WKSI_ClearJournal();
    api().WKObjectDoAction(1234, 18);
    std::string file = path("a.wkv");
    std::vector<char> name(file.begin(), file.end());
    name.push_back('\0');
    char empty[] = "";
    api().WKProjectDoAccess(name.data(), empty, 9);
    api().WKButtonDoAction("User response", 6);
    api().WKTerminate();
    std::string expected = "WKObjectDoAction(1234, 18)\n"
                           "WKProjectDoAccess(\"" +
                           file +
                           "\", \"\", 9)\n"
                           "WKButtonDoAction(\"User response\", 6)\n"
                           "WKTerminate()\n";
    EXPECT_EQ(journal(), expected);

    char small[10];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(api().WKSI_GetJournal(small, 8), static_cast<int32_t>(expected.size()));
    EXPECT_EQ(std::string(small), expected.substr(0, 7));
    EXPECT_EQ(small[8], 'x');
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

// What every action code answers, answers to the engine's questions, code and Data Environment
// requests, and tool launches. The drop question answered No and Yes, a copy pasted beside its
// original and the ADO code a module receives are what the scenarios show.
#include "StandinHarness.h"

namespace standin_test {
namespace {

using StandinActions = StandinTest;

struct Expected {
    int32_t kind;
    int32_t type; // object type, or the text type for kind 2
};

struct ActionCase {
    const char* name;
    int32_t targetType;
    const char* target; // database for connections and folders, object name, "" for the project
    int32_t code;
    std::vector<Expected> answer;
    const char* lastText; // part of the last text answered, if any
};

const std::vector<ActionCase> actionCases{
    {"save", 5, "", 3, {{2, 3}}, "was saved to"},
    {"save on a connection", 6, "SHOPDB", 3, {{2, 3}}, "not available"},
    {"connect", 6, "OFFDB", 7, {{6, 6}}, nullptr},
    {"disconnect", 6, "SHOPDB", 8, {{6, 6}}, nullptr},
    {"add a connection", 5, "", 9, {{8, 6}}, nullptr},
    {"new procedure", 7, "SHOPDB", 9, {{8, 8}}, nullptr},
    {"new view", 15, "OFFDB", 9, {{8, 16}}, nullptr},
    {"refresh", 13, "SHOPDB", 10, {{5, 13}}, nullptr},
    {"filter", 7, "SHOPDB", 11, {{5, 7}}, nullptr},
    {"import", 9, "SHOPDB", 12, {{8, 10}, {2, 3}}, "imported from the database SHOPDB"},
    {"import while disconnected", 9, "OFFDB", 12, {{2, 3}}, "not connected"},
    {"properties of a procedure", 8, "P_DEBUG", 13, {{2, 3}}, "Parameters: (IN A INTEGER, OUT B VARCHAR"},
    {"properties of a connection", 6, "SHOPDB", 13, {{2, 3}}, "Connection string: DSN=SHOPDB"},
    {"properties of a folder", 7, "SHOPDB", 13, {{2, 3}}, "Objects: 4"},
    {"properties of the project", 5, "", 13, {{2, 3}}, "Connections: 2"},
    {"edit source", 8, "P_DEBUG", 14, {{6, 8}, {2, 3}}, "open for editing"},
    {"run settings", 8, "P_DEBUG", 15, {{2, 3}}, "Result sets: 2"},
    {"run", 8, "P_DEBUG", 16, {{2, 1}, {2, 1}, {2, 3}}, "returned 2 result set(s)"},
    {"run with debug", 8, "P_DEBUG", 17, {{2, 1}, {2, 1}, {2, 3}}, "under the debugger"},
    {"run with debug, no debug information", 8, "P_DIRTY", 17, {{2, 3}}, "no debug information"},
    {"run while disconnected", 8, "Q1", 16, {{2, 3}}, "OFFDB is not connected"},
    {"build", 8, "P_DIRTY", 18, {{6, 8}, {2, 3}}, "APP.P_DIRTY was built."},
    {"build with debug", 10, "F1", 19, {{6, 10}, {2, 3}}, "with debug information"},
    {"build a trigger", 12, "T1", 18, {{6, 12}, {2, 3}}, "was built"},
    {"build a language the engine lacks", 8, "P_COBOL", 18, {{2, 3}}, "written in COBOL"},
    {"build a table", 14, "ITEMS", 18, {{2, 3}}, "The action Build is not available for table APP.ITEMS"},
    {"sample contents", 14, "ITEMS", 20, {{2, 3}}, "1 | one"},
    {"sample contents without rows", 16, "V1", 20, {{2, 3}}, "holds no rows"},
    {"remove an object", 12, "T1", 21, {{7, 12}}, nullptr},
    {"remove a connection", 6, "OFFDB", 21, {{7, 6}}, nullptr},
    {"close the project", 5, "", 21, {{7, 5}}, nullptr},
    {"drop asks first", 8, "P_DEBUG", 22, {{2, 1}}, "Drop APP.P_DEBUG from the database SHOPDB?"},
    {"paste with nothing copied", 7, "SHOPDB", 23, {{2, 3}}, "Nothing"},
    {"copy", 16, "V1", 24, {{2, 3}}, "APP.V1 was copied"},
    {"view source", 8, "P_DEBUG", 25, {{2, 3}}, "BEGIN\nEND"},
    {"view a source that is not there", 8, "P_COBOL", 25, {{2, 3}}, "could not be read"},
    {"ADO connection code", 6, "SHOPDB", 26, {{2, 3}}, "cnSHOPDB.ConnectionString = \"DSN=SHOPDB\""},
    {"ADO connection object", 6, "SHOPDB", 27, {{2, 3}}, "SHOPDB: DSN=SHOPDB"},
    {"ADO command code", 8, "P_DEBUG", 28, {{2, 3}}, "cmdP_DEBUG.CommandType = adCmdStoredProc"},
    {"ADO command object", 10, "F1", 29, {{2, 3}}, "VALUES APP.F1()"},
    {"an unknown action code", 8, "P_DEBUG", 99, {{2, 3}}, "The action number 99 is not available"},
};

TEST_F(StandinActions, EveryActionCodeAnswersVisibly) {
    for (const ActionCase& c : actionCases) {
        SCOPED_TRACE(c.name);
        api().WKSI_Reset();
        openSample();
        int32_t target = find(c.targetType, c.target);
        ASSERT_GT(target, 0);
        api().WKObjectDoAction(target, c.code);
        auto notes = drain();
        ASSERT_EQ(notes.size(), c.answer.size());
        std::vector<Text> texts;
        for (size_t i = 0; i < notes.size(); ++i) {
            EXPECT_EQ(notes[i].lNotifyType, c.answer[i].kind) << i;
            if (notes[i].lNotifyType == 2) {
                texts.push_back(readText(notes[i].lObjectHdl));
                EXPECT_EQ(texts.back().type, c.answer[i].type) << i;
                continue;
            }
            EXPECT_EQ(notes[i].lObjectType, c.answer[i].type) << i;
            if (notes[i].lNotifyType != 8) {
                EXPECT_EQ(notes[i].lObjectHdl, target) << i;
            }
        }
        if (c.lastText) {
            ASSERT_FALSE(texts.empty());
            EXPECT_THAT(texts.back().text, HasSubstr(c.lastText));
        }
    }
}

TEST_F(StandinActions, RunIsBracketedByTheMinimizeAndRestoreWords) {
    openSample();
    api().WKObjectDoAction(find(8, "P_DEBUG"), 16);
    auto texts = textsOf(drain());
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "MINIMIZE_MSWIN");
    EXPECT_EQ(texts[1].text, "WK_TASK_COMPLETE");
    EXPECT_EQ(texts[2].type, 3);
}

TEST_F(StandinActions, BuildEditConnectAndDisconnectChangeTheRecords) {
    // Building cleans the routine and sets its debug flag by the code; editing makes it dirty.
    for (auto [name, code, dirty, canDebug] : {std::tuple{"P_DIRTY", 18, WK_FALSE, WK_FALSE},
                                               {"P_DIRTY", 19, WK_FALSE, WK_TRUE},
                                               {"P_DEBUG", 14, WK_TRUE, WK_TRUE}}) {
        api().WKSI_Reset();
        openSample();
        int32_t proc = find(8, name);
        api().WKObjectDoAction(proc, code);
        drain();
        ProcedureRec r;
        ASSERT_EQ(api().WKProcedureGet(proc, &r.rec), 1);
        EXPECT_EQ(r.rec.bIsDirty, dirty) << code;
        EXPECT_EQ(r.rec.bCanDebug, canDebug) << code;
    }
    int32_t off = find(6, "OFFDB");
    ConnectionRec c;
    for (auto [code, connected] : {std::pair{7, WK_TRUE}, {8, WK_FALSE}, {7, WK_TRUE}}) {
        api().WKObjectDoAction(off, code);
        drain();
        ASSERT_EQ(api().WKConnectionGet(off, &c.rec), 1);
        EXPECT_EQ(c.rec.bConnected, connected) << code;
    }
    api().WKObjectDoAction(find(8, "Q1"), 18); // connected now, so the build runs
    EXPECT_EQ(textsOf(drain()).back().text, "OFF.Q1 was built.");
}

TEST_F(StandinActions, AddingNamesNewThingsUniquely) {
    openSample();
    int32_t folder = find(7, "SHOPDB");
    Names names;
    for (int i = 0; i < 3; ++i) {
        api().WKObjectDoAction(folder, 9);
        auto notes = drain();
        ASSERT_EQ(notes.size(), 1u);
        ProcedureRec r;
        ASSERT_EQ(api().WKProcedureGet(notes[0].lObjectHdl, &r.rec), 1);
        EXPECT_EQ(r.rec.bIsDirty, WK_TRUE);
        EXPECT_THAT(std::string(r.rec.strFileName), HasSubstr("NEW_PROCEDURE"));
        names.push_back(r.rec.strName);
    }
    EXPECT_EQ(names, (Names{"NEW_PROCEDURE", "NEW_PROCEDURE_2", "NEW_PROCEDURE_3"}));

    api().WKObjectDoAction(find(5, ""), 9);
    auto notes = drain();
    ASSERT_EQ(notes.size(), 1u);
    ConnectionRec c;
    api().WKConnectionGet(notes[0].lObjectHdl, &c.rec);
    EXPECT_STREQ(c.rec.strDatabase, "NEWDB");
    EXPECT_EQ(c.rec.bConnected, WK_FALSE);
}

TEST_F(StandinActions, AnObjectAddedWhileItsFolderIsBeingListedArrivesOnlyInTheListing) {
    // A right-click shows the folder (a listing is queued) and the user picks New at once.
    openSample();
    int32_t folder = find(7, "SHOPDB");
    api().WKSetCurrentFolder(folder, 0);
    api().WKObjectDoAction(folder, 9);
    auto notes = drain();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].lNotifyType, 5);
    EXPECT_EQ(notes[0].lObjectHdl, folder);
    EXPECT_NE(find(8, "NEW_PROCEDURE"), 0);

    api().WKObjectDoAction(folder, 9);  // nothing pending now: reported as added
    notes = drain();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].lNotifyType, 8);
}

TEST_F(StandinActions, CopyThenPasteMakesARenamedCopy) {
    openSample();
    api().WKObjectDoAction(find(8, "P_DEBUG"), 24);
    drain();
    api().WKObjectDoAction(find(9, "SHOPDB"), 23); // a procedure does not fit the function folder
    EXPECT_THAT(textsOf(drain()).at(0).text, HasSubstr("Nothing"));

    api().WKObjectDoAction(find(7, "OFFDB"), 23);
    auto notes = drain();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].lNotifyType, 8);
    EXPECT_EQ(notes[0].lConnectionHdl, find(6, "OFFDB"));
    ProcedureRec r;
    ASSERT_EQ(api().WKProcedureGet(notes[0].lObjectHdl, &r.rec), 1);
    EXPECT_STREQ(r.rec.strName, "P_DEBUG");
    EXPECT_STREQ(r.rec.strParameters, "(IN A INTEGER, OUT B VARCHAR(20))");
    EXPECT_NE(std::string(r.rec.strFileName), path("src/P_DEBUG.sql")); // its own source file

    api().WKObjectDoAction(find(7, "OFFDB"), 23);
    ProcedureRec again;
    api().WKProcedureGet(drain().at(0).lObjectHdl, &again.rec);
    EXPECT_STREQ(again.rec.strName, "P_DEBUG_2");
}

TEST_F(StandinActions, RemovedThingsStopAnswering) {
    openSample();
    int32_t proc = find(8, "P_DEBUG"), connection = find(6, "OFFDB"), offProc = find(8, "Q1");
    api().WKObjectDoAction(proc, 21);
    api().WKObjectDoAction(connection, 21);
    drain();
    ProcedureRec r;
    EXPECT_EQ(api().WKProcedureGet(proc, &r.rec), 0);
    EXPECT_EQ(api().WKProcedureGet(offProc, &r.rec), 0); // went with its connection
    ConnectionRec c;
    EXPECT_EQ(api().WKConnectionGet(connection, &c.rec), 0);
    api().WKObjectDoAction(proc, 18);
    auto texts = textsOf(drain());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_THAT(texts[0].text, HasSubstr(std::to_string(proc) + " does not exist"));
}

TEST_F(StandinActions, AnswersGoToTheQuestionsInTheOrderTheyWereShown) {
    openSample();
    int32_t first = find(8, "P_DEBUG"), second = find(8, "P_DIRTY");
    api().WKObjectDoAction(first, 22);
    api().WKSI_InjectText(1, "Injected question?", "IDE_QUESTION#67#Mine");
    api().WKObjectDoAction(second, 22);
    drain();
    api().WKButtonDoAction("User response", 7); // the first drop: No
    api().WKButtonDoAction("User response", 6); // the injected question: a Yes that changes nothing
    api().WKButtonDoAction("User response", 7); // the second drop: No
    EXPECT_TRUE(drain().empty());
    ProcedureRec r;
    EXPECT_EQ(api().WKProcedureGet(first, &r.rec), 1);
    EXPECT_EQ(api().WKProcedureGet(second, &r.rec), 1);
    api().WKButtonDoAction("User response", 6); // an answer nobody asked for changes nothing
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(api().WKProcedureGet(first, &r.rec), 1);
}

// The generated code itself, for a routine or a connection, is what the code-generation scenario
// shows in the module; what has none gets a message, and the caller's in-out strings stay as given.
TEST_F(StandinActions, AdoCodeIsOnlyForRoutinesAndConnectionsInLanguageTwo) {
    openSample();
    char project[] = "Project1", component[] = "Module1";
    for (auto [hdl, language] : {std::pair{find(8, "P_DEBUG"), 1}, {find(12, "T1"), 2}, {999999, 2}}) {
        api().WKObjectDoGetADO(hdl, language, project, component);
        auto answer = drain();
        ASSERT_EQ(answer.size(), 1u);
        EXPECT_EQ(answer[0].lNotifyType, 2) << hdl;
    }
    EXPECT_EQ((Names{project, component}), (Names{"Project1", "Module1"}));
}

TEST_F(StandinActions, DataEnvironmentRequestsCarryTheNamesGiven) {
    openSample();
    char project[] = "Project1", dataEnv[] = "DataEnvironment1", conName[] = "WKConnection",
         cmdName[] = "WKCommand";
    api().WKConnectionDoGetDE(find(6, "SHOPDB"), project, dataEnv, conName);
    api().WKCommandDoGetDE(find(8, "P_DEBUG"), project, dataEnv, conName, cmdName);
    api().WKCommandDoGetDE(find(14, "ITEMS"), project, dataEnv, conName, cmdName);
    auto notes = drain();
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].lNotifyType, 9);
    EXPECT_EQ(notes[1].lNotifyType, 10);

    Slots s;
    twkConnectionDE_abi c{s.add(256), s.add(256), s.add(256), s.add(1024)};
    ASSERT_EQ(api().WKConnectionGetDE(notes[0].lObjectHdl, &c), 1);
    EXPECT_EQ((Names{c.strVSProject, c.strDEName, c.strDEConnection, c.strConnectionString}),
              (Names{"Project1", "DataEnvironment1", "WKConnection", "DSN=SHOPDB"}));

    for (auto [note, text, type, parameters] :
         {std::tuple{1u, "APP.P_DEBUG", 1, WK_TRUE}, {2u, "APP.ITEMS", 3, WK_FALSE}}) {
        twkCommandDE_abi d{s.add(256), s.add(256), s.add(256), s.add(256), s.add(4096), 0, 0};
        ASSERT_EQ(api().WKCommandGetDE(notes[note].lObjectHdl, &d), 1);
        EXPECT_EQ((Names{d.strDECommand, d.strDEConnection, d.strCommandText}),
                  (Names{"WKCommand", "WKConnection", text}));
        EXPECT_EQ(d.lCommandType, type);
        EXPECT_EQ(d.bHasParemeters, parameters);
    }
    EXPECT_TRUE(s.intact());

    api().WKConnectionDoGetDE(find(8, "P_DEBUG"), project, dataEnv, conName); // not a connection
    EXPECT_EQ(drain().at(0).lNotifyType, 2);
}

// The tools that exist say they were started, as the commands scenario shows; one that does not
// exist is named as missing.
TEST_F(StandinActions, ToolLaunchesReportTheToolAskedFor) {
    int32_t r = 77;
    api().WKLaunchApp(2, "-ccf", &r);
    EXPECT_EQ(r, 0);
    api().WKLaunchNIMBTool(99);
    auto texts = textsOf(drain());
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_THAT(texts[1].text, HasSubstr("no tool number 99"));
}

TEST_F(StandinActions, RoutineParametersAndCallingSqlAreDerivedFromTheParameterList) {
    openSample();
    int32_t e = 0;
    ASSERT_EQ(api().WKParameterDEEnumBegin(find(8, "P_DEBUG"), &e), 1);
    std::vector<std::string> seen;
    char name[256];
    twkParameterDE_abi p{name, 0, 0, 0, 0, 0};
    while (api().WKParameterDEEnumNext(e, &p))
        seen.push_back(std::string(p.strName) + "/" + std::to_string(p.lMode) + "/" +
                       std::to_string(p.lSQLSize));
    api().WKParameterDEEnumEnd(e);
    EXPECT_EQ(seen, (std::vector<std::string>{"A/1/0", "B/2/20"}));

    char sql[64];
    api().WKBuildSQLStatement(find(8, "P_DEBUG"), sql, sizeof sql);
    EXPECT_STREQ(sql, "CALL APP.P_DEBUG(?, ?)");
    api().WKBuildSQLStatement(find(14, "ITEMS"), sql, sizeof sql);
    EXPECT_STREQ(sql, "SELECT * FROM APP.ITEMS");
}

} // namespace
} // namespace standin_test

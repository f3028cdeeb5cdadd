// Engine project files: create, save, save as, reopen; missing and malformed files; the demo.
#include "StandinHarness.h"

#include <set>

namespace standin_test {
namespace {

using StandinFiles = StandinTest;

TEST_F(StandinFiles, AccessCodeNineCreatesAnEmptyProjectWithItsFolders) {
    std::string file = path("vb/wk/Project1.wkv");
    auto notes = access(file, "", 9);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].lObjectType, 5);
    ProjectRec p;
    api().WKProjectGet(notes[0].lObjectHdl, &p.rec);
    EXPECT_STREQ(p.rec.strName, "Project1");
    EXPECT_EQ(p.rec.strPath, file);
    EXPECT_TRUE(std::filesystem::exists(file));

    api().WKSI_Reset();
    EXPECT_EQ(access(file, "", 9).size(), 1u); // the second start opens what the first created
    EXPECT_EQ(find(5, "Project1"), find(5, ""));
}

TEST_F(StandinFiles, ADrivePathIsRefusedWhereThereAreNoDrives) {
    auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    auto notes = access("Q:\\vb\\wk\\Project1.wkv", "", 9);
    std::filesystem::current_path(cwd);
    ASSERT_EQ(notes.size(), 2u); // the project is usable, but its file could not be written
    EXPECT_NE(readText(notes[0].lObjectHdl).text.find("names a drive"), std::string::npos);
    EXPECT_EQ(notes[1].lObjectType, 5);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "Q:"));
}

TEST_F(StandinFiles, AccessCodeTwoJoinsFolderAndName) {
    write("sub/shop.wkv", sampleProject);
    auto notes = access("shop.wkv", path("sub"), 2);
    ASSERT_EQ(notes.size(), 3u);
    ProjectRec p;
    api().WKProjectGet(notes[0].lObjectHdl, &p.rec);
    EXPECT_EQ(std::filesystem::path(p.rec.strPath), std::filesystem::path(path("sub/shop.wkv")));
}

TEST_F(StandinFiles, ARelativeNameIsTakenFromTheStartFolder) {
    write("wk/rel.wkv", sampleProject);
    api().WKInitialize(1, path("wk").c_str(), "");
    drain();
    EXPECT_EQ(access("rel.wkv", "", 2).size(), 3u);
}

TEST_F(StandinFiles, AMissingFileIsReportedAndNothingIsOpened) {
    auto notes = access(path("nowhere.wkv"), "", 2);
    ASSERT_EQ(notes.size(), 1u);
    Text t = readText(notes[0].lObjectHdl);
    EXPECT_EQ(t.type, 3);
    EXPECT_NE(t.text.find(path("nowhere.wkv")), std::string::npos);
    EXPECT_EQ(find(5, ""), 0);
}

TEST_F(StandinFiles, MalformedFilesAreRefusedWithTheLineAndNothingIsLoaded) {
    struct Row {
        const char* name;
        std::string text;
        const char* reason;
    };
    const std::string head = "wkv 1\nproject = P\n";
    const std::vector<Row> rows{
        {"empty file", "", "line 1: the file does not start with"},
        {"no header", "project = P\n", "line 1: the file does not start with"},
        {"no project", "wkv 1\n", "the project name is missing"},
        {"unknown key", head + "colour = red\n", "line 3: unknown key \"colour\""},
        {"object before connection", head + "[table]\nname = T\n",
         "line 3: [table] comes before any [connection]"},
        {"unknown section", head + "[index]\n", "unknown section [index]"},
        {"section not closed", head + "[connection\n", "must end with ']'"},
        {"no key", head + "= x\n", "a key is missing"},
        {"no equals", head + "[connection]\ndatabase\n", "line 4: expected \"key = value\""},
        {"no database", head + "[connection]\nconnected = true\n[table]\nname = T\n", "has no database"},
        {"bad boolean", head + "[connection]\ndatabase = D\nconnected = yes\n",
         "line 5: expected true or false"},
        {"number too big", head + "[connection]\ndatabase = D\n[table]\nname = T\ntype = 2147483648\n",
         "line 7: expected a whole number"},
        {"number with junk", head + "[connection]\ndatabase = D\n[procedure]\nname = P\nresultSets = 2x\n",
         "expected a whole number"},
        {"key of another kind", head + "[connection]\ndatabase = D\n[view]\nname = V\nresultSets = 1\n",
         "unknown key \"resultSets\" in [view]"},
        {"duplicate key", head + "[connection]\ndatabase = D\ndatabase = E\n",
         "line 5: the key \"database\" is given twice"},
        {"object without name", head + "[connection]\ndatabase = D\n[view]\nschema = S\n",
         "the view above has no name"},
        {"source leaves the folder",
         head + "[connection]\ndatabase = D\n[procedure]\nname = P\nfile = ../../x.sql\n",
         "must stay inside the project's folder"},
        {"absolute source", head + "[connection]\ndatabase = D\n[procedure]\nname = P\nfile = /etc/passwd\n",
         "must be relative"},
        {"drive in source", head + "[connection]\ndatabase = D\n[procedure]\nname = P\nfile = C:/x.sql\n",
         "must be relative"},
        {"bad escape", head + "[connection]\ndatabase = D\nconnectionString = a\\q\n", "unknown escape \\q"},
        {"lone backslash", head + "[connection]\ndatabase = D\nconnectionString = a\\\n", "lone backslash"},
        {"unknown filter", head + "[connection]\ndatabase = D\nfiltered = indexes\n",
         "unknown folder \"indexes\""},
        {"NUL byte", head + "[connection]\ndatabase = D" + std::string(1, '\0') + "E\n",
         "line 4: the line holds a NUL"},
    };
    openSample();
    int32_t open = find(5, "");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        write("bad.wkv", row.text);
        auto notes = access(path("bad.wkv"), "", 2);
        ASSERT_EQ(notes.size(), 1u);
        Text t = readText(notes[0].lObjectHdl);
        EXPECT_EQ(t.type, 3);
        EXPECT_NE(t.text.find(row.reason), std::string::npos) << t.text;
        EXPECT_EQ(find(5, ""), open); // the project that was open stays open
    }
}

TEST_F(StandinFiles, SaveAsWritesProjectAndSourcesAndReopensAsSaved) {
    openSample();
    int32_t proc = find(8, "P_DEBUG");
    api().WKObjectDoAction(proc, 14); // dirty now
    api().WKObjectDoAction(find(7, "SHOPDB"), 11);
    WKSI_ObjectFields f{};
    f.strName = "TRICKY";
    f.strSchema = " SP ";
    f.strComment = "two\nlines, a back\\slash and a # too";
    f.strLanguage = "SQL";
    f.strFileName = "src\\deep\\TRICKY.sql";
    f.lResultSets = -7;
    f.bIsFenced = WK_TRUE;
    ASSERT_GT(api().WKSI_InjectObjectAdded(find(7, "OFFDB"), &f), 0);
    drain();

    std::string copy = path("elsewhere/copy.wkv");
    auto notes = access(copy, "", 4);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].lNotifyType, 6);
    EXPECT_EQ(notes[0].lObjectType, 5);
    ProjectRec p;
    api().WKProjectGet(notes[0].lObjectHdl, &p.rec);
    EXPECT_EQ(p.rec.strPath, copy);
    EXPECT_EQ(readFile(path("elsewhere/src/P_DEBUG.sql")), readFile(path("src/P_DEBUG.sql")));

    api().WKSI_Reset();
    ASSERT_EQ(access(copy, "", 2).size(), 3u);
    ProcedureRec r;
    ASSERT_EQ(api().WKProcedureGet(find(8, "P_DEBUG"), &r.rec), 1);
    EXPECT_EQ(r.rec.bIsDirty, WK_TRUE);
    EXPECT_EQ(r.rec.bCanDebug, WK_TRUE);
    EXPECT_EQ(r.rec.lResultSets, 2);
    EXPECT_EQ(std::filesystem::path(r.rec.strFileName),
              std::filesystem::path(path("elsewhere/src/P_DEBUG.sql")));
    ASSERT_EQ(api().WKProcedureGet(find(8, "TRICKY"), &r.rec), 1);
    EXPECT_STREQ(r.rec.strSchema, " SP ");
    EXPECT_STREQ(r.rec.strComment, "two\nlines, a back\\slash and a # too");
    EXPECT_EQ(r.rec.lResultSets, -7);
    EXPECT_EQ(r.rec.bIsFenced, WK_TRUE);
    wkBool filtered = 0;
    int32_t e = 0;
    api().WKProcedureEnumBegin(find(7, "SHOPDB"), &filtered, &e);
    api().WKProcedureEnumEnd(e);
    EXPECT_EQ(filtered, WK_TRUE);
    TableRec t;
    ASSERT_EQ(api().WKTableGet(find(14, "ITEMS"), &t.rec), 1);
    EXPECT_EQ(t.rec.lType, 3);
}

TEST_F(StandinFiles, CreateAddSaveAsAndReopenKeepsWhatWasMade) {
    access(path("new/wk/Fresh.wkv"), "", 9);
    api().WKObjectDoAction(find(5, ""), 9);
    api().WKObjectDoAction(find(7, "NEWDB"), 9);
    api().WKObjectDoAction(find(6, "NEWDB"), 7);
    api().WKObjectDoAction(find(8, "NEW_PROCEDURE"), 19);
    drain();
    access(path("moved/Fresh2.wkv"), "", 4);

    api().WKSI_Reset();
    auto notes = access(path("moved/Fresh2.wkv"), "", 2);
    ASSERT_EQ(notes.size(), 2u);
    ProjectRec p;
    api().WKProjectGet(notes[0].lObjectHdl, &p.rec);
    EXPECT_STREQ(p.rec.strName, "Fresh");
    ProcedureRec r;
    ASSERT_EQ(api().WKProcedureGet(find(8, "NEW_PROCEDURE"), &r.rec), 1);
    EXPECT_EQ(r.rec.bIsDirty, WK_FALSE);
    EXPECT_EQ(r.rec.bCanDebug, WK_TRUE);
    EXPECT_EQ(readFile(r.rec.strFileName).rfind("CREATE PROCEDURE APP.NEW_PROCEDURE", 0), 0u);
}

TEST_F(StandinFiles, SaveWritesTheFileInPlaceWithoutLeftovers) {
    openSample();
    api().WKObjectDoAction(find(5, ""), 9);
    api().WKObjectDoAction(find(7, "NEWDB"), 9);
    api().WKObjectDoAction(find(5, ""), 3);
    drain();
    std::string saved = readFile(path("shop.wkv"));
    EXPECT_NE(saved.find("database = NEWDB"), std::string::npos);
    EXPECT_NE(saved.find("name = NEW_PROCEDURE"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(path("src/NEW_PROCEDURE.sql")));
    EXPECT_FALSE(std::filesystem::exists(path("shop.wkv.tmp")));
}

TEST_F(StandinFiles, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    openSample();
    std::filesystem::create_directories(path("blocked.wkv")); // a folder where the file should go
    auto notes = access(path("blocked.wkv"), "", 4);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(readText(notes[0].lObjectHdl).text.find("could not be saved"), std::string::npos);
    ProjectRec p;
    api().WKProjectGet(find(5, ""), &p.rec);
    EXPECT_EQ(p.rec.strPath, path("shop.wkv")); // still the old name
}

TEST_F(StandinFiles, SaveAsWithoutAProjectSaysSo) {
    auto notes = access(path("x.wkv"), "", 4);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(readText(notes[0].lObjectHdl).text.find("No engine project is open"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("x.wkv")));
    EXPECT_NE(readText(access(path("x.wkv"), "", 5).at(0).lObjectHdl).text.find("access code 5"),
              std::string::npos);
}

TEST_F(StandinFiles, TheDemoProjectLoadsWithEverythingItPromises) {
    std::filesystem::copy(NIMB_EXAMPLES_DIR, dir_ / "examples", std::filesystem::copy_options::recursive);
    auto notes = access(path("examples/demo.wkv"), "", 2);
    ASSERT_EQ(notes.size(), 3u);
    ProjectRec p;
    api().WKProjectGet(notes[0].lObjectHdl, &p.rec);
    EXPECT_STREQ(p.rec.strName, "Inventory");

    ConnectionRec inv, sales;
    api().WKConnectionGet(find(6, "INVDB"), &inv.rec);
    api().WKConnectionGet(find(6, "SALESDB"), &sales.rec);
    EXPECT_EQ(inv.rec.bConnected, WK_TRUE);
    EXPECT_EQ(sales.rec.bConnected, WK_FALSE);

    std::set<std::string> languages;
    int dirty = 0, debuggable = 0;
    wkBool filtered = 0;
    int32_t e = 0;
    ASSERT_EQ(api().WKProcedureEnumBegin(inv.rec.lProceduresHdl, &filtered, &e), 1);
    ProcedureRec r;
    while (api().WKProcedureEnumNext(e, &r.rec)) {
        languages.insert(r.rec.strLanguage);
        dirty += r.rec.bIsDirty != 0;
        debuggable += r.rec.bCanDebug != 0;
        api().WKObjectDoAction(r.rec.lHdl, 25);
        EXPECT_EQ(textsOf(drain()).at(0).text.find("could not be read"), std::string::npos) << r.rec.strName;
    }
    api().WKProcedureEnumEnd(e);
    EXPECT_EQ(languages, (std::set<std::string>{"SQL", "Java"}));
    EXPECT_EQ(dirty, 1);
    EXPECT_EQ(debuggable, 1);
    for (int32_t folder :
         {inv.rec.lFunctionsHdl, inv.rec.lTriggersHdl, inv.rec.lTablesHdl, inv.rec.lViewsHdl}) {
        api().WKObjectDoAction(folder, 13);
        std::string properties = textsOf(drain()).at(0).text;
        EXPECT_EQ(properties.find("Objects: 0"), std::string::npos) << properties;
    }
}

} // namespace
} // namespace standin_test

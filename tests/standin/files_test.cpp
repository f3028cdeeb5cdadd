// Engine project files: create, save, save as, reopen; missing and malformed files; the demo.
#include "StandinHarness.h"

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
    EXPECT_THAT(readText(notes[0].lObjectHdl).text, HasSubstr("names a drive"));
    EXPECT_EQ(notes[1].lObjectType, 5);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "Q:"));
}

TEST_F(StandinFiles, ARelativeNameIsJoinedToTheFolderGivenElseToTheStartFolder) {
    write("sub/shop.wkv", sampleProject);
    auto notes = access("shop.wkv", path("sub"), 2);
    ASSERT_EQ(notes.size(), 3u);
    ProjectRec p;
    api().WKProjectGet(notes[0].lObjectHdl, &p.rec);
    EXPECT_EQ(std::filesystem::path(p.rec.strPath), std::filesystem::path(path("sub/shop.wkv")));

    api().WKSI_Reset();
    api().WKInitialize(1, path("sub").c_str(), "");
    drain();
    EXPECT_EQ(access("shop.wkv", "", 2).size(), 3u);
}

TEST_F(StandinFiles, AMissingFileIsReportedAndNothingIsOpened) {
    auto notes = access(path("nowhere.wkv"), "", 2);
    ASSERT_EQ(notes.size(), 1u);
    Text t = readText(notes[0].lObjectHdl);
    EXPECT_EQ(t.type, 3);
    EXPECT_THAT(t.text, HasSubstr(path("nowhere.wkv")));
    EXPECT_EQ(find(5, ""), 0);
}

TEST_F(StandinFiles, MalformedFilesAreRefusedWithTheLineAndNothingIsLoaded) {
    const std::string head = "wkv 1\nproject = P\n", con = head + "[connection]\ndatabase = D\n";
    const std::string proc = con + "[procedure]\nname = P\n";
    const std::vector<std::tuple<const char*, std::string, const char*>> rows{
        {"empty file", "", "line 1: the file does not start with"},
        {"no header", "project = P\n", "line 1: the file does not start with"},
        {"no project", "wkv 1\n", "the project name is missing"},
        {"unknown key", head + "colour = red\n", "line 3: unknown key \"colour\""},
        {"object first", head + "[table]\nname = T\n", "line 3: [table] comes before any [connection]"},
        {"unknown section", head + "[index]\n", "unknown section [index]"},
        {"section not closed", head + "[connection\n", "must end with ']'"},
        {"no key", head + "= x\n", "a key is missing"},
        {"no equals", head + "[connection]\ndatabase\n", "line 4: expected \"key = value\""},
        {"no database", head + "[connection]\nconnected = true\n[table]\nname = T\n", "has no database"},
        {"bad boolean", con + "connected = yes\n", "line 5: expected true or false"},
        {"number too big", con + "[table]\nname = T\ntype = 2147483648\n", "line 7: expected a whole number"},
        {"number with junk", proc + "resultSets = 2x\n", "expected a whole number"},
        {"key of another kind", con + "[view]\nname = V\nresultSets = 1\n",
         "unknown key \"resultSets\" in [view]"},
        {"duplicate key", con + "database = E\n", "line 5: the key \"database\" is given twice"},
        {"object without name", con + "[view]\nschema = S\n", "the view above has no name"},
        {"source leaves the folder", proc + "file = ../../x.sql\n", "must stay inside the project's folder"},
        {"absolute source", proc + "file = /etc/passwd\n", "must be relative"},
        {"drive in source", proc + "file = C:/x.sql\n", "must be relative"},
        {"bad escape", con + "connectionString = a\\q\n", "unknown escape \\q"},
        {"lone backslash", con + "connectionString = a\\\n", "lone backslash"},
        {"unknown filter", con + "filtered = indexes\n", "unknown folder \"indexes\""},
        {"NUL byte", head + "[connection]\ndatabase = D" + std::string(1, '\0') + "E\n",
         "line 4: the line holds a NUL"},
    };
    openSample();
    int32_t open = find(5, "");
    for (const auto& [name, text, reason] : rows) {
        SCOPED_TRACE(name);
        write("bad.wkv", text);
        auto notes = access(path("bad.wkv"), "", 2);
        ASSERT_EQ(notes.size(), 1u);
        Text t = readText(notes[0].lObjectHdl);
        EXPECT_EQ(t.type, 3);
        EXPECT_THAT(t.text, HasSubstr(reason));
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
    EXPECT_EQ((std::vector<int32_t>{r.rec.bIsDirty, r.rec.bCanDebug, r.rec.lResultSets}),
              (std::vector<int32_t>{WK_TRUE, WK_TRUE, 2}));
    EXPECT_EQ(std::filesystem::path(r.rec.strFileName),
              std::filesystem::path(path("elsewhere/src/P_DEBUG.sql")));
    ASSERT_EQ(api().WKProcedureGet(find(8, "TRICKY"), &r.rec), 1);
    EXPECT_STREQ(r.rec.strSchema, " SP ");
    EXPECT_STREQ(r.rec.strComment, "two\nlines, a back\\slash and a # too");
    EXPECT_EQ(r.rec.lResultSets, -7);
    EXPECT_EQ(r.rec.bIsFenced, WK_TRUE);
    wkBool filtered = 0;
    procedureNames(find(7, "SHOPDB"), &filtered);
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
    EXPECT_THAT(saved, AllOf(HasSubstr("database = NEWDB"), HasSubstr("name = NEW_PROCEDURE")));
    EXPECT_TRUE(std::filesystem::exists(path("src/NEW_PROCEDURE.sql")));
    EXPECT_FALSE(std::filesystem::exists(path("shop.wkv.tmp")));
}

TEST_F(StandinFiles, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    openSample();
    std::filesystem::create_directories(path("blocked.wkv")); // a folder where the file should go
    auto notes = access(path("blocked.wkv"), "", 4);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_THAT(readText(notes[0].lObjectHdl).text, HasSubstr("could not be saved"));
    ProjectRec p;
    api().WKProjectGet(find(5, ""), &p.rec);
    EXPECT_EQ(p.rec.strPath, path("shop.wkv")); // still the old name
}

TEST_F(StandinFiles, SaveAsWithoutAProjectSaysSo) {
    auto notes = access(path("x.wkv"), "", 4);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_THAT(readText(notes[0].lObjectHdl).text, HasSubstr("No engine project is open"));
    EXPECT_FALSE(std::filesystem::exists(path("x.wkv")));
    EXPECT_THAT(readText(access(path("x.wkv"), "", 5).at(0).lObjectHdl).text, HasSubstr("access code 5"));
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

    // Every source the demo names is shipped with it, and no folder is empty.
    Names names = procedureNames(inv.rec.lProceduresHdl);
    EXPECT_GE(names.size(), 2u);
    for (const std::string& name : names) {
        api().WKObjectDoAction(find(8, name.c_str()), 25);
        EXPECT_THAT(textsOf(drain()).at(0).text, Not(HasSubstr("could not be read"))) << name;
    }
    for (int32_t folder :
         {inv.rec.lFunctionsHdl, inv.rec.lTriggersHdl, inv.rec.lTablesHdl, inv.rec.lViewsHdl}) {
        api().WKObjectDoAction(folder, 13);
        EXPECT_THAT(textsOf(drain()).at(0).text, Not(HasSubstr("Objects: 0")));
    }
}

} // namespace
} // namespace standin_test

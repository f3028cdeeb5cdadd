// VSSAPI: SourceSafe in the registry, opening a database, the current project, and the refusals and
// errors of the file commands. A file added, checked out to its local path and checked in again is
// what the SourceSafe scenario shows.
#include "scc/VSSAPI.h"

#include "platform/vss/VSSErrors.h"
#include "scc/SourceSafeFixture.h"

namespace {

using namespace nimb;
using scctest::common;
using scctest::HKLM;
using Strings = std::vector<std::string>;
const std::string proc1 = "C:\\work\\proc1.sql";

class VSSAPITest : public scctest::SourceSafeTest {};

TEST_F(VSSAPITest, SourceSafeIsInstalledOnlyWhenItsKeyHoldsSCCServerPath) {
    struct Case {
        bool withDatabases, withServerPath, installed;
    };
    for (const Case c : {Case{false, false, false}, Case{true, false, false}, Case{false, true, true}}) {
        auto machine = std::make_shared<sim::MemoryRegistry>();
        if (c.withDatabases) machine->setString(HKLM, scctest::databasesKey, "Common", common);
        if (c.withServerPath) machine->setString(HKLM, scctest::sourceSafeKey, "SCCServerPath", "x.dll");
        registry::install(machine);
        EXPECT_EQ(VSSAPI::isVSSInstalled(), c.installed) << c.withDatabases << c.withServerPath;
        EXPECT_EQ(machine->openHandles(), 0);
    }
}

TEST_F(VSSAPITest, TheDatabaseListFollowsTheRegistryAndAnEmptyKeyGivesNone) {
    reg->setString(HKLM, scctest::databasesKey, "Long", std::string(2048, 'x'));  // too long: the list ends
    reg->setString(HKLM, scctest::databasesKey, "After", "E:\\After");
    VSSAPI::DatabaseList dbList;
    ASSERT_TRUE(VSSAPI::getVSSDatabases(dbList));
    EXPECT_EQ(dbList, (VSSAPI::DatabaseList{{"Common", common}, {"Team", "D:\\Team"}}));
    EXPECT_EQ(reg->openHandles(), 0);

    auto empty = std::make_shared<sim::MemoryRegistry>();
    empty->createKey(HKLM, scctest::databasesKey);
    registry::install(empty);
    EXPECT_FALSE(VSSAPI::getVSSDatabases(dbList));
}

TEST_F(VSSAPITest, TheDatabaseTextPicksTheSrcsafeIniToOpen) {
    server->addDatabase("E:\\Typed");
    server->addUser("E:\\Typed", "alice", "secret");
    const std::pair<const char*, const char*> cases[] = {
        {"Common", "C:\\VSS\\Common\\srcsafe.ini"},
        {"common", "C:\\VSS\\Common\\srcsafe.ini"},
        {"E:\\Typed\\", "E:\\Typed\\srcsafe.ini"},  // no such name: a folder
        {"E:\\Typed\\SrcSafe.ini", "E:\\Typed\\SrcSafe.ini"},
    };
    VSSAPI::DatabaseList dbList{{"Common", "X:\\Gone"}, {"Common", common}};  // the last one wins
    for (const auto& [typed, ini] : cases) {
        EXPECT_TRUE(VSSAPI::openVSSDatabase("alice", "secret", typed, dbList));
        EXPECT_EQ(VSSAPI::moduleState().vssIniPath, ini);
    }
}

TEST_F(VSSAPITest, AFailedOpenShowsSourceSafesTextAndTheCommandsThenMeetItsErrors) {
    server->addFile(common, "$/Routines/proc1.sql");
    loggedInTo("Routines");
    user->answerMsgBox(ui::mb::OK);
    EXPECT_FALSE(VSSAPI::openVSSDatabase("alice", "wrong", "Common", {{"Common", common}}));
    user->answerMsgBox(ui::mb::OK);
    VSSAPI::vssCheckOut(proc1);
    EXPECT_EQ(shown(), (Strings{"Invalid password", "text 677 " + proc1 + "\r\nPermission denied"}));
    EXPECT_EQ(user->messageBoxes()[0].style, ui::mb::OKOnly);
}

TEST_F(VSSAPITest, TheProjectListNamesTheRootsChildrenAndAnEmptyRootGivesNone) {
    Strings projects;
    loggedInTo("Routines");
    ASSERT_TRUE(VSSAPI::getVSSProjects(projects));
    EXPECT_EQ(projects, (Strings{"Routines", "Other"}));
    EXPECT_EQ(VSSAPI::moduleState().vssCurrentProject->Spec(), "$/");

    server->addDatabase("E:\\Empty");
    server->addUser("E:\\Empty", "bob", "");
    ASSERT_TRUE(VSSAPI::openVSSDatabase("bob", "", "E:\\Empty", {}));
    EXPECT_FALSE(VSSAPI::getVSSProjects(projects));
}

TEST_F(VSSAPITest, CreatingAProjectUsesAnExistingOneSilentlyAndMakesANewOneWithAnEmptyComment) {
    loggedInTo("Routines");
    EXPECT_EQ(VSSAPI::moduleState().vssCurrentProject->Spec(), "$/Routines");
    EXPECT_EQ(server->children(common, "$/"), (Strings{"Routines", "Other"}));
    VSSAPI::createVSSProject("Fresh");
    EXPECT_EQ(server->journal().callsTo("VSSItem.NewSubproject")[0].args, (Strings{"Fresh", ""}));
    EXPECT_EQ(VSSAPI::moduleState().vssCurrentProject->Spec(), "$/Fresh");
    EXPECT_TRUE(shown().empty());

    user->answerMsgBox(ui::mb::OK);
    VSSAPI::createVSSProject("a/b");
    user->answerMsgBox(ui::mb::OK);
    VSSAPI::setVSSProject("Missing");
    EXPECT_EQ(shown(), (Strings{"text 679 a/b.\r\n\"a/b\" is an invalid project name",
                                "text 678 Missing.\r\nFile \"$/Missing\" not found"}));
    EXPECT_EQ(user->messageBoxes()[1].title, "WK Add-In With Visual SourceSafe");
}

TEST_F(VSSAPITest, BeforeAnyLoginEachFileCommandSaysSoAndAsksSourceSafeNothing) {
    for (auto command : {&VSSAPI::vssAddFile, &VSSAPI::vssCheckOut, &VSSAPI::vssCheckIn}) {
        user->answerMsgBox(ui::mb::OK);
        command(proc1);
    }
    EXPECT_EQ(shown(), Strings(3, "text 675 " + proc1 + "\r\ntext 682"));
    EXPECT_TRUE(server->journal().calls().empty());
}

TEST_F(VSSAPITest, SourceSafeErrorsOfTheFileCommandsAreShownByTheirNumber) {
    const auto desc = [](int32_t id) { return "text " + std::to_string(id) + " " + proc1 + "\r\nboom"; };
    struct Row {
        void (*command)(const std::string&);
        const char* member;
        int32_t number;
        std::string message;  // empty: none
    };
    const Row rows[] = {
        {VSSAPI::vssAddFile, "VSSItem.Add", 35602, ""},
        {VSSAPI::vssAddFile, "VSSItem.Add", 53, desc(675)},
        {VSSAPI::vssAddFile, "VSSItem.Add", vss::errAlreadyCheckedOut, desc(675)},
        {VSSAPI::vssCheckOut, "VSSItem.Checkout", 53, "boom"},
        {VSSAPI::vssCheckOut, "VSSItem.Checkout", static_cast<int32_t>(0x8004D7D8), "boom"},
        {VSSAPI::vssCheckOut, "VSSItem.Checkout", 35602, ""},
        {VSSAPI::vssCheckOut, "VSSItem.Checkout", 5, desc(677)},
        {VSSAPI::vssCheckIn, "VSSItem.Checkin", 53, "boom"},
        {VSSAPI::vssCheckIn, "VSSItem.Checkin", static_cast<int32_t>(0x8004D7D8), "boom"},
        {VSSAPI::vssCheckIn, "VSSItem.Checkin", 35602, ""},
        {VSSAPI::vssCheckIn, "VSSItem.Checkin", vss::errNotCheckedOut, desc(676)},
    };
    server->addFile(common, "$/Routines/proc1.sql");
    loggedInTo("Routines");
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.member) + " " + std::to_string(row.number));
        const auto before = user->messageBoxes().size();
        server->journal().failNext(row.member, vb::VBError(row.number, "boom"));
        if (!row.message.empty()) user->answerMsgBox(ui::mb::OK);
        row.command(proc1);
        const auto boxes = user->messageBoxes();
        ASSERT_EQ(boxes.size(), before + (row.message.empty() ? 0 : 1));
        if (row.message.empty()) continue;
        EXPECT_EQ(boxes.back().subject, row.message);
        EXPECT_EQ(boxes.back().style, ui::mb::Exclamation);
        EXPECT_EQ(boxes.back().title, "WK Add-In With Visual SourceSafe");
    }
}

} // namespace

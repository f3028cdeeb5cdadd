// SourceSafe automation on the in-memory server: login, the project tree, adding files, checking
// out and in, and the error numbers SourceSafe raises.
#include "platform/sim/MemorySourceSafe.h"
#include "platform/vbide/ClassRegistry.h"
#include "platform/vss/SourceSafe.h"
#include "platform/vss/VSSErrors.h"
#include "platform/vss/VSSItem.h"
#include "platform/vss/VSSItems.h"

#include "sim_errors.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class SourceSafeTest : public ::testing::Test {
protected:
    void SetUp() override {
        server->addDatabase("C:\\VSS");
        server->addUser("C:\\VSS", "alice", "secret");
        server->addUser("C:\\VSS", "bob", "");
        server->addProject("C:\\VSS", "$/Routines");
        server->addFile("C:\\VSS", "$/Routines/proc1.sql");
        server->addFile("C:\\VSS", "$/Routines/locked.sql", "bob");
        server->addProject("C:\\VSS", "$/Other");
        server->install();
    }
    void TearDown() override { vss::install(nullptr); }

    std::shared_ptr<vss::VSSDatabase> login(const std::string& user = "alice", const std::string& password = "secret") {
        auto db = vss::createVSSDatabase();
        db->Open("C:\\VSS\\srcsafe.ini", user, password);
        return db;
    }

    std::shared_ptr<sim::MemorySourceSafe> server = sim::MemorySourceSafe::create();
};

TEST_F(SourceSafeTest, OpenFindsTheDatabaseByTheFolderOfItsIniAndChecksTheUser) {
    struct Case {
        const char* what;
        std::string ini;
        std::string user;
        std::string password;
        int32_t error;
    };
    const std::vector<Case> cases{
        {"right", "C:\\VSS\\srcsafe.ini", "alice", "secret", 0},
        {"folder and user in another case", "c:\\vss\\SRCSAFE.INI", "ALICE", "secret", 0},
        {"empty password", "C:\\VSS\\srcsafe.ini", "bob", "", 0},
        {"doubled separator", "C:\\VSS\\\\srcsafe.ini", "alice", "secret", 0},
        {"wrong password", "C:\\VSS\\srcsafe.ini", "alice", "Secret", vss::errBadPassword},
        {"unknown user", "C:\\VSS\\srcsafe.ini", "carol", "", vss::errUserNotFound},
        {"no database there", "D:\\VSS\\srcsafe.ini", "alice", "secret", vss::errIniNotFound},
        {"not an ini", "C:\\VSS\\other.ini", "alice", "secret", vss::errIniNotFound},
        {"nothing typed", "\\srcsafe.ini", "alice", "secret", vss::errIniNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto db = vss::createVSSDatabase();
        EXPECT_EQ(errorOf([&] { db->Open(c.ini, c.user, c.password); }), c.error);
        // Only an open database hands out items.
        EXPECT_EQ(errorOf([&] { db->VSSItem("$/", false); }), c.error ? vss::errPermissionDenied : 0);
    }
}

TEST_F(SourceSafeTest, TheRootListsTopLevelProjectsInOrder) {
    auto root = login()->VSSItem("$/", false);
    EXPECT_EQ(root->Name(), "");
    EXPECT_EQ(root->Spec(), "$/");
    auto items = root->Items(false);
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Item(1)->Name(), "Routines");
    EXPECT_EQ(items->items()[1]->Spec(), "$/Other");
    EXPECT_EQ(items->Item(1)->Type(), vss::VSSITEM_PROJECT);
    EXPECT_EQ(errorOf([&] { items->Item(3); }), vb::err::SubscriptOutOfRange);
}

TEST_F(SourceSafeTest, ItemLookupBySpec) {
    auto db = login();
    struct Case {
        std::string spec;
        int32_t error;
        std::string name;
    };
    for (const auto& c : std::vector<Case>{{"$/Routines", 0, "Routines"},
                                           {"$/routines/PROC1.SQL", 0, "proc1.sql"},
                                           {"$/Routines/", 0, "Routines"},
                                           {"$/Routines/none.sql", vss::errItemNotFound, ""},
                                           {"$/Nowhere/proc1.sql", vss::errItemNotFound, ""},
                                           {"$/Routines/proc1.sql/x", vss::errItemNotFound, ""},
                                           {"Routines", vss::errSpecSyntax, ""},
                                           {"$/Routines//proc1.sql", vss::errSpecSyntax, ""},
                                           {"", vss::errSpecSyntax, ""}}) {
        SCOPED_TRACE(c.spec);
        std::string name;
        EXPECT_EQ(errorOf([&] { name = db->VSSItem(c.spec, false)->Name(); }), c.error);
        EXPECT_EQ(name, c.name);
    }
}

TEST_F(SourceSafeTest, NewSubprojectCreatesOnceThenRaisesItemExists) {
    auto root = login()->VSSItem("$/", false);
    auto created = root->NewSubproject("Fresh", "");
    EXPECT_EQ(created->Spec(), "$/Fresh");
    EXPECT_TRUE(server->exists("C:\\VSS", "$/Fresh"));
    EXPECT_EQ(errorOf([&] { root->NewSubproject("fresh", ""); }), vss::errItemExists);
    EXPECT_EQ(errorOf([&] { root->NewSubproject("", ""); }), vss::errInvalidName);
    EXPECT_EQ(errorOf([&] { root->NewSubproject("a/b", ""); }), vss::errInvalidName);
    EXPECT_EQ(server->children("C:\\VSS", "$/"), (std::vector<std::string>{"Routines", "Other", "Fresh"}));
}

TEST_F(SourceSafeTest, AddTakesTheFileNameOfTheLocalPath) {
    auto db = login();
    auto project = db->VSSItem("$/Routines", false);
    auto added = project->Add("C:\\work\\proc2.sql", "", 0);
    EXPECT_EQ(added->Spec(), "$/Routines/proc2.sql");
    EXPECT_EQ(added->Type(), vss::VSSITEM_FILE);
    EXPECT_EQ(errorOf([&] { project->Add("D:\\elsewhere\\PROC2.sql", "", 0); }), vss::errDuplicateFile);
    EXPECT_EQ(errorOf([&] { added->Add("C:\\work\\x.sql", "", 0); }), vss::errWantProject);
    EXPECT_EQ(errorOf([&] { project->Add("C:\\work\\", "", 0); }), vss::errInvalidName);
}

TEST_F(SourceSafeTest, CheckoutAndCheckinFollowWhoHoldsTheFile) {
    auto db = login();
    auto file = db->VSSItem("$/Routines/proc1.sql", false);
    EXPECT_EQ(file->IsCheckedOut(), vss::VSSFILE_NOTCHECKEDOUT);
    EXPECT_EQ(errorOf([&] { file->Checkin("", "C:\\work\\proc1.sql", 0); }), vss::errNotCheckedOut);

    file->Checkout("", "C:\\work\\proc1.sql", 0);
    EXPECT_EQ(file->IsCheckedOut(), vss::VSSFILE_CHECKEDOUT_ME);
    EXPECT_EQ(server->checkedOutBy("C:\\VSS", "$/Routines/proc1.sql"), "alice");
    EXPECT_EQ(server->checkoutLocal("C:\\VSS", "$/Routines/proc1.sql"), "C:\\work\\proc1.sql");
    EXPECT_EQ(errorOf([&] { file->Checkout("", "C:\\work\\proc1.sql", 0); }), vss::errAlreadyCheckedOut);

    auto locked = db->VSSItem("$/Routines/locked.sql", false);
    EXPECT_EQ(locked->IsCheckedOut(), vss::VSSFILE_CHECKEDOUT);
    EXPECT_EQ(errorOf([&] { locked->Checkout("", "C:\\work\\locked.sql", 0); }), vss::errAlreadyCheckedOut);
    EXPECT_EQ(errorOf([&] { locked->Checkin("", "C:\\work\\locked.sql", 0); }), vss::errCheckedOutByOther);

    file->Checkin("", "C:\\work\\proc1.sql", 0);
    EXPECT_EQ(file->IsCheckedOut(), vss::VSSFILE_NOTCHECKEDOUT);
    EXPECT_EQ(errorOf([&] { db->VSSItem("$/Routines", false)->Checkout("", "", 0); }), vss::errWantFile);
}

TEST_F(SourceSafeTest, SessionsSeeOneAnothersChanges) {
    auto alice = login();
    auto bob = login("bob", "");
    alice->VSSItem("$/Routines/proc1.sql", false)->Checkout("", "C:\\a\\proc1.sql", 0);
    EXPECT_EQ(bob->VSSItem("$/Routines/proc1.sql", false)->IsCheckedOut(), vss::VSSFILE_CHECKEDOUT);
    EXPECT_EQ(bob->Username(), "bob");
}

TEST(SourceSafeServer, WithoutAServerOrWithAReleasedOneNoDatabaseIsCreated) {
    vss::install(nullptr);
    EXPECT_EQ(errorOf([] { vss::createVSSDatabase(); }), vbide::errCantCreateObject);
    auto server = sim::MemorySourceSafe::create();
    server->install();
    EXPECT_NE(vss::createVSSDatabase(), nullptr);
    server.reset();
    EXPECT_EQ(errorOf([] { vss::createVSSDatabase(); }), vbide::errCantCreateObject);
    vss::install(nullptr);
}

} // namespace

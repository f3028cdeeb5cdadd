// A live SQLite database behind a connection: its catalogue beside the project's own trigger,
// building, sampling, dropping a hostile name, and every way of failing that leaves the project,
// its files and the connection's state as they were.
#include "LiveHarness.h"

namespace live_test {
namespace {

class SqliteLive : public StandinTest {
  protected:
    void SetUp() override {
        StandinTest::SetUp();
        database_ = path("stock.db");
        std::string command = "sqlite3 '" + database_ + "' < '" NIMB_EXAMPLES_DIR "/stockdb/stock.sql'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::string connectionString() const { return "DRIVER=SQLite3;DATABASE=" + database_ + ";NoCreat=1"; }

    // Opens a live project over the database; returns the connection's handle.
    int32_t openLive(const std::string& sections, const std::string& connection = "") {
        write("live.wkv", liveProject(connection.empty() ? connectionString() : connection, sections));
        access(path("live.wkv"), "", 2);
        return find(6, "LIVEDB");
    }

    std::string database_;
};

constexpr const char* declaredTrigger = R"(
[trigger]
name = stock_checked
tableName = stock
file = src/stock_checked.sql
)";

TEST_F(SqliteLive, ConnectListsTheDatabaseBesideTheProjectsTriggerAndBuildsIt) {
    write("src/stock_checked.sql",
          "CREATE TRIGGER stock_checked BEFORE INSERT ON stock WHEN NEW.quantity < 0\n"
          "BEGIN SELECT RAISE(ABORT, 'negative stock'); END;");
    int32_t connection = openLive(declaredTrigger);
    ASSERT_NE(connection, 0);
    EXPECT_FALSE(connected(connection));

    auto notes = act(connection, 7);
    EXPECT_EQ(messages(notes), "");
    ASSERT_GE(notes.size(), 6u);
    EXPECT_EQ(notes[0].lNotifyType, 6);
    EXPECT_EQ(notes[0].lObjectHdl, connection);
    std::vector<int32_t> listedFolders;
    for (auto& n : notes)
        if (n.lNotifyType == 5)
            listedFolders.push_back(n.lObjectType);
    EXPECT_THAT(listedFolders, ::testing::ElementsAre(7, 9, 11, 13, 15));
    EXPECT_TRUE(connected(connection));

    EXPECT_THAT(namesOf(listed(13, find(13, "LIVEDB"))),
                ::testing::ElementsAre("warehouses", "stock", "stock_log"));
    EXPECT_THAT(namesOf(listed(15, find(15, "LIVEDB"))),
                ::testing::ElementsAre("low_stock", "stock_by_city"));
    EXPECT_TRUE(listed(7, find(7, "LIVEDB")).empty());
    auto triggers = listed(11, find(11, "LIVEDB"));
    ASSERT_THAT(namesOf(triggers),
                ::testing::UnorderedElementsAre("stock_logged", "warehouse_kept", "stock_checked"));
    EXPECT_FALSE(named(triggers, "stock_logged")->dirty);
    EXPECT_EQ(named(triggers, "warehouse_kept")->detail, "warehouses");
    EXPECT_TRUE(named(triggers, "stock_checked")->dirty) << "declared but not in the database";

    // The database's own trigger shows the source the database keeps.
    auto source = textsOf(act(find(12, "stock_logged"), 25));
    ASSERT_EQ(source.size(), 1u);
    EXPECT_THAT(source[0].text, HasSubstr("INSERT INTO stock_log"));

    auto built = act(find(12, "stock_checked"), 18);
    EXPECT_THAT(messages(built), HasSubstr("stock_checked was built."));
    EXPECT_FALSE(named(listed(11, find(11, "LIVEDB")), "stock_checked")->dirty);
    // It is in the database now: it refuses what it was written to refuse.
    std::string command = "sqlite3 '" + database_ + "' 'INSERT INTO stock VALUES (1, 1, -5)' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> out(popen(command.c_str(), "r"), pclose);
    char line[256] = {};
    ASSERT_TRUE(fgets(line, sizeof line, out.get()));
    EXPECT_THAT(std::string(line), HasSubstr("negative stock"));

    // Changed on disk after the build: dirty again at the next refresh.
    write("src/stock_checked.sql", "-- reworked\n" + readFile(path("src/stock_checked.sql")));
    act(find(11, "LIVEDB"), 10);
    EXPECT_TRUE(named(listed(11, find(11, "LIVEDB")), "stock_checked")->dirty);

    auto sample = textsOf(act(find(14, "warehouses"), 20));
    ASSERT_EQ(sample.size(), 1u);
    EXPECT_EQ(sample[0].text, "Sample contents of warehouses:\nid | city\n1 | Leeds\n2 | Bristol");
    // A large value is shown cut, whatever its size.
    std::string big =
        "sqlite3 '" + database_ + "' \"INSERT INTO warehouses VALUES (3, printf('%.5000c', 'x'))\"";
    ASSERT_EQ(std::system(big.c_str()), 0);
    sample = textsOf(act(find(14, "warehouses"), 20));
    ASSERT_EQ(sample.size(), 1u);
    EXPECT_THAT(sample[0].text, ::testing::EndsWith("\n3 | " + std::string(200, 'x') + "..."));

    // Saving keeps the declared trigger with what it was built from, not the database's objects.
    act(find(5, ""), 3);
    std::string saved = readFile(path("live.wkv"));
    EXPECT_THAT(saved,
                AllOf(HasSubstr("live = true"), HasSubstr("[trigger]\nname = stock_checked"),
                      HasSubstr("built = "), Not(HasSubstr("[table]")), Not(HasSubstr("stock_logged"))));
}

TEST_F(SqliteLive, RefusedStatementsAndHostileNamesChangeNothingButWhatWasAskedFor) {
    const std::string broken = "CREATE TRIGGER stock_checked BEFORE INSERT ON stock BEGIN SELEC 1; END;";
    write("src/stock_checked.sql", broken);
    std::string hostile = "x\"; DROP TABLE stock; --\xC3\xBC";
    std::string command =
        "sqlite3 '" + database_ + "' 'CREATE TABLE \"x\"\"; DROP TABLE stock; --\xC3\xBC\" (a)'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int32_t connection = openLive(declaredTrigger);
    act(connection, 7);
    std::string project = readFile(path("live.wkv"));

    auto failed = messages(act(find(12, "stock_checked"), 18));
    EXPECT_THAT(failed, AllOf(HasSubstr("stock_checked was not built. The database LIVEDB answered:"),
                              HasSubstr("syntax error")));
    EXPECT_TRUE(named(listed(11, find(11, "LIVEDB")), "stock_checked")->dirty);
    EXPECT_EQ(readFile(path("live.wkv")), project);
    EXPECT_EQ(readFile(path("src/stock_checked.sql")), broken);

    ASSERT_NE(named(listed(13, find(13, "LIVEDB")), hostile), nullptr);
    auto question = textsOf(act(find(14, hostile.c_str()), 22));
    ASSERT_EQ(question.size(), 1u);
    EXPECT_EQ(question[0].buttons, "IDE_QUESTION#67#Drop From Database");
    api().WKButtonDoAction("User response", 6);
    EXPECT_THAT(messages(drain()), HasSubstr("was dropped from the database LIVEDB"));
    act(find(13, "LIVEDB"), 10);
    EXPECT_THAT(namesOf(listed(13, find(13, "LIVEDB"))),
                ::testing::ElementsAre("warehouses", "stock", "stock_log"));
    EXPECT_TRUE(connected(connection));
    EXPECT_EQ(readFile(path("live.wkv")), project);
}

TEST_F(SqliteLive, ADatabaseOrDriverThatCannotBeOpenedLeavesTheConnectionClosed) {
    struct Case {
        const char* what;
        std::string connectionString;
        const char* says;
    };
    for (const Case& c :
         {Case{"missing file", "DRIVER=SQLite3;DATABASE=" + path("none.db") + ";NoCreat=1", "connect failed"},
          Case{"missing driver", "DRIVER={No Such Driver};DATABASE=x", "No Such Driver"},
          Case{"unknown data source", "DSN=nimb_no_such_source", "Data source name not found"}}) {
        SCOPED_TRACE(c.what);
        api().WKSI_Reset();
        int32_t connection = openLive("", c.connectionString);
        ASSERT_NE(connection, 0);
        std::string project = readFile(path("live.wkv"));
        auto notes = act(connection, 7);
        EXPECT_THAT(messages(notes),
                    AllOf(HasSubstr("The connection LIVEDB could not be opened."), HasSubstr(c.says)));
        EXPECT_FALSE(connected(connection));
        EXPECT_TRUE(listed(13, find(13, "LIVEDB")).empty());
        // Actions that need the database say it is not connected.
        EXPECT_THAT(messages(act(find(13, "LIVEDB"), 12)), HasSubstr("is not connected"));
        EXPECT_EQ(readFile(path("live.wkv")), project);
    }

    // Stored as connected: the project still opens, with the connection closed and the reason said.
    api().WKSI_Reset();
    write("live.wkv", liveProject("DRIVER=SQLite3;DATABASE=" + path("none.db") + ";NoCreat=1", "", ""));
    std::string stored = readFile(path("live.wkv"));
    std::string connectedProject =
        std::string(stored).replace(stored.find("connected = false"), 17, "connected = true");
    write("live.wkv", connectedProject);
    auto notes = access(path("live.wkv"), "", 2);
    ASSERT_GE(notes.size(), 2u);
    EXPECT_EQ(notes[0].lNotifyType, 8);
    EXPECT_THAT(messages(notes), HasSubstr("could not be opened"));
    EXPECT_FALSE(connected(find(6, "LIVEDB")));
    EXPECT_EQ(readFile(path("live.wkv")), connectedProject);
}

} // namespace
} // namespace live_test

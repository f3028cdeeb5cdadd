// The IDE thread never waits for a database: with a statement hanging on the server, or a server
// that does not answer its login, the thread that calls the engine polls every 100 ms as the add-in
// does, each of its calls answered at once, and the answers arrive at later polls. Other
// connections keep working, the work of one connection keeps its order, and stopping the engine
// or closing the project ends hung work without waiting for it. A catalogue that keeps arriving
// is read however long it takes as a whole.
#include "LiveHarness.h"
#include "SlowLink.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace live_test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string liveConnection(const std::string& database, bool connected, int timeout,
                           const std::string& connectionString = pgConnection()) {
    return "\n[connection]\ndatabase = " + database + "\nconnected = " + (connected ? "true" : "false") +
           "\nlive = true\ntimeout = " + std::to_string(timeout) +
           "\nconnectionString = " + connectionString + "\n";
}

// The add-in's thread: every call it makes into the engine is timed, and it polls the queue every
// 100 ms without ever waiting for the engine's work.
class IdeThread {
  public:
    template <class F> auto call(F f) {
        auto start = std::chrono::steady_clock::now();
        auto result = f();
        longest_ = std::max(longest_,
                            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        return result;
    }
    int32_t act(int32_t hdl, int32_t code) {
        return call([&] { return api().WKObjectDoAction(hdl, code); });
    }
    // One poll: every notification waiting, its texts read as the add-in reads them.
    void poll() {
        for (bool more = true; more;) {
            twkNotify_abi n{};
            wkBool again = WK_FALSE;
            call([&] { return api().WKGetNotification(&n, &again); });
            more = again != WK_FALSE;
            if (n.lNotifyType == 2)
                said_ += call([&] { return readText(n.lObjectHdl); }).text + "\n";
        }
    }
    // Polls until what the engine said holds text, at most seconds; whether it came.
    bool pollUntil(const std::string& text, double seconds) {
        return pollUntil([&] { return said_.find(text) != std::string::npos; }, seconds);
    }
    bool pollUntil(const std::function<bool()>& done, double seconds) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        for (;;) {
            poll();
            if (done())
                return true;
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    const std::string& said() const { return said_; }
    double longest() const { return longest_; }

  private:
    std::string said_;
    double longest_ = 0;
};

// The name the connection's node shows.
std::string shownName(int32_t connection) {
    ConnectionRec r;
    api().WKConnectionGet(connection, &r.rec);
    return r.rec.strDatabase;
}

// Far above any engine call that only touches memory, far below a database's wait.
constexpr double quick = 0.25;

class BackgroundLive : public StandinTest {
  protected:
    void SetUp() override {
        StandinTest::SetUp();
        if (serverDir().empty())
            GTEST_FAIL() << "NIMB_PG_DIR is not set: run these tests through ctest, which starts the server";
        runSql(pgConnection(),
               {"DROP SCHEMA IF EXISTS bg CASCADE", "CREATE SCHEMA bg",
                "CREATE TABLE bg.items (id integer PRIMARY KEY, name text)",
                "INSERT INTO bg.items VALUES (1, 'bolt')",
                "CREATE FUNCTION bg.slow() RETURNS int LANGUAGE sql AS 'SELECT 1 FROM pg_sleep(30)'"});
    }
    void TearDown() override {
        runSql(pgConnection(), {"DROP SCHEMA IF EXISTS bg CASCADE"});
        StandinTest::TearDown();
    }

    // Opens a project of the given connections as the add-in does, timed on the IDE thread.
    void open(IdeThread& ide, const std::string& connections) {
        write("bg.wkv", "wkv 1\nproject = Background\n" + connections);
        std::string file = path("bg.wkv");
        std::vector<char> name(file.begin(), file.end()), folder(1, '\0');
        name.push_back('\0');
        ide.call([&] { return api().WKProjectDoAccess(name.data(), folder.data(), 2); });
    }
};

TEST_F(BackgroundLive, AHungStatementLeavesTheIdeThreadAndTheOtherConnectionFree) {
    IdeThread ide;
    open(ide, liveConnection("LIVEDB", true, 3) + liveConnection("OTHERDB", true, 3));
    int32_t live = find(6, "LIVEDB"), other = find(6, "OTHERDB");
    // Both catalogues are read in the background; the listing comes at a later poll.
    ASSERT_TRUE(ide.pollUntil(
        [&] {
            return named(listed(9, find(9, "LIVEDB")), "slow") &&
                   named(listed(13, find(13, "OTHERDB")), "items");
        },
        10))
        << "both connections opened at load, after the load returned: " << ide.said();

    // The run hangs in pg_sleep until the statement timeout (3 s) has the server cancel it; a sample
    // asked of the same connection meanwhile waits its turn.
    ide.act(find(10, "bg.slow"), 16);
    ide.act(find(14, "bg.items"), 20);
    ide.act(live, 13);
    EXPECT_EQ(shownName(live), "LIVEDB (working...)") << "the person sees LIVEDB at work";
    EXPECT_EQ(shownName(other), "OTHERDB");
    EXPECT_TRUE(ide.pollUntil("Connected: yes", 1))
        << "an action that needs no database answers at once: " << ide.said();
    EXPECT_THAT(ide.said(), Not(HasSubstr("57014")));

    // The other connection reads its tables and answers while LIVEDB's statement still hangs.
    runSql(pgConnection(), {"CREATE TABLE bg.more (id integer)"});
    int32_t otherTables = find(13, "OTHERDB");
    ide.act(otherTables, 10);
    EXPECT_TRUE(ide.pollUntil([&] { return named(listed(13, otherTables), "more") != nullptr; }, 2))
        << "OTHERDB did not refresh while LIVEDB hung";
    EXPECT_EQ(named(listed(13, find(13, "LIVEDB")), "more"), nullptr) << "LIVEDB read nothing meanwhile";
    EXPECT_THAT(ide.said(), Not(HasSubstr("57014"))) << "the hung statement ended too early to show anything";

    ASSERT_TRUE(connected(live) && connected(other));
    ASSERT_TRUE(ide.pollUntil("bolt", 8)) << ide.said();
    auto cancelled = ide.said().find("57014"), sample = ide.said().find("bolt");
    EXPECT_NE(cancelled, std::string::npos) << ide.said();
    EXPECT_LT(cancelled, sample) << "LIVEDB's work kept its order";
    EXPECT_TRUE(connected(live)) << "a statement the server cancelled leaves the connection open";
    EXPECT_EQ(shownName(live), "LIVEDB") << "done working";
    EXPECT_LT(ide.longest(), quick) << "the IDE thread waited on the database";

    // Closing the project while a statement hangs returns at once, and the hung work says nothing.
    ide.act(find(10, "bg.slow"), 16);
    ide.poll();
    int32_t project = find(5, "Background");
    double closing = secondsOf([&] { ide.act(project, 21); });
    EXPECT_LT(closing, quick);
    ide.pollUntil([] { return false; }, 1);
    EXPECT_EQ(api().WKSI_WaitIdle(1000), 1) << "the called-off work and its closing finished";
    std::string afterClose = ide.said().substr(sample);
    EXPECT_THAT(afterClose, Not(HasSubstr("57014"))) << afterClose;
    EXPECT_THAT(afterClose, Not(HasSubstr("could not"))) << afterClose;
}

TEST_F(BackgroundLive, AServerThatIsDownIsFoundOutOnceAndTerminateDoesNotWaitForIt) {
    std::ifstream pidFile(serverDir() + "/data/postmaster.pid");
    pid_t server = 0;
    pidFile >> server;
    ASSERT_GT(server, 0);
    IdeThread ide;
    {
        // Logins wait for the stopped server until the connection's timeout (2 s).
        Stopped stopped(server, std::chrono::seconds(30));
        open(ide, liveConnection("LIVEDB", true, 2));
        int32_t live = find(6, "LIVEDB");
        ASSERT_NE(live, 0);
        ASSERT_TRUE(ide.pollUntil("could not be opened", 8)) << ide.said();
        EXPECT_FALSE(connected(live));
        ide.pollUntil([] { return false; }, 0.5);
        auto first = ide.said().find("could not be opened");
        EXPECT_EQ(ide.said().find("could not be opened", first + 1), std::string::npos)
            << "one attempt, one message: " << ide.said();

        // A connect asked again is cut short by WKTerminate, which answers within a second and
        // leaves nothing to report.
        ide.act(live, 7);
        ide.pollUntil([] { return false; }, 0.3);
        double stopping = secondsOf([&] { api().WKTerminate(); });
        EXPECT_LT(stopping, 1.2);
        EXPECT_EQ(api().WKSI_PendingNotifications(), 0);
        EXPECT_LT(ide.longest(), quick) << "the IDE thread waited on the database";
    }
    // What was called off stays silent once the server answers again.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(api().WKSI_PendingNotifications(), 0);
}

TEST_F(BackgroundLive, ACatalogueThatKeepsArrivingIsReadWhateverItTakesAndAHungStatementStillEnds) {
    // Enough functions that, over a slow link, their listing takes several times the connection's
    // timeout (1 s) plus the engine's grace, while each block of rows comes well within it.
    constexpr long functions = 3000;
    runSql(pgConnection(), {"DO $$ BEGIN FOR i IN 1.." + std::to_string(functions) +
                            " LOOP EXECUTE format('CREATE FUNCTION bg.steady%s(a integer, b text)"
                            " RETURNS integer LANGUAGE sql AS ''SELECT 1''', i); END LOOP; END $$"});
    std::filesystem::create_directories(path("link"));
    SlowLink link(path("link"), serverDir(), 80 * 1024);
    IdeThread ide;
    open(ide, liveConnection("SLOWDB", false, 1, pgConnection("nimbpw", link.folder())));
    int32_t connection = find(6, "SLOWDB"), routines = find(9, "SLOWDB");
    ide.act(connection, 7);
    // Other tests' routines may share the database.
    auto steady = [&] {
        auto all = listed(9, routines);
        return std::count_if(all.begin(), all.end(),
                             [](const Listed& f) { return f.name.rfind("steady", 0) == 0; });
    };
    double took = secondsOf([&] { ide.pollUntil([&] { return steady() == functions; }, 30); });
    EXPECT_EQ(steady(), functions) << ide.said();
    EXPECT_GT(took, 1 + 2 + 1) << "the read did not outlast what one wait may take, so it proves nothing";
    EXPECT_TRUE(connected(connection)) << ide.said();
    EXPECT_THAT(ide.said(), Not(HasSubstr("did not answer"))) << ide.said();
    EXPECT_THAT(ide.said(), Not(HasSubstr("57014"))) << ide.said();

    // A statement that delivers nothing still ends at the timeout, with the server's message.
    ide.act(find(10, "bg.slow"), 16);
    EXPECT_TRUE(ide.pollUntil("57014", 1 + 2 + 1 + 1)) << ide.said();
    EXPECT_TRUE(connected(connection)) << "the server cancelled the statement, the connection stays";
    ide.act(find(5, "Background"), 21);
    EXPECT_EQ(api().WKSI_WaitIdle(5000), 1) << "the connection closed before the link goes";
}

// The schema a function's record shows now, or "" when its handle names nothing.
std::string schemaOf(int32_t function) {
    FunctionRec r;
    return api().WKFunctionGet(function, &r.rec) ? r.rec.strSchema : "";
}

// Whether a folder-changed notification for folder came among those waiting.
bool folderChanged(int32_t folder) {
    bool changed = false;
    for (wkBool more = WK_TRUE; more;) {
        twkNotify_abi n{};
        api().WKGetNotification(&n, &more);
        changed = changed || (n.lNotifyType == 5 && n.lObjectHdl == folder);
    }
    return changed;
}

// 10,000 functions in schema bgm, dropped again in transactions of 2,000 (one statement dropping
// them all needs more locks than the server keeps).
class ManyFunctions {
  public:
    ManyFunctions() {
        drop();
        runSql(pgConnection(),
               {"CREATE SCHEMA bgm", "DO $$ BEGIN FOR i IN 0..9999 LOOP EXECUTE format("
                                     "'CREATE FUNCTION bgm.f%s() RETURNS int LANGUAGE sql AS "
                                     "''SELECT 1''', lpad(i::text, 5, '0')); END LOOP; END $$"});
    }
    ~ManyFunctions() { drop(); }
    ManyFunctions(const ManyFunctions&) = delete;
    ManyFunctions& operator=(const ManyFunctions&) = delete;

  private:
    static void drop() {
        std::vector<std::string> statements;
        for (int batch = 0; batch < 5; ++batch)
            statements.push_back(
                "DO $$ DECLARE r record; BEGIN FOR r IN SELECT p.oid::regprocedure AS f FROM "
                "pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace WHERE n.nspname IN "
                "('bgm', 'bgn') LIMIT 2000 LOOP EXECUTE 'DROP FUNCTION ' || r.f; END LOOP; END $$");
        statements.push_back("DROP SCHEMA IF EXISTS bgm CASCADE");
        statements.push_back("DROP SCHEMA IF EXISTS bgn CASCADE");
        runSql(pgConnection(), statements);
    }
};

// A refresh that changes every one of 10,000 listed functions (their schema renamed) while the IDE
// thread calls the engine without a pause: the calls are let in while the engine writes the
// functions, so the IDE thread sees the first function renamed and the last one not yet (an engine
// holding its lock across the whole merge never shows that); each walk of the folder shows it as it
// was or as it is after the read, never half (a function dropped and one created in the same
// refresh are never listed together); the functions that stay keep their handles, the dropped ones'
// handles name nothing, and a function the person adds while the engine writes stays listed.
TEST_F(BackgroundLive, ARefreshLetsTheIdeThreadInWhileItWritesAndSwapsTheFolderWhole) {
    ManyFunctions many;
    IdeThread ide;
    open(ide, liveConnection("LIVEDB", true, 30));
    int32_t functions = find(9, "LIVEDB");
    ASSERT_TRUE(ide.pollUntil([&] { return named(listed(9, functions), "f09999") != nullptr; }, 30))
        << ide.said();
    ASSERT_EQ(api().WKSI_WaitIdle(30000), 1) << "the other folders are read too";
    ide.poll(); // the connecting's folder-changed notifications are not the refresh's
    int32_t first = find(10, "bgm.f00000"), last = find(10, "bgm.f09999");
    ASSERT_TRUE(first && last);

    bool sawHalfWritten = false;
    // Each round renames the schema back and forth, drops two functions and creates one. On a
    // loaded machine the engine's thread may do a round's writing while the IDE thread waits for a
    // processor rather than for the engine, so it gets many rounds.
    auto function = [](int i) {
        std::string digits = std::to_string(i);
        return "f" + std::string(5 - digits.size(), '0') + digits;
    };
    for (int round = 0; round < 30 && !sawHalfWritten; ++round) {
        std::string from = round % 2 ? "bgn" : "bgm", to = round % 2 ? "bgm" : "bgn";
        std::string dropped[] = {function(100 + 2 * round), function(101 + 2 * round)};
        int32_t droppedHdl[] = {find(10, (from + "." + dropped[0]).c_str()),
                                find(10, (from + "." + dropped[1]).c_str())};
        std::string created = "g" + std::to_string(round);
        runSql(pgConnection(),
               {"ALTER SCHEMA " + from + " RENAME TO " + to, "DROP FUNCTION " + to + "." + dropped[0],
                "DROP FUNCTION " + to + "." + dropped[1],
                "CREATE FUNCTION " + to + "." + created + "() RETURNS int LANGUAGE sql AS 'SELECT 2'"});
        size_t before = listed(9, functions).size();

        ide.act(functions, 10);
        for (bool done = false; !done;) {
            // A walk of the folder, asking for the first and the last function after each item.
            FunctionRec r;
            wkBool filtered = 0;
            int32_t walk = 0;
            bool sawDropped = false, sawCreated = false;
            ASSERT_TRUE(api().WKFunctionEnumBegin(functions, &filtered, &walk));
            while (api().WKFunctionEnumNext(walk, &r.rec)) {
                std::string name = r.rec.strName;
                sawDropped = sawDropped || name == dropped[0] || name == dropped[1];
                sawCreated = sawCreated || name == created;
                std::string firstSchema = schemaOf(first), lastSchema = schemaOf(last);
                if (!sawHalfWritten && firstSchema == to && lastSchema == from) {
                    sawHalfWritten = true;
                    // Added in the middle of the merge: the read must not lose it.
                    ide.act(functions, 9);
                }
            }
            api().WKFunctionEnumEnd(walk);
            EXPECT_FALSE(sawDropped && sawCreated)
                << "a walk of the folder saw it half read, round " << round;
            done = folderChanged(functions);
        }
        ASSERT_EQ(schemaOf(first), to) << "a function that stays keeps its handle";
        ASSERT_EQ(schemaOf(last), to);
        EXPECT_EQ(schemaOf(droppedHdl[0]), "") << "a dropped function's handle names nothing";
        EXPECT_EQ(schemaOf(droppedHdl[1]), "");
        auto after = listed(9, functions);
        EXPECT_EQ(after.size(), before - 1 + (sawHalfWritten ? 1 : 0));
        EXPECT_NE(named(after, created), nullptr);
        EXPECT_EQ(named(after, "NEW_FUNCTION") != nullptr, sawHalfWritten)
            << "what was added meanwhile stays";
    }
    EXPECT_TRUE(sawHalfWritten)
        << "no call of the IDE thread was answered while the refresh wrote the functions";
}

} // namespace
} // namespace live_test

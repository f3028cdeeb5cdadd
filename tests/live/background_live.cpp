// The IDE thread never waits for a database: with a statement hanging on the server, or a server
// that does not answer its login, the thread that calls the engine polls every 100 ms as the add-in
// does, each of its calls answered at once, and the answers arrive at later polls. Other
// connections keep working, the work of one connection keeps its order, and stopping the engine
// or closing the project ends hung work without waiting for it. A catalogue that keeps arriving
// is read however long it takes as a whole.
#include "LiveHarness.h"
#include "SlowLink.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace live_test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string serverDir() {
    const char* dir = std::getenv("NIMB_PG_DIR");
    return dir ? dir : "";
}

std::string pgConnection(const std::string& server = serverDir()) {
    return "DRIVER={PostgreSQL ANSI};SERVER=" + server + ";PORT=5439;DATABASE=nimbtest;UID=nimb;PWD=nimbpw";
}

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

// A server process stopped (SIGSTOP) for as long as this lives.
class Stopped {
  public:
    explicit Stopped(pid_t pid) : pid_(pid) { EXPECT_EQ(kill(pid_, SIGSTOP), 0); }
    ~Stopped() { kill(pid_, SIGCONT); }
    Stopped(const Stopped&) = delete;
    Stopped& operator=(const Stopped&) = delete;

  private:
    pid_t pid_;
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
            return named(listed(9, find(9, "LIVEDB")), "slow") && named(listed(13, find(13, "OTHERDB")), "items");
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
    EXPECT_TRUE(ide.pollUntil("Connected: yes", 1)) << "an action that needs no database answers at once: " << ide.said();
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
        Stopped stopped(server);
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
    open(ide, liveConnection("SLOWDB", false, 1, pgConnection(link.folder())));
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

} // namespace
} // namespace live_test

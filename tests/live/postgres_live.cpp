// A live PostgreSQL database (the throw-away server of scripts/pg-test-server) behind a connection:
// functions, procedures, triggers, tables and views with their comments; build, run, view source,
// drop and refresh through the engine's functions; a wrong password, a closed port, a server that
// does not answer (at login or in mid-statement) and a statement that runs too long, each bounded
// and reported.
#include "LiveHarness.h"

#include <fstream>

namespace live_test {
namespace {

class PostgresLive : public StandinTest {
  protected:
    void SetUp() override {
        StandinTest::SetUp();
        if (serverDir().empty())
            GTEST_FAIL() << "NIMB_PG_DIR is not set: run these tests through ctest, which starts the server";
        runSql(
            pgConnection(),
            {
                "DROP SCHEMA IF EXISTS shop CASCADE",
                "DROP SCHEMA IF EXISTS scen CASCADE",
                "CREATE SCHEMA shop",
                "CREATE TABLE shop.items (id integer PRIMARY KEY, name text NOT NULL, qty integer DEFAULT 0)",
                "COMMENT ON TABLE shop.items IS 'Things we sell'",
                "CREATE VIEW shop.low_stock AS SELECT id, name FROM shop.items WHERE qty < 10",
                "INSERT INTO shop.items VALUES (1, 'bolt', 5), (2, 'nut', 50)",
                "CREATE FUNCTION shop.item_count() RETURNS integer LANGUAGE plpgsql AS $$ BEGIN RETURN "
                "(SELECT count(*) FROM shop.items); END $$",
                "COMMENT ON FUNCTION shop.item_count() IS 'How many items'",
                "CREATE FUNCTION shop.add(a integer, b integer) RETURNS integer LANGUAGE sql AS 'SELECT "
                "40 + coalesce(a, 0) + coalesce(b, 0)'",
                "CREATE PROCEDURE shop.restock(IN amount integer) LANGUAGE plpgsql AS $$ BEGIN UPDATE "
                "shop.items SET qty = qty + amount WHERE amount IS NOT NULL; END $$",
                // The other overload comes later, with other routines between them.
                "CREATE FUNCTION shop.add(a text, b text) RETURNS text LANGUAGE sql AS 'SELECT ''joined:'' "
                "|| coalesce(a, '''') || coalesce(b, '''')'",
                "COMMENT ON FUNCTION shop.add(text, text) IS 'Joins texts'",
                "CREATE PROCEDURE shop.tidy() LANGUAGE sql AS 'DELETE FROM shop.items WHERE qty < 0'",
                "CREATE FUNCTION shop.audit() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RETURN NEW; END "
                "$$",
                "CREATE TRIGGER items_audit AFTER INSERT ON shop.items FOR EACH ROW EXECUTE FUNCTION "
                "shop.audit()",
                "COMMENT ON TRIGGER items_audit ON shop.items IS 'Every new item'",
            });
    }

    int32_t openLive(const std::string& sections, const std::string& connection,
                     const std::string& extra = "timeout = 3\n") {
        write("live.wkv", liveProject(connection, sections, extra));
        access(path("live.wkv"), "", 2);
        return find(6, "LIVEDB");
    }
};

constexpr const char* declared = R"(
[function]
name = item_value
schema = shop
file = src/item_value.sql

[function]
name = broken
schema = shop
file = src/broken.sql
)";

TEST_F(PostgresLive, CatalogueBuildRunSourceDropAndRefreshGoThroughTheDatabase) {
    write("src/item_value.sql", "CREATE OR REPLACE FUNCTION shop.item_value(item integer) RETURNS integer\n"
                                "LANGUAGE sql AS 'SELECT qty * 2 FROM shop.items WHERE id = item';\n");
    const std::string broken =
        "CREATE OR REPLACE FUNCTION shop.broken() RETURNS integer LANGUAGE plpgsql AS $$\n"
        "BEGN RETURN 1; END $$;\n";
    write("src/broken.sql", broken);
    int32_t connection = openLive(declared, pgConnection());
    EXPECT_EQ(messages(act(connection, 7)), "");
    ASSERT_TRUE(connected(connection));

    auto procedures = listed(7, find(7, "LIVEDB"));
    EXPECT_THAT(namesOf(procedures), ::testing::UnorderedElementsAre("restock", "tidy"));
    EXPECT_EQ(named(procedures, "restock")->detail, "(IN amount int4)");
    auto functions = listed(9, find(9, "LIVEDB"));
    EXPECT_THAT(namesOf(functions),
                ::testing::UnorderedElementsAre("add", "add", "audit", "item_count", "item_value", "broken"));
    EXPECT_EQ(named(functions, "item_count")->comment, "How many items");
    EXPECT_EQ(named(functions, "item_count")->detail, "() int4");
    EXPECT_FALSE(named(functions, "item_count")->dirty);
    EXPECT_TRUE(named(functions, "item_value")->dirty) << "declared, not in the database yet";
    std::vector<std::string> adds;
    for (auto& f : functions)
        if (f.name == "add")
            adds.push_back(f.detail);
    EXPECT_THAT(
        adds, ::testing::UnorderedElementsAre("(IN a int4, IN b int4) int4", "(IN a text, IN b text) text"));
    auto tables = listed(13, find(13, "LIVEDB"));
    ASSERT_THAT(namesOf(tables), ::testing::ElementsAre("items"));
    EXPECT_EQ(tables[0].comment, "Things we sell");
    EXPECT_THAT(namesOf(listed(15, find(15, "LIVEDB"))), ::testing::ElementsAre("low_stock"));
    auto triggers = listed(11, find(11, "LIVEDB"));
    ASSERT_THAT(namesOf(triggers), ::testing::ElementsAre("items_audit"));
    EXPECT_EQ(triggers[0].detail, "items");
    EXPECT_EQ(triggers[0].comment, "Every new item");

    // Build: the source runs on the database and the function is clean and listed from it.
    int32_t itemValue = find(10, "shop.item_value");
    EXPECT_THAT(messages(act(itemValue, 18)), HasSubstr("shop.item_value was built."));
    functions = listed(9, find(9, "LIVEDB"));
    EXPECT_FALSE(named(functions, "item_value")->dirty);
    EXPECT_EQ(named(functions, "item_value")->detail, "(IN item int4) int4");
    EXPECT_EQ(find(10, "shop.item_value"), itemValue) << "the handle stays";

    // A source the database refuses: its SQLSTATE and message; nothing on disk changes.
    std::string project = readFile(path("live.wkv"));
    EXPECT_THAT(messages(act(find(10, "shop.broken"), 18)),
                AllOf(HasSubstr("shop.broken was not built. The database LIVEDB answered:"),
                      HasSubstr("42601"), HasSubstr("syntax error at or near \"BEGN\"")));
    EXPECT_EQ(readFile(path("live.wkv")), project);
    EXPECT_EQ(readFile(path("src/broken.sql")), broken);
    EXPECT_TRUE(connected(connection));

    // Run: a function answers with its rows, a procedure without.
    auto ran = act(find(10, "shop.item_count"), 16);
    EXPECT_THAT(messages(ran), HasSubstr("shop.item_count ran. Its first rows:\nitem_count\n2"));
    EXPECT_THAT(messages(act(find(8, "shop.tidy"), 16)), HasSubstr("shop.tidy ran and returned no rows."));
    EXPECT_THAT(messages(act(find(8, "shop.restock"), 16)),
                HasSubstr("shop.restock ran and returned no rows."))
        << "its argument is NULL";
    EXPECT_THAT(messages(act(find(14, "shop.items"), 20)),
                HasSubstr("Sample contents of shop.items:\nid | name | qty\n1 | bolt | 5\n2 | nut | 50"));

    // The source of a function only the database has comes from the database.
    EXPECT_THAT(
        messages(act(find(10, "shop.item_count"), 25)),
        AllOf(HasSubstr("CREATE OR REPLACE FUNCTION shop.item_count()"), HasSubstr("RETURNS integer")));

    // A name full of quotes, a semicolon and a non-ASCII letter is dropped as one identifier.
    const std::string hostile = "we\"ird; DROP TABLE shop.items; --\xC3\x9F";
    runSql(pgConnection(),
           {"CREATE FUNCTION shop.\"we\"\"ird; DROP TABLE shop.items; --\xC3\x9F\"() RETURNS int "
            "LANGUAGE sql AS 'SELECT 1'"});
    act(find(9, "LIVEDB"), 10);
    ASSERT_NE(named(listed(9, find(9, "LIVEDB")), hostile), nullptr)
        << "a refresh shows what was added outside";
    act(find(10, ("shop." + hostile).c_str()), 22);
    api().WKButtonDoAction("User response", 6);
    auto dropped = drain();
    EXPECT_THAT(messages(dropped), HasSubstr("was dropped from the database LIVEDB"));
    // The connection shows it is working first, then the object goes.
    ASSERT_GE(dropped.size(), 2u);
    EXPECT_EQ(dropped[0].lObjectType, 6);
    EXPECT_EQ(dropped[1].lNotifyType, 7);
    act(find(9, "LIVEDB"), 10);
    act(find(13, "LIVEDB"), 10);
    EXPECT_EQ(named(listed(9, find(9, "LIVEDB")), hostile), nullptr);
    EXPECT_THAT(namesOf(listed(13, find(13, "LIVEDB"))), ::testing::ElementsAre("items"));

    // Dropping a function the project declares keeps it listed, dirty, to be built again.
    act(itemValue, 22);
    api().WKButtonDoAction("User response", 6);
    auto again = drain();
    ASSERT_GE(again.size(), 2u);
    EXPECT_EQ(again[1].lNotifyType, 6);
    EXPECT_EQ(again[1].lObjectType, 10);
    EXPECT_TRUE(named(listed(9, find(9, "LIVEDB")), "item_value")->dirty);
    act(find(9, "LIVEDB"), 10);
    EXPECT_TRUE(named(listed(9, find(9, "LIVEDB")), "item_value")->dirty);
}

// The database's superuser, for routines the engine's own user may not run.
std::string superuser() {
    return "DRIVER={PostgreSQL ANSI};SERVER=" + serverDir() +
           ";PORT=5439;DATABASE=nimbtest;UID=postgres;PWD=postgres";
}

// The rows a run answered with, after "ran. Its first rows:" and before the end of its message.
std::string ranRows(const std::string& said) {
    const std::string lead = "ran. Its first rows:\n";
    auto at = said.find(lead);
    if (at == std::string::npos)
        return said;
    std::string rows = said.substr(at + lead.size());
    while (!rows.empty() && rows.back() == '\n')
        rows.pop_back();
    return rows;
}

TEST_F(PostgresLive, EveryKindOfRoutineIsListedRunAndDroppedAsItsOwnOverload) {
    runSql(pgConnection(),
           {"CREATE FUNCTION shop.nothing() RETURNS void LANGUAGE sql AS ''",
            "CREATE FUNCTION shop.names() RETURNS SETOF text LANGUAGE sql AS 'SELECT name FROM shop.items "
            "ORDER BY id'",
            "CREATE FUNCTION shop.stock() RETURNS TABLE(id integer, label text) LANGUAGE sql AS 'SELECT id, "
            "name FROM shop.items ORDER BY id'",
            "CREATE TYPE shop.pair AS (a integer, b text)",
            "CREATE FUNCTION shop.first_pair() RETURNS shop.pair LANGUAGE sql AS 'SELECT 7, ''seven'''",
            "CREATE FUNCTION shop.split(IN x integer, OUT y integer, OUT z text) LANGUAGE sql AS 'SELECT "
            "coalesce(x, 3), ''z'''",
            "CREATE PROCEDURE shop.double_it(IN a integer, OUT b integer) LANGUAGE plpgsql AS $$ BEGIN "
            "b := coalesce(a, 21) * 2; END $$",
            "CREATE FUNCTION shop.total(VARIADIC xs integer[]) RETURNS integer LANGUAGE sql AS 'SELECT 5'",
            "CREATE PROCEDURE shop.names(IN pattern text) LANGUAGE sql AS 'SELECT 1'"});
    // Another owner's schema, which the engine's user may look into but not change; gone after the test.
    runSql(superuser(), {"DROP SCHEMA IF EXISTS vault CASCADE", "CREATE SCHEMA vault",
                         "GRANT USAGE ON SCHEMA vault TO nimb",
                         "CREATE FUNCTION vault.secret(k integer) RETURNS integer LANGUAGE sql AS 'SELECT 1'",
                         "REVOKE EXECUTE ON FUNCTION vault.secret(integer) FROM PUBLIC"});
    struct Vault {
        ~Vault() { runSql(superuser(), {"DROP SCHEMA vault CASCADE"}); }
    } vault;
    int32_t connection = openLive("", pgConnection());
    act(connection, 7);
    ASSERT_TRUE(connected(connection));

    // Procedures by their kind, whatever they return; every function with its arguments and result.
    auto procedures = listed(7, find(7, "LIVEDB"));
    EXPECT_THAT(namesOf(procedures), ::testing::UnorderedElementsAre("double_it", "names", "restock", "tidy"));
    EXPECT_EQ(named(procedures, "double_it")->detail, "(IN a int4, OUT b int4)");
    auto functions = listed(9, find(9, "LIVEDB"));
    std::vector<std::string> details;
    for (auto& f : functions)
        details.push_back(f.name + " " + f.detail);
    EXPECT_THAT(details,
                ::testing::UnorderedElementsAre(
                    "add (IN a int4, IN b int4) int4", "add (IN a text, IN b text) text", "audit () trigger",
                    "first_pair () pair", "item_count () int4", "names () SETOF text", "nothing () void",
                    "secret (IN k int4) int4", "split (IN x int4, OUT y int4, OUT z text) record",
                    "stock () TABLE(id int4, label text)", "total (VARIADIC xs _int4) int4"));
    const Listed* addNumbers = overload(functions, "add", "(IN a int4, IN b int4) int4");
    const Listed* addTexts = overload(functions, "add", "(IN a text, IN b text) text");
    ASSERT_TRUE(addNumbers && addTexts);
    EXPECT_EQ(addTexts->comment, "Joins texts");
    EXPECT_EQ(addNumbers->comment, "") << "a comment belongs to its own overload";
    int32_t numbers = addNumbers->hdl, texts = addTexts->hdl;
    int32_t namesProcedure = named(procedures, "names")->hdl, namesFunction = named(functions, "names")->hdl;

    // Each runs with NULL arguments of its own types, so each overload runs itself.
    auto run = [&](int32_t hdl) { return ranRows(messages(act(hdl, 16))); };
    EXPECT_EQ(run(numbers), "add\n40");
    EXPECT_EQ(run(texts), "add\njoined:");
    EXPECT_EQ(run(find(10, "shop.names")), "names\nbolt\nnut");
    EXPECT_EQ(run(find(10, "shop.stock")), "id | label\n1 | bolt\n2 | nut");
    EXPECT_EQ(run(find(10, "shop.first_pair")), "a | b\n7 | seven");
    EXPECT_EQ(run(find(10, "shop.split")), "y | z\n3 | z");
    EXPECT_EQ(run(find(10, "shop.total")), "total\n5");
    EXPECT_EQ(run(find(8, "shop.double_it")), "b\n42");
    EXPECT_THAT(messages(act(find(10, "shop.nothing"), 16)), HasSubstr("shop.nothing ran"));
    // Without EXECUTE rights it is still listed with its parameters; running it is the database's refusal.
    EXPECT_THAT(messages(act(find(10, "vault.secret"), 16)),
                AllOf(HasSubstr("answered:"), HasSubstr("42501"), HasSubstr("permission denied")));
    EXPECT_TRUE(connected(connection));

    // Another overload made later and one rebuilt outside: each listed object keeps its handle.
    runSql(pgConnection(),
           {"CREATE FUNCTION shop.add(a integer) RETURNS integer LANGUAGE sql AS 'SELECT 1'",
            "CREATE OR REPLACE FUNCTION shop.add(a text, b text) RETURNS text LANGUAGE sql AS "
            "'SELECT ''rebuilt'''"});
    act(find(9, "LIVEDB"), 10);
    functions = listed(9, find(9, "LIVEDB"));
    ASSERT_NE(overload(functions, "add", "(IN a int4) int4"), nullptr);
    EXPECT_EQ(overload(functions, "add", "(IN a int4, IN b int4) int4")->hdl, numbers);
    EXPECT_EQ(overload(functions, "add", "(IN a text, IN b text) text")->hdl, texts);
    EXPECT_EQ(run(texts), "add\nrebuilt");
    act(find(7, "LIVEDB"), 10);
    EXPECT_EQ(named(listed(7, find(7, "LIVEDB")), "names")->hdl, namesProcedure);
    EXPECT_EQ(named(listed(9, find(9, "LIVEDB")), "names")->hdl, namesFunction) << "a procedure of the same name";

    // Dropping one overload drops that one: the others stay in the database and in the list.
    act(texts, 22);
    api().WKButtonDoAction("User response", 6);
    EXPECT_THAT(messages(drain()), HasSubstr("was dropped from the database LIVEDB"));
    act(find(9, "LIVEDB"), 10);
    functions = listed(9, find(9, "LIVEDB"));
    EXPECT_EQ(overload(functions, "add", "(IN a text, IN b text) text"), nullptr);
    ASSERT_NE(overload(functions, "add", "(IN a int4, IN b int4) int4"), nullptr);
    EXPECT_EQ(overload(functions, "add", "(IN a int4, IN b int4) int4")->hdl, numbers);
    EXPECT_NE(overload(functions, "add", "(IN a int4) int4"), nullptr);
    EXPECT_EQ(run(numbers), "add\n40");
    for (int32_t hdl : {find(10, "shop.split"), find(10, "shop.stock"), find(10, "shop.nothing"),
                        find(10, "shop.total"), find(10, "shop.first_pair"), namesFunction}) {
        act(hdl, 22);
        api().WKButtonDoAction("User response", 6);
        EXPECT_THAT(messages(drain()), HasSubstr("was dropped from the database LIVEDB")) << hdl;
    }
    act(find(8, "shop.double_it"), 22);
    api().WKButtonDoAction("User response", 6);
    EXPECT_THAT(messages(drain()), HasSubstr("shop.double_it was dropped"));
    // Not its owner: the database refuses, and it stays listed.
    act(find(10, "vault.secret"), 22);
    api().WKButtonDoAction("User response", 6);
    EXPECT_THAT(messages(drain()), AllOf(HasSubstr("42501"), HasSubstr("must be owner")));
    act(find(9, "LIVEDB"), 10);
    act(find(7, "LIVEDB"), 10);
    EXPECT_THAT(namesOf(listed(9, find(9, "LIVEDB"))),
                ::testing::UnorderedElementsAre("add", "add", "audit", "item_count", "secret"));
    EXPECT_THAT(namesOf(listed(7, find(7, "LIVEDB"))),
                ::testing::UnorderedElementsAre("names", "restock", "tidy"));
}

TEST_F(PostgresLive, WhatSomeoneElseDroppedEndsInTheDatabasesMessageAndGoesAtTheNextRead) {
    int32_t connection = openLive("", pgConnection());
    act(connection, 7);
    ASSERT_TRUE(connected(connection));
    int32_t count = find(10, "shop.item_count"), tidy = find(8, "shop.tidy"),
            view = find(16, "shop.low_stock");
    runSql(pgConnection(),
           {"DROP FUNCTION shop.item_count()", "DROP PROCEDURE shop.tidy()", "DROP VIEW shop.low_stock"});
    EXPECT_THAT(messages(act(count, 16)),
                AllOf(HasSubstr("The database LIVEDB answered:"), HasSubstr("42883")));
    EXPECT_THAT(messages(act(view, 20)), HasSubstr("42P01"));
    EXPECT_THAT(messages(act(count, 25)), HasSubstr("The database LIVEDB keeps no source"));
    act(tidy, 22);
    api().WKButtonDoAction("User response", 6);
    EXPECT_THAT(messages(drain()), AllOf(HasSubstr("answered:"), HasSubstr("does not exist")));
    EXPECT_TRUE(connected(connection)) << "a missing object is no lost connection";
    EXPECT_NE(named(listed(9, find(9, "LIVEDB")), "item_count"), nullptr) << "listed until the next read";

    act(find(9, "LIVEDB"), 10);
    act(find(15, "LIVEDB"), 10);
    EXPECT_EQ(named(listed(9, find(9, "LIVEDB")), "item_count"), nullptr);
    EXPECT_EQ(named(listed(7, find(7, "LIVEDB")), "tidy"), nullptr);
    EXPECT_THAT(listed(15, find(15, "LIVEDB")), ::testing::IsEmpty());
    EXPECT_THAT(messages(act(count, 16)), HasSubstr("does not exist (any more)"));
}

TEST_F(PostgresLive, AProjectFileNamesOnlyRegisteredDriversAndNeverShowsItsPassword) {
    // A driver file named by its path is never loaded, though it is the very driver that would
    // answer (every other spelling the engine refuses is in the names test).
    int32_t connection = openLive("", "DRIVER=/usr/lib/x86_64-linux-gnu/odbc/psqlodbca.so;SERVER=" + serverDir() +
                                          ";PORT=5439;DATABASE=nimbtest;UID=nimb;PWD=nimbpw");
    EXPECT_THAT(messages(act(connection, 7)),
                AllOf(HasSubstr("could not be opened"), HasSubstr("registered with the ODBC driver manager")));
    EXPECT_FALSE(connected(connection));

    // Its properties, its ADO code and Data Environment connection, and a failed login keep the
    // password to themselves.
    api().WKSI_Reset();
    connection = openLive("", pgConnection("{s3cret;x}"));
    std::string said = messages(act(connection, 7)) + messages(act(connection, 13)) +
                       messages(act(connection, 26)) + messages(act(connection, 27));
    EXPECT_THAT(said, AllOf(HasSubstr("password authentication failed"), HasSubstr("UID=nimb;PWD=****"),
                            HasSubstr("ADODB.Connection"), HasSubstr("Data Environment connection")));
    EXPECT_THAT(said, Not(HasSubstr("s3cret")));
}

TEST_F(PostgresLive, AWrongPasswordAClosedPortAndAStoppedServerAreBoundedAndReported) {
    int32_t connection = openLive("", pgConnection("wrong"));
    std::string project = readFile(path("live.wkv"));
    EXPECT_THAT(messages(act(connection, 7)),
                AllOf(HasSubstr("could not be opened"), HasSubstr("password authentication failed")));
    EXPECT_FALSE(connected(connection));
    EXPECT_EQ(readFile(path("live.wkv")), project);

    api().WKSI_Reset();
    connection = openLive("", "DRIVER={PostgreSQL ANSI};SERVER=127.0.0.1;PORT=1;DATABASE=x;UID=x;PWD=x");
    std::string said;
    EXPECT_LT(secondsOf([&] { said = messages(act(connection, 7)); }), 4.0);
    EXPECT_THAT(said, HasSubstr("could not be opened"));
    EXPECT_FALSE(connected(connection));

    // The server stopped: the login gives up after the connection's timeout (3 seconds).
    std::ifstream pidFile(serverDir() + "/data/postmaster.pid");
    pid_t server = 0;
    pidFile >> server;
    ASSERT_GT(server, 0);
    api().WKSI_Reset();
    connection = openLive("", pgConnection());
    ASSERT_EQ(kill(server, SIGSTOP), 0);
    double waited = secondsOf([&] { said = messages(act(connection, 7)); });
    kill(server, SIGCONT);
    EXPECT_LT(waited, 8.0);
    EXPECT_THAT(said, HasSubstr("could not be opened"));
    EXPECT_FALSE(connected(connection));

    // A statement that runs too long is cancelled after the timeout; the connection stays usable.
    runSql(pgConnection(),
           {"CREATE FUNCTION shop.slow() RETURNS int LANGUAGE sql AS 'SELECT 1 FROM pg_sleep(30)'"});
    api().WKSI_Reset();
    connection = openLive("", pgConnection(), "timeout = 2\n");
    act(connection, 7);
    ASSERT_TRUE(connected(connection));
    waited = secondsOf([&] { said = messages(act(find(10, "shop.slow"), 16)); });
    EXPECT_LT(waited, 6.0);
    EXPECT_THAT(said, HasSubstr("57014")) << said;
    EXPECT_THAT(messages(act(find(10, "shop.item_count"), 16)), HasSubstr("ran. Its first rows"));

    // The server ends the engine's session: the next statement fails and the connection shows closed.
    runSql(pgConnection(), {"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE usename = 'nimb' "
                            "AND pid <> pg_backend_pid()"});
    auto lost = act(find(13, "LIVEDB"), 10);
    EXPECT_THAT(messages(lost),
                HasSubstr("The connection LIVEDB was closed: its database no longer answers."))
        << messages(lost);
    EXPECT_FALSE(connected(connection));
    EXPECT_THAT(namesOf(listed(13, find(13, "LIVEDB"))), ::testing::ElementsAre("items"))
        << "still listed as last read";
    act(connection, 7);
    EXPECT_TRUE(connected(connection)) << "connects again";
}

// Whether the server still has a session in process pid; waits up to 10 seconds for it to end.
bool sessionLasts(pid_t pid) {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string in = pgConnection();
    bool lasts = SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(in.data()), SQL_NTS,
                                                nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT));
    EXPECT_TRUE(lasts) << "cannot connect to " << in;
    std::string sql = "SELECT count(*) FROM pg_stat_activity WHERE pid = " + std::to_string(pid);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (lasts && std::chrono::steady_clock::now() < deadline) {
        SQLHSTMT stmt = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
        SQLINTEGER count = -1;
        if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS)) &&
            SQL_SUCCEEDED(SQLFetch(stmt)))
            SQLGetData(stmt, 1, SQL_C_SLONG, &count, 0, nullptr);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        lasts = count != 0;
        if (lasts)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return lasts;
}

TEST_F(PostgresLive, AServerThatStopsAnsweringInMidStatementIsGivenUpWithinTheBound) {
    runSql(pgConnection(),
           {"CREATE FUNCTION shop.backend() RETURNS int LANGUAGE sql AS 'SELECT pg_backend_pid()'"});
    write("src/item_value.sql", "CREATE OR REPLACE FUNCTION shop.item_value() RETURNS int LANGUAGE sql AS "
                                "'SELECT 1';\n");
    int32_t connection = openLive(declared, pgConnection(), "timeout = 2\n");
    act(connection, 7);
    ASSERT_TRUE(connected(connection));
    // The server process that serves the engine's own connection, as the engine's connection reports it.
    std::string said = messages(act(find(10, "shop.backend"), 16));
    auto digits = said.find_first_of("0123456789", said.find("backend\n"));
    ASSERT_NE(digits, std::string::npos) << said;
    pid_t backend = std::stoi(said.substr(digits));
    std::string project = readFile(path("live.wkv"));

    // Stopped after login: the statement runs into a server that never answers, and no driver
    // timeout can end that wait. The engine gives the call up after the connection's timeout and
    // its graces (2 + 2 + 1 seconds) and closes the connection.
    Stopped stopped(backend, std::chrono::seconds(30));
    double waited = secondsOf([&] { said = messages(act(find(10, "shop.item_count"), 16)); });
    EXPECT_GT(waited, 4.0);
    EXPECT_LT(waited, 7.0);
    EXPECT_THAT(said,
                HasSubstr("The connection LIVEDB was closed: its database did not answer within 2 seconds."))
        << said;
    EXPECT_THAT(said, Not(HasSubstr("answered:"))) << "no database message for a call given up";
    EXPECT_FALSE(connected(connection));
    EXPECT_EQ(readFile(path("live.wkv")), project);
    EXPECT_THAT(namesOf(listed(9, find(9, "LIVEDB"))), ::testing::Contains("item_count")) << "still listed";

    // Other actions answer at once, and a new connection (a new server process) works while the
    // stuck call still waits on the old one.
    EXPECT_LT(secondsOf([&] { said = messages(act(find(10, "shop.item_count"), 16)); }), 1.0);
    EXPECT_THAT(said, HasSubstr("is not connected"));
    act(connection, 7);
    ASSERT_TRUE(connected(connection));
    EXPECT_THAT(messages(act(find(10, "shop.item_count"), 16)), HasSubstr("ran. Its first rows"));
    // Once the server answers again, the call given up returns and its connection is closed.
    stopped.release();
    EXPECT_FALSE(sessionLasts(backend)) << "the connection given up was not closed after its call returned";

    // A build given up says so once and leaves the source file alone.
    said = messages(act(find(10, "shop.backend"), 16));
    digits = said.find_first_of("0123456789", said.find("backend\n"));
    ASSERT_NE(digits, std::string::npos) << said;
    backend = std::stoi(said.substr(digits));
    Stopped again(backend, std::chrono::seconds(30));
    said = messages(act(find(10, "shop.item_value"), 18));
    EXPECT_THAT(said, AllOf(HasSubstr("did not answer within 2 seconds"), Not(HasSubstr("was built")),
                            Not(HasSubstr("was not built"))))
        << said;
    EXPECT_FALSE(connected(connection));
    EXPECT_EQ(readFile(path("src/item_value.sql")),
              "CREATE OR REPLACE FUNCTION shop.item_value() RETURNS int LANGUAGE sql AS 'SELECT 1';\n");
    EXPECT_EQ(readFile(path("live.wkv")), project);
    again.release();
    EXPECT_FALSE(sessionLasts(backend));
}

} // namespace
} // namespace live_test

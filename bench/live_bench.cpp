// Listing a live PostgreSQL database's functions through the stand-in engine, beside the same
// catalogue query run raw through the same ODBC driver in this program:
//   engine: WKObjectDoAction(functions folder, refresh) - the engine runs its pg_proc query and
//           merges the rows into its catalogue - then the notifications drained and the folder
//           enumerated with WKFunctionEnumBegin/Next/End as the add-in does;
//   raw:    the very same query (PostgresQueries.h), every row fetched and every column read with
//           SQLGetData.
// Also the first listing of a connection: the engine's Connect (which reads every folder and makes
// the catalogue's objects) beside the same queries and SQLTables raw on a new connection of their own.
// At 10,000 and 100,000 functions (schema "bench" of the throw-away server NIMB_PG_DIR names). Each
// time is the best of three runs; the resident memory is sampled every 2 ms while each runs (the
// driver's buffers included) and its peak above the level before is reported, with the heap the
// engine keeps after listing (mallinfo2, per function). Targets: engine <= 2 x raw; 100,000 <= 12 x 10,000.
// The engine reads the database in the background; the IDE thread polls meanwhile, and the longest
// single call it makes into the engine is reported while the 100,000 refreshes run and while a
// statement hangs on the server (target: below 20 ms each). Beside each, the longest time the same
// thread took for a fixed piece of work that takes no lock, once per poll: what the machine's
// scheduling alone costs a call.
#include "PostgresQueries.h"
#include "standin_api.h"
#include "engine/wkabi.h"

#include <sql.h>
#include <sqlext.h>

#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Engine {
    decltype(&::WKProjectDoAccess) ProjectDoAccess;
    decltype(&::WKObjectDoAction) ObjectDoAction;
    decltype(&::WKGetNotification) GetNotification;
    decltype(&::WKFunctionEnumBegin) FunctionEnumBegin;
    decltype(&::WKFunctionEnumNext) FunctionEnumNext;
    decltype(&::WKFunctionEnumEnd) FunctionEnumEnd;
    decltype(&::WKConnectionGet) ConnectionGet;
    decltype(&::WKProjectGet) ProjectGet;
    int32_t (*FindHandle)(int32_t, const char*);
    int32_t (*WaitIdle)(int32_t);
};

template <class F> F symbol(void* lib, const char* name) {
    void* p = dlsym(lib, name);
    if (!p)
        throw std::runtime_error(std::string("the engine does not export ") + name);
    return reinterpret_cast<F>(p);
}

Engine loadEngine() {
    void* lib = dlopen(NIMB_STANDIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!lib)
        throw std::runtime_error(std::string("cannot load the engine: ") + dlerror());
    return {symbol<decltype(&::WKProjectDoAccess)>(lib, "WKProjectDoAccess"),
            symbol<decltype(&::WKObjectDoAction)>(lib, "WKObjectDoAction"),
            symbol<decltype(&::WKGetNotification)>(lib, "WKGetNotification"),
            symbol<decltype(&::WKFunctionEnumBegin)>(lib, "WKFunctionEnumBegin"),
            symbol<decltype(&::WKFunctionEnumNext)>(lib, "WKFunctionEnumNext"),
            symbol<decltype(&::WKFunctionEnumEnd)>(lib, "WKFunctionEnumEnd"),
            symbol<decltype(&::WKConnectionGet)>(lib, "WKConnectionGet"),
            symbol<decltype(&::WKProjectGet)>(lib, "WKProjectGet"),
            symbol<decltype(&::WKSI_FindHandle)>(lib, "WKSI_FindHandle"),
            symbol<decltype(&::WKSI_WaitIdle)>(lib, "WKSI_WaitIdle")};
}

size_t heapInUse() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// The resident memory of the process. Read from /proc without any lock, so sampling it does not
// slow the allocations it watches (mallinfo2 walks the heap under malloc's lock).
size_t resident() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, residentPages = 0;
    statm >> pages >> residentPages;
    return residentPages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

struct Measure {
    double seconds = 0;
    size_t peakResident = 0; // above the level before the run
};

// Runs work while a sampler watches the resident memory every 2 ms.
Measure measured(const std::function<void()>& work) {
    size_t before = resident();
    std::atomic<bool> done{false};
    std::atomic<size_t> peak{before};
    std::thread sampler([&] {
        while (!done) {
            size_t now = resident();
            if (now > peak)
                peak = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    auto start = std::chrono::steady_clock::now();
    work();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    done = true;
    sampler.join();
    size_t now = resident();
    return {seconds, std::max(peak.load(), now) - before};
}

class Odbc {
  public:
    explicit Odbc(const std::string& connectionString) {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
        SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
        std::string in = connectionString;
        if (!SQL_SUCCEEDED(SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(in.data()), SQL_NTS,
                                            nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT)))
            throw std::runtime_error("cannot connect to " + connectionString);
    }
    ~Odbc() {
        SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
    }
    void exec(const std::string& sql) {
        SQLHSTMT s = statement();
        std::string text = sql;
        SQLRETURN rc = SQLExecDirect(s, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
        SQLFreeHandle(SQL_HANDLE_STMT, s);
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
            throw std::runtime_error("refused: " + sql.substr(0, 80));
    }
    SQLHSTMT statement() {
        SQLHSTMT s = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &s);
        return s;
    }

  private:
    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
};

// Every row of a statement's result with the given columns read as text; returns the rows.
size_t drainRows(SQLHSTMT s, const std::vector<SQLUSMALLINT>& columns) {
    char buffer[1024];
    size_t rows = 0;
    while (SQL_SUCCEEDED(SQLFetch(s))) {
        ++rows;
        for (SQLUSMALLINT c : columns) {
            SQLLEN indicator = 0;
            while (SQLGetData(s, c, SQL_C_CHAR, buffer, sizeof buffer, &indicator) == SQL_SUCCESS_WITH_INFO &&
                   indicator != SQL_NULL_DATA &&
                   (indicator == SQL_NO_TOTAL || indicator >= SQLLEN(sizeof buffer))) {
            }
        }
    }
    SQLFreeStmt(s, SQL_CLOSE);
    return rows;
}

namespace Queries = standin::PostgresQueries;

// A query's every row, each column read; returns the rows.
size_t rawQuery(SQLHSTMT s, const char* query, SQLUSMALLINT columns) {
    std::string text = query;
    if (!SQL_SUCCEEDED(SQLExecDirect(s, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS)))
        throw std::runtime_error("the raw query was refused: " + text.substr(0, 60));
    std::vector<SQLUSMALLINT> all;
    for (SQLUSMALLINT c = 1; c <= columns; ++c)
        all.push_back(c);
    return drainRows(s, all);
}

// The engine's routine listing, raw: its pg_proc query. Returns the routines seen.
size_t rawListing(Odbc& db) {
    SQLHSTMT s = db.statement();
    size_t routines = rawQuery(s, Queries::routines, 9);
    SQLFreeHandle(SQL_HANDLE_STMT, s);
    return routines;
}

// What the engine reads when it connects, raw: routines, then comments and triggers, then tables
// and views with their comments.
void rawFirstListing(Odbc& db) {
    SQLHSTMT s = db.statement();
    rawQuery(s, Queries::routines, 9);
    rawQuery(s, Queries::comments, 4);
    rawQuery(s, Queries::triggers, 5);
    SQLCHAR kinds[] = "TABLE,VIEW";
    SQLTables(s, nullptr, 0, nullptr, 0, nullptr, 0, kinds, SQL_NTS);
    drainRows(s, {2, 3, 4, 5});
    rawQuery(s, Queries::comments, 4);
    SQLFreeHandle(SQL_HANDLE_STMT, s);
}

// Every notification, once the engine's background work is done.
void drain(const Engine& e) {
    e.WaitIdle(600000);
    twkNotify_abi n{};
    wkBool more = WK_TRUE;
    while (more)
        e.GetNotification(&n, &more);
}

// The longest single call the IDE thread made into the engine, and the longest its lock-free
// control took, in seconds.
double longestCall = 0;
double longestControl = 0;

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <class F> auto timedCall(F call) {
    auto start = std::chrono::steady_clock::now();
    auto result = call();
    longestCall = std::max(longestCall, since(start));
    return result;
}

// A fixed piece of work that takes no lock, about as long as a call into the engine (a few
// microseconds), timed as the calls are.
void timedControl() {
    static std::vector<unsigned> data(4096, 1);
    auto start = std::chrono::steady_clock::now();
    volatile unsigned sum = 0;
    for (unsigned v : data)
        sum = sum + v;
    longestControl = std::max(longestControl, since(start));
}

// Polls as the IDE thread does, but every 10 ms, ten times as often as the add-in (more chances to
// meet the engine busy), until a notification about hdl of that kind arrives; every call timed.
constexpr std::chrono::milliseconds pollEvery{10};
void pollUntil(const Engine& e, int32_t kind, int32_t hdl) {
    for (;;) {
        twkNotify_abi n{};
        wkBool more = WK_TRUE;
        while (more) {
            timedCall([&] { return e.GetNotification(&n, &more); });
            if (n.lNotifyType == kind && n.lObjectHdl == hdl)
                return;
        }
        timedControl();
        std::this_thread::sleep_for(pollEvery);
    }
}

// The engine's listing as the add-in runs it; returns the functions enumerated.
size_t engineListing(const Engine& e, int32_t folder) {
    timedCall([&] { return e.ObjectDoAction(folder, 10); });
    pollUntil(e, 5, folder);
    drain(e);
    std::vector<char> slots(8 * 1024);
    twkFunction_abi r{};
    char* p = slots.data();
    for (char** slot : {&r.strSchema, &r.strName, &r.strSpecific, &r.strParameters, &r.strResult,
                        &r.strLanguage, &r.strComment, &r.strFileName}) {
        *slot = p;
        p += 1024;
    }
    wkBool filtered = 0;
    int32_t en = 0;
    size_t listed = 0;
    if (e.FunctionEnumBegin(folder, &filtered, &en))
        while (e.FunctionEnumNext(en, &r))
            ++listed;
    e.FunctionEnumEnd(en);
    return listed;
}

struct Row {
    int functions;
    Measure raw, first, engine, rawFirst;
    double longestCall, longestControl; // of the IDE thread while the refreshes ran
    size_t kept;
};

} // namespace

int main() {
    try {
        const char* dir = std::getenv("NIMB_PG_DIR");
        if (!dir)
            throw std::runtime_error("NIMB_PG_DIR names no server (./dev bench starts one)");
        const std::string connection = std::string("DRIVER={PostgreSQL ANSI};SERVER=") + dir +
                                       ";PORT=5439;DATABASE=nimbtest;UID=nimb;PWD=nimbpw";
        Engine engine = loadEngine();
        Odbc db(connection);
        // A schema of its own, left behind for the throw-away server (dropping 100,000 functions in
        // one statement needs more locks than the server keeps).
        db.exec("DROP SCHEMA IF EXISTS bench CASCADE");
        db.exec("CREATE SCHEMA bench");

        auto folder = std::filesystem::temp_directory_path() / ("live-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "bench.wkv")
            << "wkv 1\nproject = Bench\n\n[connection]\ndatabase = BENCH\n"
               "connected = false\nlive = true\ntimeout = 600\nconnectionString = "
            << connection << "\n";
        const std::string projectFile = (folder / "bench.wkv").string();
        auto openProject = [&] {
            std::string name = projectFile, empty;
            engine.ProjectDoAccess(name.data(), empty.data(), 2);
            drain(engine);
        };
        auto closeProject = [&] {
            engine.ObjectDoAction(engine.FindHandle(5, ""), 21); // closes the project and its connection
            drain(engine);
        };
        // What else the database holds (other schemas of a shared server) is listed too.
        openProject();
        engine.ObjectDoAction(engine.FindHandle(6, "BENCH"), 7);
        drain(engine);
        const size_t others = engineListing(engine, engine.FindHandle(9, "BENCH"));
        closeProject();

        std::vector<Row> rows;
        int made = 0;
        for (int n : {10000, 100000}) {
            db.exec("DO $$ BEGIN FOR i IN " + std::to_string(made + 1) + ".." + std::to_string(n) +
                    " LOOP EXECUTE format('CREATE FUNCTION bench.f%s(a integer, b text) RETURNS integer "
                    "LANGUAGE sql AS ''SELECT 1''', i); END LOOP; END $$");
            made = n;
            db.exec("ANALYZE");
            Row row{n, {1e9, 0}, {}, {1e9, 0}, {}, 0, 0, 0};
            // The first listing of a new connection, raw: its server process starts with cold caches.
            row.rawFirst = measured([&] {
                Odbc fresh(connection);
                rawFirstListing(fresh);
            });
            size_t before = heapInUse();
            openProject();
            int32_t connectionHdl = engine.FindHandle(6, "BENCH");
            int32_t functions = engine.FindHandle(9, "BENCH");
            // Connecting reads the whole catalogue the first time.
            row.first = measured([&] {
                engine.ObjectDoAction(connectionHdl, 7);
                drain(engine);
            });
            longestCall = longestControl = 0;
            for (int rep = 0; rep < 3; ++rep) {
                size_t seen = 0, listed = 0;
                Measure raw = measured([&] { seen = rawListing(db); });
                Measure listing = measured([&] { listed = engineListing(engine, functions); });
                if (listed != static_cast<size_t>(n) + others)
                    throw std::runtime_error("the engine listed " + std::to_string(listed) +
                                             " functions, not " + std::to_string(n + others));
                if (seen < static_cast<size_t>(n))
                    throw std::runtime_error("the raw listing saw too few routines");
                if (raw.seconds < row.raw.seconds)
                    row.raw = raw;
                if (listing.seconds < row.engine.seconds)
                    row.engine = listing;
            }
            row.longestCall = longestCall;
            row.longestControl = longestControl;
            row.kept = heapInUse() - before;
            closeProject();
            rows.push_back(row);
        }
        // A statement that hangs (a run of 3 s in pg_sleep) while the IDE thread polls and asks.
        db.exec("CREATE FUNCTION bench.hang() RETURNS integer LANGUAGE sql AS 'SELECT 1 FROM pg_sleep(3)'");
        openProject();
        engine.ObjectDoAction(engine.FindHandle(6, "BENCH"), 7);
        drain(engine);
        longestCall = longestControl = 0;
        auto hangStart = std::chrono::steady_clock::now();
        const int32_t hang = engine.FindHandle(10, "bench.hang");
        timedCall([&] { return engine.ObjectDoAction(hang, 16); });
        int32_t connectionHdl = engine.FindHandle(6, "BENCH");
        twkConnection_abi record{};
        std::vector<char> name(256);
        record.strDatabase = name.data();
        // WK_TASK_COMPLETE is the run's command word: the statement is over when it comes.
        for (bool over = false; !over;) {
            twkNotify_abi n{};
            wkBool more = WK_TRUE;
            while (more) {
                timedCall([&] { return engine.GetNotification(&n, &more); });
                over = over || n.lNotifyType == 2;
            }
            timedCall([&] { return engine.ConnectionGet(connectionHdl, &record); });
            timedControl();
            std::this_thread::sleep_for(pollEvery);
        }
        double hangSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - hangStart).count();
        double longestWhileHung = longestCall, controlWhileHung = longestControl;
        closeProject();
        std::filesystem::remove_all(folder);

        std::printf("\nListing PostgreSQL functions: engine (refresh + enumerate) vs the same pg_proc query raw, "
                    "best of 3\n");
        std::printf("%10s %10s %10s %8s %14s %12s %8s %14s %14s %12s\n", "functions", "raw s", "engine s",
                    "ratio", "raw new-conn s", "connect s", "ratio", "raw +RSS MB", "engine +RSS MB",
                    "kept B/fn");
        for (auto& r : rows)
            std::printf("%10d %10.3f %10.3f %8.2f %14.3f %12.3f %8.2f %14.1f %14.1f %12.0f\n", r.functions,
                        r.raw.seconds, r.engine.seconds, r.engine.seconds / r.raw.seconds, r.rawFirst.seconds,
                        r.first.seconds, r.first.seconds / r.rawFirst.seconds, r.raw.peakResident / 1e6,
                        r.engine.peakResident / 1e6, double(r.kept) / r.functions);
        double scale = rows[1].engine.seconds / rows[0].engine.seconds;
        double worst = std::max(rows[0].engine.seconds / rows[0].raw.seconds,
                                rows[1].engine.seconds / rows[1].raw.seconds);
        std::printf("\ntarget engine <= 2 x raw: %.2f x (%s)\n", worst, worst <= 2 ? "met" : "NOT met");
        std::printf("target 100,000 <= 12 x 10,000: %.1f x (%s)\n", scale, scale <= 12 ? "met" : "NOT met");
        constexpr double callTarget = 0.020;
        std::printf("longest IDE-thread call while 100,000 functions refresh: %.2f ms (target below 20 ms: %s); "
                    "lock-free control: %.2f ms\n",
                    rows[1].longestCall * 1e3, rows[1].longestCall < callTarget ? "met" : "not met",
                    rows[1].longestControl * 1e3);
        std::printf("longest IDE-thread call while a statement hangs (%.1f s): %.2f ms (target below 20 ms: %s); "
                    "lock-free control: %.2f ms\n",
                    hangSeconds, longestWhileHung * 1e3, longestWhileHung < callTarget ? "met" : "not met",
                    controlWhileHung * 1e3);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "live_bench: %s\n", e.what());
        return 1;
    }
}

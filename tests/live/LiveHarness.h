// Live-database tests of the stand-in engine: the engine loaded as the add-in loads it, a project
// whose connection is live, what each folder lists, and statements run straight through ODBC to
// set a database up or look at it behind the engine's back.
#pragma once

#include "../standin/StandinHarness.h"

#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace live_test {

using namespace standin_test;

struct Listed {
    std::string name;
    bool dirty = false;
    std::string detail; // parameters of a routine, table of a trigger, comment of a table or view
    std::string comment;
    int32_t hdl = 0;
};

// What a folder of that type lists, through the engine's enumeration functions.
inline std::vector<Listed> listed(int32_t folderType, int32_t folder) {
    std::vector<Listed> out;
    wkBool filtered = 0;
    int32_t e = 0;
    const Api& a = api();
    Slots slots;
    auto buf = [&](size_t n = 1024) { return slots.add(n); };
    auto text = [](const char* s) { return std::string(s); };
    if (folderType == 7 && a.WKProcedureEnumBegin(folder, &filtered, &e)) {
        ProcedureRec r;
        while (a.WKProcedureEnumNext(e, &r.rec))
            out.push_back(
                {r.rec.strName, r.rec.bIsDirty != 0, r.rec.strParameters, r.rec.strComment, r.rec.lHdl});
        a.WKProcedureEnumEnd(e);
    } else if (folderType == 9 && a.WKFunctionEnumBegin(folder, &filtered, &e)) {
        FunctionRec r;
        while (a.WKFunctionEnumNext(e, &r.rec))
            out.push_back({r.rec.strName, r.rec.bIsDirty != 0,
                           text(r.rec.strParameters) + " " + r.rec.strResult, r.rec.strComment, r.rec.lHdl});
        a.WKFunctionEnumEnd(e);
    } else if (folderType == 11 && a.WKTriggerEnumBegin(folder, &filtered, &e)) {
        twkTrigger_abi r{};
        r.strSchema = buf(256), r.strName = buf(), r.strTableSchema = buf(256), r.strTableName = buf(256);
        r.strComment = buf(256), r.strFileName = buf();
        while (a.WKTriggerEnumNext(e, &r))
            out.push_back({r.strName, r.bIsDirty != 0, r.strTableName, r.strComment});
        a.WKTriggerEnumEnd(e);
    } else if (folderType == 13 && a.WKTableEnumBegin(folder, &filtered, &e)) {
        TableRec r;
        while (a.WKTableEnumNext(e, &r.rec))
            out.push_back({r.rec.strName, r.rec.bIsDirty != 0, r.rec.strSchema, r.rec.strComment});
        a.WKTableEnumEnd(e);
    } else if (folderType == 15 && a.WKViewEnumBegin(folder, &filtered, &e)) {
        twkView_abi r{};
        r.strSchema = buf(256), r.strName = buf(1024), r.strComment = buf(256);
        while (a.WKViewEnumNext(e, &r))
            out.push_back({r.strName, r.bIsDirty != 0, r.strSchema, r.strComment});
        a.WKViewEnumEnd(e);
    }
    EXPECT_TRUE(slots.intact());
    return out;
}

inline std::vector<std::string> namesOf(const std::vector<Listed>& objects) {
    std::vector<std::string> names;
    for (auto& o : objects)
        names.push_back(o.name);
    return names;
}

// The object listed with that name and detail (an overload by its parameters).
inline const Listed* overload(const std::vector<Listed>& objects, const std::string& name,
                              const std::string& detail) {
    for (auto& o : objects)
        if (o.name == name && o.detail == detail)
            return &o;
    return nullptr;
}

inline const Listed* named(const std::vector<Listed>& objects, const std::string& name) {
    for (auto& o : objects)
        if (o.name == name)
            return &o;
    return nullptr;
}

// The texts of every message the engine queued, one string.
inline std::string messages(const std::vector<twkNotify_abi>& notes) {
    std::string all;
    for (auto& t : textsOf(notes))
        all += t.text + "\n";
    return all;
}

inline bool connected(int32_t connection) {
    ConnectionRec r;
    api().WKConnectionGet(connection, &r.rec);
    return r.rec.bConnected != 0;
}

// An action on a handle and everything the engine answered.
inline std::vector<twkNotify_abi> act(int32_t hdl, int32_t code) {
    api().WKObjectDoAction(hdl, code);
    return drain();
}

// Runs statements on a database straight through ODBC; fails the test when one is refused.
inline void runSql(const std::string& connectionString, const std::vector<std::string>& statements) {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string in = connectionString;
    SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(in.data()), SQL_NTS, nullptr, 0,
                                    nullptr, SQL_DRIVER_NOPROMPT);
    ASSERT_TRUE(SQL_SUCCEEDED(rc)) << "cannot connect to " << connectionString;
    for (const auto& statement : statements) {
        SQLHSTMT stmt = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
        std::string sql = statement;
        rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        EXPECT_TRUE(SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) << "refused: " << statement;
    }
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
}

// Seconds a call takes.
template <class F> double secondsOf(F call) {
    auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The throw-away PostgreSQL server of scripts/pg-test-server, which ctest starts, and a connection
// string for it (its socket folder given as the server).
inline std::string serverDir() {
    const char* dir = std::getenv("NIMB_PG_DIR");
    return dir ? dir : "";
}

inline std::string pgConnection(const std::string& password = "nimbpw", const std::string& server = serverDir()) {
    return "DRIVER={PostgreSQL ANSI};SERVER=" + server + ";PORT=5439;DATABASE=nimbtest;UID=nimb;PWD=" + password;
}

// Stops a process (SIGSTOP) until release() or the end of its scope, or until a watchdog gives up
// waiting, so that a test that would hang fails instead.
class Stopped {
  public:
    Stopped(pid_t pid, std::chrono::seconds watchdog) : pid_(pid) {
        EXPECT_EQ(kill(pid_, SIGSTOP), 0);
        dog_ = std::thread([this, watchdog] {
            std::unique_lock lock(mutex_);
            if (!changed_.wait_for(lock, watchdog, [&] { return released_; }))
                ADD_FAILURE() << "the engine was still waiting for the stopped server after the watchdog";
            kill(pid_, SIGCONT);
        });
    }
    ~Stopped() { release(); }
    Stopped(const Stopped&) = delete;
    Stopped& operator=(const Stopped&) = delete;
    void release() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
        }
        changed_.notify_all();
        if (dog_.joinable())
            dog_.join();
    }

  private:
    pid_t pid_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool released_ = false;
    std::thread dog_;
};

// A project with one live connection (not connected) and the sections given after it.
inline std::string liveProject(const std::string& connectionString, const std::string& sections,
                               const std::string& extra = "timeout = 3\n") {
    return "wkv 1\nproject = Live\n\n[connection]\ndatabase = LIVEDB\nconnected = false\nlive = true\n" +
           extra + "connectionString = " + connectionString + "\n" + sections;
}

} // namespace live_test

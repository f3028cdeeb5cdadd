#include "OdbcStatement.h"

#include "OdbcConnection.h"
#include "OdbcWorker.h"

#include <utility>

namespace standin {

namespace {

bool succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

SQLCHAR* sqlText(const std::string& s) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
}

} // namespace

using Row = std::vector<std::optional<std::string>>;

struct OdbcStatement::State {
    std::shared_ptr<OdbcLink> link; // the connection's handles outlive its statements
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    std::vector<std::string> bound; // parameter values, alive until the statement runs again
    std::vector<SQLLEN> lengths;
    size_t cut = std::string::npos;
    int columns = -1; // of the current result; -1 until asked
    std::vector<Row> rows;
    bool ended = false;

    explicit State(std::shared_ptr<OdbcLink> l) : link(std::move(l)) {}
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (stmt != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    }

    void check(SQLRETURN rc, const char* what) const {
        if (!succeeded(rc) && rc != SQL_NO_DATA)
            throw odbcError(SQL_HANDLE_STMT, stmt, what);
    }

    int resultColumns() {
        if (columns < 0) {
            SQLSMALLINT n = 0;
            check(SQLNumResultCols(stmt, &n), "the result could not be read");
            columns = n;
        }
        return columns;
    }

    std::optional<std::string> value(int column) const {
        std::string value;
        char chunk[1024];
        for (;;) {
            SQLLEN indicator = 0;
            SQLRETURN rc = SQLGetData(stmt, static_cast<SQLUSMALLINT>(column), SQL_C_CHAR, chunk,
                                      sizeof chunk, &indicator);
            if (rc == SQL_NO_DATA)
                return value;
            check(rc, "the result could not be read");
            if (indicator == SQL_NULL_DATA)
                return std::nullopt;
            // A chunk that did not hold the whole rest is full but for its NUL; the last one is shorter.
            bool more = rc == SQL_SUCCESS_WITH_INFO &&
                        (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof chunk));
            value.append(chunk, more ? sizeof chunk - 1 : static_cast<size_t>(indicator));
            if (value.size() > cut) {
                value.resize(cut);
                return value + "...";
            }
            if (!more)
                return value;
        }
    }

    void readBatch() {
        rows.clear();
        int n = resultColumns();
        while (rows.size() < batchRows) {
            SQLRETURN rc = SQLFetch(stmt);
            if (rc == SQL_NO_DATA) {
                ended = true;
                return;
            }
            check(rc, "the result could not be read");
            Row row;
            row.reserve(static_cast<size_t>(n));
            for (int c = 1; c <= n; ++c)
                row.push_back(value(c));
            rows.push_back(std::move(row));
        }
    }
};

OdbcStatement::OdbcStatement(OdbcWorker& worker, std::shared_ptr<OdbcLink> link, SQLULEN queryTimeout)
    : worker_(worker), state_(std::make_shared<State>(std::move(link))) {
    worker_.run([s = state_, queryTimeout] {
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, s->link->dbc, &s->stmt)))
            throw odbcError(SQL_HANDLE_DBC, s->link->dbc, "no statement could be made on the connection");
        // A driver without query timeouts still runs the statement; the worker bounds the rest.
        SQLSetStmtAttr(s->stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(queryTimeout), 0);
    });
}

// The handle goes with the last job or statement that holds it; nothing to wait for here.
OdbcStatement::~OdbcStatement() = default;

template <class Job> void OdbcStatement::call(Job job) {
    worker_.run([s = state_, job = std::move(job)] { job(*s); }, [s = state_] { SQLCancel(s->stmt); });
}

OdbcStatement::State& OdbcStatement::settled() const {
    worker_.ensureAnswering(); // a job given up may still be writing the state
    return *state_;
}

void OdbcStatement::fresh() {
    State& s = settled();
    s.columns = -1;
    s.rows.clear();
    s.ended = false;
    row_ = 0;
}

void OdbcStatement::execute(const std::string& sql, const std::vector<std::string>& parameters) {
    fresh();
    call([sql, parameters](State& s) {
        SQLFreeStmt(s.stmt, SQL_CLOSE);
        SQLFreeStmt(s.stmt, SQL_RESET_PARAMS);
        if (parameters.empty())
            return s.check(SQLExecDirect(s.stmt, sqlText(sql), SQL_NTS), "the statement failed");
        s.check(SQLPrepare(s.stmt, sqlText(sql), SQL_NTS), "the statement could not be prepared");
        s.bound = parameters;
        s.lengths.assign(s.bound.size(), 0);
        for (size_t i = 0; i < s.bound.size(); ++i) {
            s.lengths[i] = static_cast<SQLLEN>(s.bound[i].size());
            SQLULEN size = s.bound[i].empty() ? 1 : s.bound[i].size();
            s.check(SQLBindParameter(s.stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR,
                                     SQL_VARCHAR, size, 0, sqlText(s.bound[i]), s.lengths[i], &s.lengths[i]),
                    "a parameter could not be bound");
        }
        s.check(SQLExecute(s.stmt), "the statement failed");
    });
}

void OdbcStatement::tables(const std::string& types) {
    fresh();
    call([types](State& s) {
        SQLFreeStmt(s.stmt, SQL_CLOSE);
        std::string all = "%";
        s.check(SQLTables(s.stmt, nullptr, SQL_NTS, sqlText(all), SQL_NTS, sqlText(all), SQL_NTS,
                          sqlText(types), SQL_NTS),
                "the tables could not be listed");
    });
}

void OdbcStatement::procedures() {
    fresh();
    call([](State& s) {
        SQLFreeStmt(s.stmt, SQL_CLOSE);
        std::string all = "%";
        s.check(SQLProcedures(s.stmt, nullptr, SQL_NTS, sqlText(all), SQL_NTS, sqlText(all), SQL_NTS),
                "the routines could not be listed");
    });
}

void OdbcStatement::procedureColumns() {
    fresh();
    call([](State& s) {
        SQLFreeStmt(s.stmt, SQL_CLOSE);
        std::string all = "%";
        s.check(SQLProcedureColumns(s.stmt, nullptr, SQL_NTS, sqlText(all), SQL_NTS, sqlText(all), SQL_NTS,
                                    nullptr, SQL_NTS),
                "the routines' parameters could not be listed");
    });
}

void OdbcStatement::limitRows(SQLULEN rows) {
    call([rows](State& s) {
        SQLSetStmtAttr(s.stmt, SQL_ATTR_MAX_ROWS, reinterpret_cast<SQLPOINTER>(rows), 0);
    });
}

void OdbcStatement::cutValues(size_t limit) {
    settled().cut = limit; // read by later jobs, which the worker's handover orders after this
}

int OdbcStatement::columns() {
    call([](State& s) { s.resultColumns(); });
    return settled().columns;
}

std::string OdbcStatement::columnName(int column) {
    auto name = std::make_shared<std::string>();
    call([column, name](State& s) {
        SQLCHAR text[256] = {};
        SQLSMALLINT length = 0;
        s.check(SQLDescribeCol(s.stmt, static_cast<SQLUSMALLINT>(column), text, sizeof text, &length, nullptr,
                               nullptr, nullptr, nullptr),
                "the result could not be read");
        *name = reinterpret_cast<char*>(text);
    });
    return *name;
}

bool OdbcStatement::fetch() {
    State& s = settled();
    if (!s.rows.empty() && row_ + 1 < s.rows.size()) {
        ++row_;
        return true;
    }
    if (s.ended)
        return false;
    row_ = 0;
    call([](State& state) { state.readBatch(); });
    return !s.rows.empty();
}

std::optional<std::string> OdbcStatement::text(int column) const {
    const State& s = settled();
    if (row_ >= s.rows.size() || column < 1 || static_cast<size_t>(column) > s.rows[row_].size())
        throw OdbcError("07009", "the result has no column " + std::to_string(column) + " here");
    return s.rows[row_][static_cast<size_t>(column) - 1];
}

} // namespace standin

#include "OdbcStatement.h"

#include "OdbcConnection.h"

namespace standin {

namespace {

bool succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

SQLCHAR* sqlText(const std::string& s) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
}

} // namespace

OdbcStatement::OdbcStatement(SQLHDBC dbc, SQLULEN queryTimeout) {
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt_)))
        throw odbcError(SQL_HANDLE_DBC, dbc, "no statement could be made on the connection");
    // A driver without query timeouts still runs the statement; the login timeout bounds the rest.
    SQLSetStmtAttr(stmt_, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(queryTimeout), 0);
}

OdbcStatement::~OdbcStatement() {
    SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
}

void OdbcStatement::fail(const char* what) const {
    throw odbcError(SQL_HANDLE_STMT, stmt_, what);
}

void OdbcStatement::check(SQLRETURN rc, const char* what) const {
    if (!succeeded(rc) && rc != SQL_NO_DATA)
        fail(what);
}

void OdbcStatement::execute(const std::string& sql, const std::vector<std::string>& parameters) {
    SQLFreeStmt(stmt_, SQL_CLOSE);
    SQLFreeStmt(stmt_, SQL_RESET_PARAMS);
    if (parameters.empty())
        return check(SQLExecDirect(stmt_, sqlText(sql), SQL_NTS), "the statement failed");
    check(SQLPrepare(stmt_, sqlText(sql), SQL_NTS), "the statement could not be prepared");
    bound_ = parameters;
    lengths_.assign(bound_.size(), 0);
    for (size_t i = 0; i < bound_.size(); ++i) {
        lengths_[i] = static_cast<SQLLEN>(bound_[i].size());
        SQLULEN size = bound_[i].empty() ? 1 : bound_[i].size();
        check(SQLBindParameter(stmt_, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR,
                               SQL_VARCHAR, size, 0, sqlText(bound_[i]), lengths_[i], &lengths_[i]),
              "a parameter could not be bound");
    }
    check(SQLExecute(stmt_), "the statement failed");
}

void OdbcStatement::tables(const std::string& types) {
    SQLFreeStmt(stmt_, SQL_CLOSE);
    std::string all = "%";
    check(SQLTables(stmt_, nullptr, SQL_NTS, sqlText(all), SQL_NTS, sqlText(all), SQL_NTS, sqlText(types),
                    SQL_NTS),
          "the tables could not be listed");
}

void OdbcStatement::procedures() {
    SQLFreeStmt(stmt_, SQL_CLOSE);
    std::string all = "%";
    check(SQLProcedures(stmt_, nullptr, SQL_NTS, sqlText(all), SQL_NTS, sqlText(all), SQL_NTS),
          "the routines could not be listed");
}

void OdbcStatement::procedureColumns() {
    SQLFreeStmt(stmt_, SQL_CLOSE);
    std::string all = "%";
    check(SQLProcedureColumns(stmt_, nullptr, SQL_NTS, sqlText(all), SQL_NTS, sqlText(all), SQL_NTS, nullptr,
                              SQL_NTS),
          "the routines' parameters could not be listed");
}

void OdbcStatement::limitRows(SQLULEN rows) {
    SQLSetStmtAttr(stmt_, SQL_ATTR_MAX_ROWS, reinterpret_cast<SQLPOINTER>(rows), 0);
}

int OdbcStatement::columns() {
    SQLSMALLINT n = 0;
    check(SQLNumResultCols(stmt_, &n), "the result could not be read");
    return n;
}

std::string OdbcStatement::columnName(int column) {
    SQLCHAR name[256] = {};
    SQLSMALLINT length = 0;
    check(SQLDescribeCol(stmt_, static_cast<SQLUSMALLINT>(column), name, sizeof name, &length, nullptr,
                         nullptr, nullptr, nullptr),
          "the result could not be read");
    return reinterpret_cast<char*>(name);
}

bool OdbcStatement::fetch() {
    SQLRETURN rc = SQLFetch(stmt_);
    if (rc == SQL_NO_DATA)
        return false;
    check(rc, "the result could not be read");
    return true;
}

std::optional<std::string> OdbcStatement::text(int column, size_t limit) {
    std::string value;
    char chunk[1024];
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN rc =
            SQLGetData(stmt_, static_cast<SQLUSMALLINT>(column), SQL_C_CHAR, chunk, sizeof chunk, &indicator);
        if (rc == SQL_NO_DATA)
            return value;
        check(rc, "the result could not be read");
        if (indicator == SQL_NULL_DATA)
            return std::nullopt;
        // A chunk that did not hold the whole rest is full but for its NUL; the last one is shorter.
        bool more = rc == SQL_SUCCESS_WITH_INFO &&
                    (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof chunk));
        value.append(chunk, more ? sizeof chunk - 1 : static_cast<size_t>(indicator));
        if (value.size() > limit) {
            value.resize(limit);
            return value + "...";
        }
        if (!more)
            return value;
    }
}

bool OdbcStatement::nextResult() {
    SQLRETURN rc = SQLMoreResults(stmt_);
    if (rc == SQL_NO_DATA)
        return false;
    check(rc, "the next result could not be read");
    return true;
}

} // namespace standin

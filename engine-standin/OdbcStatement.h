// OdbcStatement: one statement handle of an OdbcConnection - a statement run directly or with
// bound text parameters (names never become part of the SQL text), the catalogue calls, and the
// result read row by row, so a large catalogue streams through instead of being held twice.
#pragma once

#include "OdbcHeaders.h"

#include <optional>
#include <string>
#include <vector>

namespace standin {

class OdbcStatement {
  public:
    OdbcStatement(SQLHDBC dbc, SQLULEN queryTimeout);
    ~OdbcStatement();
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    // Runs sql; each ? takes the next of parameters as text. OdbcError when the database refuses.
    void execute(const std::string& sql, const std::vector<std::string>& parameters = {});
    // The catalogue: tables of the given types ("TABLE", "VIEW"), procedures, procedure columns.
    void tables(const std::string& types);
    void procedures();
    void procedureColumns();

    // At most rows rows from the next statement on (0: all).
    void limitRows(SQLULEN rows);

    // The columns of the current result (0 when the statement made none).
    int columns();
    std::string columnName(int column);
    // The next row of the current result; false at its end.
    bool fetch();
    // Column 1.. of the current row as text; nullopt for NULL. A value longer than limit is cut
    // there and marked with "..." (the rest is not read).
    std::optional<std::string> text(int column, size_t limit = std::string::npos);
    // text, with NULL read as an empty text.
    std::string textOr(int column) { return text(column).value_or(std::string()); }
    // Moves to the next result of a batch; false when there is none.
    bool nextResult();

  private:
    [[noreturn]] void fail(const char* what) const;
    void check(SQLRETURN rc, const char* what) const;

    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
    std::vector<std::string> bound_; // parameter values, alive until the statement runs again
    std::vector<SQLLEN> lengths_;
};

} // namespace standin

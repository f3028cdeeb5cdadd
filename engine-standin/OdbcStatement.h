// OdbcStatement: one statement handle of an OdbcConnection - a statement run directly or with
// bound text parameters (names never become part of the SQL text), the catalogue calls, and the
// result read in batches of rows, so a large catalogue streams through instead of being held twice.
// Every call runs on the connection's worker (OdbcWorker), bounded by its timeout; what the driver
// fills lives in state the worker's jobs share, so a job given up never writes into freed memory.
#pragma once

#include "OdbcHeaders.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace standin {

class OdbcWorker;
struct OdbcLink;

class OdbcStatement {
  public:
    // Rows read per trip to the worker: few trips for a large catalogue, little held at once.
    static constexpr size_t batchRows = 256;

    OdbcStatement(OdbcWorker& worker, std::shared_ptr<OdbcLink> link, SQLULEN queryTimeout);
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
    // Values longer than limit are cut there and marked with "..." (the rest is not read).
    void cutValues(size_t limit);

    // The columns of the current result (0 when the statement made none).
    int columns();
    std::string columnName(int column);
    // The next row of the current result; false at its end.
    bool fetch();
    // Column 1.. of the current row as text; nullopt for NULL.
    std::optional<std::string> text(int column) const;
    // text, with NULL read as an empty text.
    std::string textOr(int column) const { return text(column).value_or(std::string()); }

  private:
    struct State;
    // Runs job(state) on the worker; a call still running at the bound is cancelled.
    template <class Job> void call(Job job);
    // The state, once no job given up can still be writing it (OdbcTimeout otherwise).
    State& settled() const;
    void fresh();

    OdbcWorker& worker_;
    std::shared_ptr<State> state_;
    size_t row_ = 0; // the current row in the state's batch
};

} // namespace standin

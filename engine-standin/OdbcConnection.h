// OdbcConnection: one live database connection through ODBC (the driver manager of the platform:
// odbc32 on Windows, unixODBC elsewhere). Opening is bounded by a login timeout (a server that is
// down or does not answer the login) and every statement by a query timeout (a statement the server
// works on too long). How a driver carries out the query timeout is its own (PostgreSQL's has the
// server cancel the statement), so every call runs on the connection's OdbcWorker, which gives the
// connection up when a call outlasts the timeout and a grace: a server that stops answering in
// mid-statement never ends it. Failures are OdbcError with the driver's SQLSTATE and message.
#pragma once

#include "Identifier.h"
#include "OdbcHeaders.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace standin {

class OdbcStatement;
class OdbcWorker;

// The handles of one connection: freed by whichever thread lets go of them last, so a call given up
// keeps them for as long as the driver may still use them.
struct OdbcLink {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    OdbcLink() = default;
    OdbcLink(const OdbcLink&) = delete;
    OdbcLink& operator=(const OdbcLink&) = delete;
    ~OdbcLink();
};

struct OdbcError : std::runtime_error {
    OdbcError(std::string state, const std::string& text)
        : std::runtime_error(state.empty() ? text : state + ": " + text), sqlState(std::move(state)) {}
    std::string sqlState;
};

// The diagnostics of a handle as one text ("SQLSTATE: message", records joined); empty when none.
OdbcError odbcError(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback);

class OdbcConnection {
  public:
    // Opens connectionString without prompting; OdbcError when the driver or the server refuses.
    // The login, and later every statement, may take timeout seconds before the engine gives up.
    OdbcConnection(const std::string& connectionString, SQLUINTEGER timeout);
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    // SQL_DBMS_NAME, e.g. "SQLite" or "PostgreSQL".
    const std::string& dbmsName() const { return dbmsName_; }
    // name as an identifier in the database's quoting, embedded quote characters doubled;
    // Unquotable when the driver has no quoting.
    std::string quoted(std::string_view name) const;
    // schema.name quoted, or name alone when schema is empty.
    std::string quoted(std::string_view schema, std::string_view name) const;

    std::unique_ptr<OdbcStatement> statement() const;
    // Whether the driver knows the connection to the server is gone, or a call was given up.
    bool dead() const;
    // Whether a call outlasted the timeout and the connection was given up; no call gets through then.
    bool givenUp() const;

  private:
    std::string info(SQLUSMALLINT what) const;

    SQLUINTEGER timeout_;
    std::unique_ptr<OdbcWorker> worker_;
    std::shared_ptr<OdbcLink> link_;
    std::string dbmsName_;
    std::string quote_;
};

} // namespace standin

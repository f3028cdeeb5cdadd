// LiveConnection: the open database behind a live connection - its ODBC connection and the kind
// of database the driver reports.
#pragma once

#include "DatabaseKind.h"
#include "OdbcConnection.h"
#include "OdbcStatement.h"

#include <memory>
#include <string>

namespace standin {

class LiveConnection {
  public:
    // Opens connectionString (OdbcError when that fails); timeout bounds the login and each statement.
    LiveConnection(const std::string& connectionString, SQLUINTEGER timeout)
        : db_(connectionString, timeout), kind_(DatabaseKind::forDbms(db_.dbmsName())) {}

    OdbcConnection& db() { return db_; }
    const DatabaseKind& kind() const { return *kind_; }

    // Whether the database still answers: drivers report a session the server ended under
    // different SQLSTATEs, so after a failure the engine asks.
    bool answers() {
        try {
            if (db_.dead())
                return false;
            db_.statement()->execute("SELECT 1");
            return true;
        } catch (const OdbcError&) {
            return false;
        }
    }

  private:
    OdbcConnection db_;
    std::unique_ptr<DatabaseKind> kind_;
};

} // namespace standin

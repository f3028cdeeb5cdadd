// DatabaseKind: what differs between the databases a live connection can reach, chosen by the
// driver's SQL_DBMS_NAME: which schemas are the database's own, how triggers, comments and a
// routine's source are read, and the statements that drop or run an object. Names always go into
// SQL quoted as identifiers or as bound parameters.
#pragma once

#include "Catalogue.h"

#include <memory>
#include <optional>
#include <string>

namespace standin {

class OdbcConnection;

class DatabaseKind {
  public:
    virtual ~DatabaseKind() = default;

    // The kind for a driver's SQL_DBMS_NAME; a database this engine has no kind for gets the
    // catalogue calls alone (no triggers, no comments, no routine sources).
    static std::unique_ptr<DatabaseKind> forDbms(const std::string& dbmsName);

    // Schemas the database keeps for itself; their objects are not listed.
    virtual bool isSystemSchema(const std::string& schema) const;
    // A query whose rows are: schema, trigger name, table schema, table name, source. Empty: none.
    virtual std::string triggersQuery() const { return {}; }
    // A query whose rows are one routine each: id, schema, name, kind ("p" a procedure, anything
    // else a function), parameters as shown, result, comment, signature, call arguments (as in
    // DbObject). Empty: the routines come from the driver's catalogue calls.
    virtual std::string routinesQuery() const { return {}; }
    // A query whose rows are: object type (8 ... 16 as text), schema, name, comment. Empty: none.
    virtual std::string commentsQuery() const { return {}; }
    // The source the database keeps for a routine; nullopt when it keeps none.
    virtual std::optional<std::string> routineSource(OdbcConnection& db, const DbObject& routine) const;
    virtual std::string dropStatement(const OdbcConnection& db, const DbObject& object) const;
    // A statement that runs a routine without arguments and may return rows.
    virtual std::string runStatement(const OdbcConnection& db, const DbObject& routine) const;
};

} // namespace standin

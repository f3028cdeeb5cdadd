// PostgresKind: PostgreSQL's own schemas, its routines (pg_proc: procedures and functions by their
// kind, overloads by their oid, each with the argument list that names it), its triggers
// (pg_trigger), the comments it keeps (pg_description) and routine sources (pg_get_functiondef);
// procedures are run with CALL and functions selected from, each overload named by its argument
// types, and a trigger is dropped from its table.
#pragma once

#include "DatabaseKind.h"

namespace standin {

class PostgresKind : public DatabaseKind {
  public:
    bool isSystemSchema(const std::string& schema) const override;
    std::string routinesQuery() const override;
    std::string triggersQuery() const override;
    std::string commentsQuery() const override;
    std::optional<std::string> routineSource(OdbcConnection& db, const DbObject& routine) const override;
    std::string dropStatement(const OdbcConnection& db, const DbObject& object) const override;
    std::string runStatement(const OdbcConnection& db, const DbObject& routine) const override;
};

} // namespace standin

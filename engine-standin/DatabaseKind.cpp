#include "DatabaseKind.h"

#include "OdbcConnection.h"
#include "PostgresKind.h"
#include "SqliteKind.h"

namespace standin {

using namespace nimb::VSAConstants;

std::unique_ptr<DatabaseKind> DatabaseKind::forDbms(const std::string& dbmsName) {
    if (dbmsName == "SQLite")
        return std::make_unique<SqliteKind>();
    if (dbmsName == "PostgreSQL")
        return std::make_unique<PostgresKind>();
    return std::make_unique<DatabaseKind>();
}

bool DatabaseKind::isSystemSchema(const std::string& schema) const {
    return schema == "INFORMATION_SCHEMA" || schema == "information_schema";
}

std::optional<std::string> DatabaseKind::routineSource(OdbcConnection&, const DbObject&) const {
    return std::nullopt;
}

std::string DatabaseKind::dropStatement(const OdbcConnection& db, const DbObject& object) const {
    static const char* const words[] = {"PROCEDURE", "FUNCTION", "TRIGGER", "TABLE", "VIEW"};
    return std::string("DROP ") + words[(object.type - WK_OBJ_PROCEDURE) / 2] + " " +
           db.quoted(object.schema, object.name);
}

std::string DatabaseKind::runStatement(const OdbcConnection& db, const DbObject& routine) const {
    return "{call " + db.quoted(routine.schema, routine.name) + "}";
}

} // namespace standin

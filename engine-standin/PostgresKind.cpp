#include "PostgresKind.h"

#include "OdbcConnection.h"
#include "OdbcStatement.h"
#include "PostgresQueries.h"

namespace standin {

using namespace nimb::VSAConstants;

bool PostgresKind::isSystemSchema(const std::string& schema) const {
    return schema == "pg_catalog" || schema == "information_schema" || schema.rfind("pg_toast", 0) == 0;
}

std::string PostgresKind::triggersQuery() const {
    return PostgresQueries::triggers;
}

std::string PostgresKind::routinesQuery() const {
    return PostgresQueries::routines;
}

std::string PostgresKind::commentsQuery() const {
    return PostgresQueries::comments;
}

std::optional<std::string> PostgresKind::routineSource(OdbcConnection& db, const DbObject& routine) const {
    auto statement = db.statement();
    if (!routine.databaseId.empty())
        statement->execute("SELECT pg_get_functiondef(CAST(? AS oid))", {routine.databaseId});
    else
        statement->execute("SELECT pg_get_functiondef(p.oid) FROM pg_proc p"
                           " JOIN pg_namespace n ON n.oid = p.pronamespace"
                           " WHERE n.nspname = ? AND p.proname = ? ORDER BY p.oid",
                           {routine.schema, routine.name});
    std::optional<std::string> source;
    while (statement->fetch()) {
        // Not yet told apart from its overloads: it shows each definition of its name. A routine
        // dropped since it was listed has none (NULL).
        if (auto one = statement->text(1))
            source = source ? *source + "\n" + *one : *one;
    }
    return source;
}

std::string PostgresKind::dropStatement(const OdbcConnection& db, const DbObject& object) const {
    if (object.type == WK_OBJ_TRIGGER)
        return "DROP TRIGGER " + db.quoted(object.name) + " ON " +
               db.quoted(object.tableSchema, object.tableName);
    // A routine not yet read from the database goes by its name alone, which the database refuses
    // when the name is overloaded.
    return DatabaseKind::dropStatement(db, object) + object.signature;
}

std::string PostgresKind::runStatement(const OdbcConnection& db, const DbObject& routine) const {
    std::string arguments = routine.callArguments.empty() ? "()" : routine.callArguments;
    if (routine.type == WK_OBJ_PROCEDURE)
        return "CALL " + db.quoted(routine.schema, routine.name) + arguments;
    return "SELECT * FROM " + db.quoted(routine.schema, routine.name) + arguments;
}

} // namespace standin

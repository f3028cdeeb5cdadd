#include "PostgresKind.h"

#include "OdbcConnection.h"
#include "OdbcStatement.h"

namespace standin {

bool PostgresKind::isSystemSchema(const std::string& schema) const {
    return schema == "pg_catalog" || schema == "information_schema" || schema.rfind("pg_toast", 0) == 0;
}

std::string PostgresKind::triggersQuery() const {
    return "SELECT n.nspname, t.tgname, n.nspname, c.relname, pg_get_triggerdef(t.oid, true)"
           " FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid"
           " JOIN pg_namespace n ON n.oid = c.relnamespace"
           " WHERE NOT t.tgisinternal AND n.nspname NOT IN ('pg_catalog', 'information_schema')"
           " ORDER BY n.nspname, t.tgname";
}

std::string PostgresKind::commentsQuery() const {
    return "SELECT CASE WHEN p.prokind = 'p' THEN '8' ELSE '10' END, n.nspname, p.proname, d.description"
           " FROM pg_description d JOIN pg_proc p ON d.classoid = 'pg_proc'::regclass AND p.oid = d.objoid"
           " JOIN pg_namespace n ON n.oid = p.pronamespace"
           " WHERE n.nspname NOT IN ('pg_catalog', 'information_schema')"
           " UNION ALL"
           " SELECT CASE WHEN c.relkind = 'v' OR c.relkind = 'm' THEN '16' ELSE '14' END, n.nspname,"
           " c.relname, d.description"
           " FROM pg_description d JOIN pg_class c ON d.classoid = 'pg_class'::regclass AND c.oid = d.objoid"
           " AND d.objsubid = 0 JOIN pg_namespace n ON n.oid = c.relnamespace"
           " WHERE n.nspname NOT IN ('pg_catalog', 'information_schema')"
           " UNION ALL"
           " SELECT '12', n.nspname, t.tgname, d.description"
           " FROM pg_description d JOIN pg_trigger t ON d.classoid = 'pg_trigger'::regclass AND t.oid = "
           "d.objoid"
           " JOIN pg_class c ON c.oid = t.tgrelid JOIN pg_namespace n ON n.oid = c.relnamespace";
}

std::optional<std::string> PostgresKind::routineSource(OdbcConnection& db, const DbObject& routine) const {
    auto statement = db.statement();
    statement->execute("SELECT pg_get_functiondef(p.oid) FROM pg_proc p"
                       " JOIN pg_namespace n ON n.oid = p.pronamespace"
                       " WHERE n.nspname = ? AND p.proname = ? ORDER BY p.oid",
                       {routine.schema, routine.name});
    std::optional<std::string> source;
    while (statement->fetch()) {
        // Every routine of that name: an overloaded name shows each of its definitions.
        std::string one = statement->textOr(1);
        source = source ? *source + "\n" + one : one;
    }
    return source;
}

std::string PostgresKind::dropStatement(const OdbcConnection& db, const DbObject& object) const {
    if (object.type == 12)
        return "DROP TRIGGER " + db.quoted(object.name) + " ON " +
               db.quoted(object.tableSchema, object.tableName);
    return DatabaseKind::dropStatement(db, object);
}

std::string PostgresKind::runStatement(const OdbcConnection& db, const DbObject& routine) const {
    if (routine.type == 8)
        return "CALL " + db.quoted(routine.schema, routine.name) + "()";
    return "SELECT * FROM " + db.quoted(routine.schema, routine.name) + "()";
}

} // namespace standin

#include "PostgresKind.h"

#include "OdbcConnection.h"
#include "OdbcStatement.h"

namespace standin {

using namespace nimb::VSAConstants;

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

// Parameters and results are shown by their type names (int4, text) as the driver's catalogue
// calls show them. Aggregates and window functions are left out: they are neither run nor dropped
// as functions. A run passes NULL of each argument's type, so that the very overload listed runs
// (a procedure's OUT arguments are passed too, as CALL wants them). The arguments are joined to
// their types once for the whole catalogue and grouped back per routine: a lookup per routine
// costs the server several times as much on a large catalogue.
std::string PostgresKind::routinesQuery() const {
    return "SELECT p.oid::text, n.nspname, p.proname, p.prokind,"
           " '(' || COALESCE(string_agg(CASE COALESCE(p.proargmodes[a.i], 'i') WHEN 'o' THEN 'OUT '"
           " WHEN 'b' THEN 'INOUT ' WHEN 'v' THEN 'VARIADIC ' ELSE 'IN ' END"
           " || COALESCE(NULLIF(p.proargnames[a.i], '') || ' ', '') || t.typname, ', ' ORDER BY a.i)"
           " FILTER (WHERE COALESCE(p.proargmodes[a.i], 'i') <> 't'), '') || ')',"
           " CASE WHEN p.prokind = 'p' THEN ''"
           " WHEN 't' = ANY(p.proargmodes) THEN 'TABLE(' || string_agg("
           "COALESCE(NULLIF(p.proargnames[a.i], '') || ' ', '') || t.typname, ', ' ORDER BY a.i)"
           " FILTER (WHERE p.proargmodes[a.i] = 't') || ')'"
           " ELSE CASE WHEN p.proretset THEN 'SETOF ' ELSE '' END || r.typname END,"
           " d.description,"
           " '(' || pg_get_function_identity_arguments(p.oid) || ')',"
           " '(' || COALESCE(string_agg(CASE WHEN p.proargmodes[a.i] = 'v' THEN 'VARIADIC ' ELSE '' END"
           " || 'NULL::' || format_type(a.type, NULL), ', ' ORDER BY a.i)"
           " FILTER (WHERE COALESCE(p.proargmodes[a.i], 'i') IN ('i', 'b', 'v')"
           " OR (p.prokind = 'p' AND p.proargmodes[a.i] = 'o')), '') || ')'"
           " FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace"
           " JOIN pg_type r ON r.oid = p.prorettype"
           " LEFT JOIN pg_description d ON d.classoid = 'pg_proc'::regclass AND d.objoid = p.oid"
           " AND d.objsubid = 0"
           " LEFT JOIN LATERAL unnest(COALESCE(p.proallargtypes, p.proargtypes::oid[])) WITH ORDINALITY "
           "a(type, i)"
           " ON true LEFT JOIN pg_type t ON t.oid = a.type"
           " WHERE p.prokind IN ('f', 'p') AND n.nspname NOT IN ('pg_catalog', 'information_schema')"
           " AND left(n.nspname, 8) <> 'pg_toast'"
           " GROUP BY p.oid, n.nspname, p.proname, p.prokind, p.proargmodes, p.proargnames, p.proretset,"
           " r.typname, d.description"
           " ORDER BY n.nspname, p.proname, p.oid";
}

// Routines carry their comments in routinesQuery, each on its own overload.
std::string PostgresKind::commentsQuery() const {
    return "SELECT CASE WHEN c.relkind = 'v' OR c.relkind = 'm' THEN '16' ELSE '14' END, n.nspname,"
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

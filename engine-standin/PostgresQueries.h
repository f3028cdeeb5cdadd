// PostgresQueries: the catalogue queries the engine runs on PostgreSQL, kept as text on their own so
// that a benchmark runs the very queries the engine runs.
#pragma once

namespace standin::PostgresQueries {

// Parameters and results are shown by their type names (int4, text) as the driver's catalogue
// calls show them. Aggregates and window functions are left out: they are neither run nor dropped
// as functions. A run passes NULL of each argument's type, so that the very overload listed runs
// (a procedure's OUT arguments are passed too, as CALL wants them). The arguments are joined to
// their types once for the whole catalogue and grouped back per routine: a lookup per routine
// costs the server several times as much on a large catalogue.
inline constexpr char routines[] =
    "SELECT p.oid::text, n.nspname, p.proname, p.prokind,"
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

inline constexpr char triggers[] =
    "SELECT n.nspname, t.tgname, n.nspname, c.relname, pg_get_triggerdef(t.oid, true)"
    " FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid"
    " JOIN pg_namespace n ON n.oid = c.relnamespace"
    " WHERE NOT t.tgisinternal AND n.nspname NOT IN ('pg_catalog', 'information_schema')"
    " ORDER BY n.nspname, t.tgname";

// Of tables, views and triggers: routines carry their comments in `routines`, each on its own overload.
inline constexpr char comments[] =
    "SELECT CASE WHEN c.relkind = 'v' OR c.relkind = 'm' THEN '16' ELSE '14' END, n.nspname,"
    " c.relname, d.description"
    " FROM pg_description d JOIN pg_class c ON d.classoid = 'pg_class'::regclass AND c.oid = d.objoid"
    " AND d.objsubid = 0 JOIN pg_namespace n ON n.oid = c.relnamespace"
    " WHERE n.nspname NOT IN ('pg_catalog', 'information_schema')"
    " UNION ALL"
    " SELECT '12', n.nspname, t.tgname, d.description"
    " FROM pg_description d JOIN pg_trigger t ON d.classoid = 'pg_trigger'::regclass AND t.oid = "
    "d.objoid"
    " JOIN pg_class c ON c.oid = t.tgrelid JOIN pg_namespace n ON n.oid = c.relnamespace";

} // namespace standin::PostgresQueries

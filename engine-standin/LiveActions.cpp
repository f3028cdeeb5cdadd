#include "LiveActions.h"

#include "Engine.h"
#include "LiveCatalogue.h"
#include "LiveConnection.h"
#include "OdbcStatement.h"
#include "TextTable.h"

#include <string>

namespace standin::LiveActions {

using namespace nimb::VSAConstants;

namespace {

using TextTable::format;

constexpr SQLULEN shownRows = 20;
constexpr size_t shownCell = 200; // characters of a value shown; a large text or blob is cut

// After a failed statement: when the connection itself is gone (SQLSTATE class 08, the database no
// longer answers, or a call outlasted the timeout and was given up) it is closed and reported
// disconnected.
void closeIfGone(Engine& engine, Connection& connection, const OdbcError& e) {
    bool givenUp = connection.link->db().givenUp();
    if (!givenUp && e.sqlState.rfind("08", 0) != 0 && connection.link->answers())
        return;
    connection.link.reset();
    connection.connected = false;
    engine.notify(6, *engine.catalogue.locate(connection.hdl));
    if (givenUp)
        return engine.message(
            format(TextTable::NoAnswer, {connection.database, std::to_string(connection.timeout)}));
    engine.message(format(TextTable::ConnectionLost, {connection.database}));
}

// A failure's message (unless the call was given up: closeIfGone says so), then closeIfGone.
void failed(Engine& engine, Connection& connection, const OdbcError& e, const std::string& message) {
    if (!connection.link->db().givenUp())
        engine.message(message);
    closeIfGone(engine, connection, e);
}

// Runs work against the database; a refusal becomes the database's message.
template <class F> bool attempt(Engine& engine, const Located& at, F work) {
    try {
        work(*at.connection->link);
        return true;
    } catch (const OdbcError& e) {
        failed(engine, *at.connection, e,
               format(TextTable::DatabaseAnswered, {at.connection->database, e.what()}));
        return false;
    } catch (const Unquotable&) {
        engine.message(format(TextTable::CannotQuote,
                              {at.connection->database, at.object ? at.object->qualifiedName() : ""}));
        return false;
    }
}

void folderChanged(Engine& engine, const Connection& connection, int32_t folderType) {
    engine.notify(5, *engine.catalogue.locate(connection.folder(folderType).hdl));
}

// The folders one catalogue read fills together.
void readFolder(Engine& engine, const Located& at, int32_t folderType) {
    Connection& connection = *at.connection;
    bool read = attempt(engine, at, [&](LiveConnection&) {
        LiveCatalogue::read(engine.catalogue, connection, folderType, at.project->path);
    });
    if (!read)
        return;
    if (folderType == WK_OBJ_PROCEDURE_FOLDER || folderType == WK_OBJ_FUNCTION_FOLDER) {
        folderChanged(engine, connection, WK_OBJ_PROCEDURE_FOLDER);
        folderChanged(engine, connection, WK_OBJ_FUNCTION_FOLDER);
    } else if (folderType == WK_OBJ_TABLE_FOLDER || folderType == WK_OBJ_VIEW_FOLDER) {
        folderChanged(engine, connection, WK_OBJ_TABLE_FOLDER);
        folderChanged(engine, connection, WK_OBJ_VIEW_FOLDER);
    } else {
        folderChanged(engine, connection, folderType);
    }
}

// The rows of a statement's result as lines: the column names, then at most shownRows rows.
std::string rowsOf(OdbcStatement& statement) {
    statement.cutValues(shownCell);
    int columns = statement.columns();
    std::string text;
    for (int c = 1; c <= columns; ++c)
        text += (c > 1 ? " | " : "") + statement.columnName(c);
    SQLULEN rows = 0;
    while (rows < shownRows && statement.fetch()) {
        text += "\n";
        for (int c = 1; c <= columns; ++c)
            text += (c > 1 ? " | " : "") + statement.text(c).value_or("NULL");
        ++rows;
    }
    return rows ? text : std::string();
}

} // namespace

void connect(Engine& engine, const Located& at) {
    Connection& connection = *at.connection;
    if (connection.connected)
        return engine.notify(6, at);
    try {
        connection.link = std::make_shared<LiveConnection>(connection.connectionString,
                                                           static_cast<SQLUINTEGER>(connection.timeout));
    } catch (const OdbcError& e) {
        return engine.message(format(TextTable::ConnectFailed, {connection.database, e.what()}));
    }
    connection.connected = true;
    engine.notify(6, at);
    bool read = attempt(engine, at, [&](LiveConnection&) {
        LiveCatalogue::readAll(engine.catalogue, connection, at.project->path);
    });
    if (read)
        for (int32_t folderType : folderTypes)
            folderChanged(engine, connection, folderType);
}

void disconnect(Engine& engine, const Located& at) {
    at.connection->link.reset();
    at.connection->connected = false;
    engine.notify(6, at);
}

void refresh(Engine& engine, const Located& at) {
    readFolder(engine, at, at.folder->type);
}

void build(Engine& engine, const Located& at) {
    DbObject& object = *at.object;
    LiveCatalogue::changedSinceBuild(object, at.project->path); // takes the source as it is on disk now
    if (!object.source)
        return engine.message(
            format(TextTable::SourceMissing, {object.qualifiedName(), engine.sourcePathOf(object)}));
    const std::string source = *object.source;
    try {
        at.connection->link->db().statement()->execute(source);
    } catch (const OdbcError& e) {
        return failed(
            engine, *at.connection, e,
            format(TextTable::BuildFailed, {object.qualifiedName(), at.connection->database, e.what()}));
    }
    object.built = LiveCatalogue::fingerprint(source);
    object.dirty = false;
    object.canDebug = false;
    engine.notify(6, at);
    readFolder(engine, at, at.folder->type);
    engine.message(format(TextTable::Built, {object.qualifiedName()}));
}

void run(Engine& engine, const Located& at, int32_t code) {
    const DbObject& routine = *at.object;
    if (code == 17)
        return engine.message(
            format(TextTable::NoDebugger, {at.connection->database, routine.qualifiedName()}));
    std::string rows;
    bool ran = attempt(engine, at, [&](LiveConnection& live) {
        auto statement = live.db().statement();
        statement->limitRows(shownRows);
        statement->execute(live.kind().runStatement(live.db(), routine));
        if (statement->columns() > 0)
            rows = rowsOf(*statement);
    });
    if (!ran)
        return;
    engine.queue.command("MINIMIZE_MSWIN");
    engine.queue.command("WK_TASK_COMPLETE");
    if (rows.empty())
        return engine.message(format(TextTable::RanNoRows, {routine.qualifiedName()}));
    engine.message(format(TextTable::RanRows, {routine.qualifiedName(), rows}));
}

void sampleContents(Engine& engine, const Located& at) {
    const DbObject& object = *at.object;
    std::string rows;
    bool read = attempt(engine, at, [&](LiveConnection& live) {
        auto statement = live.db().statement();
        statement->limitRows(shownRows);
        statement->execute("SELECT * FROM " + live.db().quoted(object.schema, object.name));
        rows = rowsOf(*statement);
    });
    if (!read)
        return;
    if (rows.empty())
        return engine.message(format(TextTable::NoSampleRows, {object.qualifiedName()}));
    engine.message(format(TextTable::SampleRows, {object.qualifiedName(), rows}));
}

void drop(Engine& engine, const Located& at) {
    DbObject& object = *at.object;
    std::string name = object.qualifiedName();
    bool dropped = attempt(engine, at, [&](LiveConnection& live) {
        live.db().statement()->execute(live.kind().dropStatement(live.db(), object));
    });
    if (!dropped)
        return;
    if (!object.fileName.empty()) {
        // Still declared in the project: it stays, to be built again.
        object.dirty = true;
        engine.notify(6, at);
    } else {
        engine.notify(7, at);
        engine.catalogue.removeObject(object);
    }
    engine.message(format(TextTable::Dropped, {name, at.connection->database}));
}

bool loadSource(Engine& engine, const Located& at) {
    DbObject& routine = *at.object;
    if (routine.source || routine.type == WK_OBJ_TRIGGER)
        return true;
    std::optional<std::string> source;
    bool read = attempt(
        engine, at, [&](LiveConnection& live) { source = live.kind().routineSource(live.db(), routine); });
    if (!read)
        return false;
    if (!source) {
        engine.message(
            format(TextTable::NoRoutineSource, {routine.qualifiedName(), at.connection->database}));
        return false;
    }
    routine.source = std::move(source);
    return true;
}

} // namespace standin::LiveActions

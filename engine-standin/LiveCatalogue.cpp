#include "LiveCatalogue.h"

#include "FileSystem.h"
#include "LiveConnection.h"
#include "OdbcStatement.h"
#include "ProjectStore.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace standin::LiveCatalogue {

using namespace nimb::VSAConstants;

namespace {

using Objects = std::vector<std::shared_ptr<DbObject>>;

std::string key(const std::string& schema, const std::string& name, int overload = 0) {
    std::string k = schema;
    k += '\x1f';
    k += name;
    if (overload) {
        k += '\x1f';
        k += std::to_string(overload);
    }
    return k;
}

int number(const std::string& text) {
    int n = 0;
    std::from_chars(text.data(), text.data() + text.size(), n);
    return n;
}

bool declared(const DbObject& object) {
    return !object.fileName.empty();
}

// The objects a folder listed before the read, taken over by the rows that match them.
class Merger {
  public:
    Merger(std::initializer_list<const Folder*> folders, std::string projectPath)
        : projectPath_(std::move(projectPath)) {
        // Counted across the folders: a procedure and a function may share a name.
        for (const Folder* folder : folders) {
            for (auto& object : folder->objects) {
                std::string plain = key(object->schema, object->name);
                std::string k = key(object->schema, object->name, overloads_[plain]++);
                existing_[k] = object;
                if (!object->databaseId.empty())
                    byId_[object->databaseId] = k;
            }
        }
    }

    // The listed object of that name (the overload-th of its name), or a new one.
    std::shared_ptr<DbObject> take(const std::string& schema, const std::string& name, int overload = 0) {
        auto it = existing_.find(key(schema, name, overload));
        std::shared_ptr<DbObject> object;
        if (it != existing_.end()) {
            object = it->second;
            existing_.erase(it);
        } else {
            object = std::make_shared<DbObject>();
            object->schema = schema;
            object->name = name;
        }
        return object;
    }

    // The listed object the database knows by id, or nullptr.
    std::shared_ptr<DbObject> takeById(const std::string& id) {
        auto it = byId_.find(id);
        if (it == byId_.end())
            return nullptr;
        auto object = existing_.find(it->second);
        byId_.erase(it);
        if (object == existing_.end())
            return nullptr;
        auto taken = object->second;
        existing_.erase(object);
        return taken;
    }

    // A listed object of that type and name not yet tied to an id of the database (declared in
    // the project, or read before the database told overloads apart), the one with those
    // parameters first; or nullptr.
    std::shared_ptr<DbObject> takeUntied(int32_t type, const std::string& schema, const std::string& name,
                                         const std::string& parameters) {
        auto plain = overloads_.find(key(schema, name));
        if (plain == overloads_.end())
            return nullptr;
        std::string best;
        for (int overload = 0; overload < plain->second; ++overload) {
            auto it = existing_.find(key(schema, name, overload));
            if (it == existing_.end() || it->second->type != type || !it->second->databaseId.empty())
                continue;
            if (best.empty() || it->second->parameters == parameters)
                best = it->first;
            if (it->second->parameters == parameters)
                break;
        }
        if (best.empty())
            return nullptr;
        auto taken = existing_[best];
        existing_.erase(best);
        return taken;
    }

    // Makes found the folder's contents, with the declared objects the database lacked after them.
    void place(Catalogue& catalogue, Folder& folder, Objects found) {
        for (auto& object : found)
            object->dirty = declared(*object) && changedSinceBuild(*object, projectPath_);
        for (auto& [k, object] : existing_) {
            if (object->folder == &folder && declared(*object)) {
                object->dirty = true;
                object->databaseId.clear(); // gone from the database: the next build's routine takes it
                found.push_back(object);
            }
        }
        // What runs on the database is its SQL, whatever language the routine's body is in.
        if (folder.type == WK_OBJ_PROCEDURE_FOLDER || folder.type == WK_OBJ_FUNCTION_FOLDER)
            for (auto& object : found)
                if (object->language.empty())
                    object->language = "SQL";
        catalogue.replaceObjects(folder, std::move(found));
    }

  private:
    std::string projectPath_;
    std::unordered_map<std::string, std::shared_ptr<DbObject>> existing_;
    std::unordered_map<std::string, std::string> byId_; // id -> its key in existing_
    std::unordered_map<std::string, int> overloads_;    // schema and name -> objects listed
};

// Comments the database keeps, by object type, schema and name.
std::unordered_map<std::string, std::string> comments(LiveConnection& live) {
    std::unordered_map<std::string, std::string> all;
    std::string query = live.kind().commentsQuery();
    if (query.empty())
        return all;
    auto statement = live.db().statement();
    statement->execute(query);
    while (statement->fetch()) {
        std::string type = statement->textOr(1);
        std::string schema = statement->textOr(2);
        std::string name = statement->textOr(3);
        all[type + '\x1f' + key(schema, name)] = statement->textOr(4);
    }
    return all;
}

void comment(DbObject& object, const std::unordered_map<std::string, std::string>& comments) {
    auto it = comments.find(std::to_string(object.type) + '\x1f' + key(object.schema, object.name));
    if (it != comments.end())
        object.comment = it->second;
}

// What a routines query says of one routine, kept aside until the whole read has succeeded.
struct RoutineRow {
    bool procedure = false;
    std::string id, parameters, result, comment, signature, callArguments;
};

// The routines from the database kind's own query: one row per routine, overloads told apart by
// the database's id.
void readRoutinesByQuery(Catalogue& catalogue, Connection& connection, LiveConnection& live,
                         const std::string& path) {
    Folder& procedures = connection.folder(WK_OBJ_PROCEDURE_FOLDER);
    Folder& functions = connection.folder(WK_OBJ_FUNCTION_FOLDER);
    Merger merger({&procedures, &functions}, path);
    Objects found;
    std::vector<RoutineRow> rows;
    std::vector<size_t> untied; // rows no listed object has the id of
    auto statement = live.db().statement();
    statement->execute(live.kind().routinesQuery());
    while (statement->fetch()) {
        RoutineRow row{statement->textOr(4) == "p", statement->textOr(1), statement->textOr(5),
                       statement->textOr(6),        statement->textOr(7), statement->textOr(8),
                       statement->textOr(9)};
        auto object = merger.takeById(row.id);
        if (!object) {
            object = std::make_shared<DbObject>();
            object->schema = statement->textOr(2);
            object->name = statement->textOr(3);
            untied.push_back(found.size());
        }
        found.push_back(std::move(object));
        rows.push_back(std::move(row));
    }
    for (size_t i : untied)
        if (auto listed = merger.takeUntied(rows[i].procedure ? WK_OBJ_PROCEDURE : WK_OBJ_FUNCTION,
                                            found[i]->schema, found[i]->name, rows[i].parameters))
            found[i] = std::move(listed);

    Objects ofProcedures, ofFunctions;
    for (size_t i = 0; i < found.size(); ++i) {
        DbObject& routine = *found[i];
        RoutineRow& row = rows[i];
        routine.type = row.procedure ? WK_OBJ_PROCEDURE : WK_OBJ_FUNCTION;
        routine.specific = routine.name;
        routine.databaseId = std::move(row.id);
        routine.parameters = std::move(row.parameters);
        routine.result = std::move(row.result);
        routine.comment = std::move(row.comment);
        routine.signature = std::move(row.signature);
        routine.callArguments = std::move(row.callArguments);
        (row.procedure ? ofProcedures : ofFunctions).push_back(std::move(found[i]));
    }
    merger.place(catalogue, procedures, std::move(ofProcedures));
    merger.place(catalogue, functions, std::move(ofFunctions));
}

void readRoutines(Catalogue& catalogue, Connection& connection, LiveConnection& live,
                  const std::string& path) {
    if (!live.kind().routinesQuery().empty())
        return readRoutinesByQuery(catalogue, connection, live, path);
    Folder& procedures = connection.folder(WK_OBJ_PROCEDURE_FOLDER);
    Folder& functions = connection.folder(WK_OBJ_FUNCTION_FOLDER);
    Merger merger({&procedures, &functions}, path);
    // What the database says of each routine is kept aside until every call has succeeded, so a
    // failed read leaves the listed objects as they were.
    Objects found;
    std::vector<std::string> remarks;
    std::unordered_map<std::string, size_t> firstOf; // schema and name -> its first row in found
    auto statement = live.db().statement();
    statement->procedures();
    std::string lastKey;
    int overload = 0;
    while (statement->fetch()) {
        std::string schema = statement->textOr(2);
        if (live.kind().isSystemSchema(schema))
            continue;
        std::string name = statement->textOr(3);
        std::string plain = key(schema, name);
        overload = plain == lastKey ? overload + 1 : 0;
        lastKey = plain;
        firstOf.try_emplace(plain, found.size());
        found.push_back(merger.take(schema, name, overload));
        remarks.push_back(statement->textOr(7));
    }

    // One call for every routine's parameters; overloads follow each other, each starting again
    // at the lowest position.
    statement->procedureColumns();
    std::vector<std::string> parameters(found.size()), results(found.size());
    std::vector<char> isFunction(found.size(), 0);
    lastKey.clear();
    int group = 0, lastPosition = 0;
    while (statement->fetch()) {
        std::string schema = statement->textOr(2);
        std::string name = statement->textOr(3);
        std::string plain = key(schema, name);
        int position = number(statement->textOr(18));
        if (plain != lastKey)
            group = 0;
        else if (position <= lastPosition)
            ++group;
        lastKey = plain;
        lastPosition = position;
        auto it = firstOf.find(plain);
        if (it == firstOf.end() || it->second + group >= found.size())
            continue;
        size_t at = it->second + static_cast<size_t>(group);
        if (found[at]->schema != schema || found[at]->name != name)
            continue;
        int columnType = number(statement->textOr(5));
        std::string typeName = statement->textOr(7);
        if (columnType == SQL_RETURN_VALUE) {
            isFunction[at] = 1;
            results[at] = typeName;
        } else if (columnType != SQL_RESULT_COL) {
            const char* mode = columnType == SQL_PARAM_OUTPUT         ? "OUT "
                               : columnType == SQL_PARAM_INPUT_OUTPUT ? "INOUT "
                                                                      : "IN ";
            std::string& list = parameters[at];
            list += (list.empty() ? "" : ", ") + std::string(mode) + statement->textOr(4) + " " + typeName;
        }
    }

    auto notes = comments(live);
    Objects ofProcedures, ofFunctions;
    for (size_t i = 0; i < found.size(); ++i) {
        DbObject& routine = *found[i];
        routine.type = isFunction[i] ? WK_OBJ_FUNCTION : WK_OBJ_PROCEDURE;
        routine.specific = routine.name;
        routine.comment = std::move(remarks[i]);
        routine.parameters = "(" + parameters[i] + ")";
        routine.result = std::move(results[i]);
        comment(routine, notes);
        (found[i]->type == WK_OBJ_PROCEDURE ? ofProcedures : ofFunctions).push_back(std::move(found[i]));
    }
    merger.place(catalogue, procedures, std::move(ofProcedures));
    merger.place(catalogue, functions, std::move(ofFunctions));
}

void readTriggers(Catalogue& catalogue, Connection& connection, LiveConnection& live,
                  const std::string& path) {
    Folder& triggers = connection.folder(WK_OBJ_TRIGGER_FOLDER);
    Merger merger({&triggers}, path);
    Objects found;
    std::vector<std::array<std::string, 3>> read; // table schema, table name, source
    std::string query = live.kind().triggersQuery();
    std::unordered_map<std::string, std::string> notes;
    if (!query.empty()) {
        notes = comments(live);
        auto statement = live.db().statement();
        statement->execute(query);
        while (statement->fetch()) {
            found.push_back(merger.take(statement->textOr(1), statement->textOr(2)));
            read.push_back({statement->textOr(3), statement->textOr(4), statement->textOr(5)});
        }
    }
    for (size_t i = 0; i < found.size(); ++i) {
        DbObject& trigger = *found[i];
        trigger.type = WK_OBJ_TRIGGER;
        trigger.tableSchema = std::move(read[i][0]);
        trigger.tableName = std::move(read[i][1]);
        if (!declared(trigger))
            trigger.source = std::move(read[i][2]);
        comment(trigger, notes);
    }
    merger.place(catalogue, triggers, std::move(found));
}

void readTables(Catalogue& catalogue, Connection& connection, LiveConnection& live, const std::string& path) {
    Folder& tables = connection.folder(WK_OBJ_TABLE_FOLDER);
    Folder& views = connection.folder(WK_OBJ_VIEW_FOLDER);
    Merger merger({&tables, &views}, path);
    Objects ofTables, ofViews;
    std::vector<std::string> tableRemarks, viewRemarks;
    auto statement = live.db().statement();
    statement->tables("TABLE,VIEW");
    while (statement->fetch()) {
        std::string schema = statement->textOr(2);
        if (live.kind().isSystemSchema(schema))
            continue;
        auto object = merger.take(schema, statement->textOr(3));
        bool view = statement->textOr(4) == "VIEW";
        (view ? ofViews : ofTables).push_back(object);
        (view ? viewRemarks : tableRemarks).push_back(statement->textOr(5));
    }
    auto notes = comments(live);
    for (size_t i = 0; i < ofTables.size(); ++i) {
        ofTables[i]->type = WK_OBJ_TABLE;
        ofTables[i]->tableType = 1;
        ofTables[i]->comment = std::move(tableRemarks[i]);
        comment(*ofTables[i], notes);
    }
    for (size_t i = 0; i < ofViews.size(); ++i) {
        ofViews[i]->type = WK_OBJ_VIEW;
        ofViews[i]->tableType = 0;
        ofViews[i]->comment = std::move(viewRemarks[i]);
        comment(*ofViews[i], notes);
    }
    merger.place(catalogue, tables, std::move(ofTables));
    merger.place(catalogue, views, std::move(ofViews));
}

} // namespace

void read(Catalogue& catalogue, Connection& connection, int32_t folderType, const std::string& projectPath) {
    LiveConnection& live = *connection.link;
    if (folderType == WK_OBJ_PROCEDURE_FOLDER || folderType == WK_OBJ_FUNCTION_FOLDER)
        readRoutines(catalogue, connection, live, projectPath);
    else if (folderType == WK_OBJ_TRIGGER_FOLDER)
        readTriggers(catalogue, connection, live, projectPath);
    else
        readTables(catalogue, connection, live, projectPath);
}

void readAll(Catalogue& catalogue, Connection& connection, const std::string& projectPath) {
    for (int32_t folderType : {WK_OBJ_PROCEDURE_FOLDER, WK_OBJ_TRIGGER_FOLDER, WK_OBJ_TABLE_FOLDER})
        read(catalogue, connection, folderType, projectPath);
}

std::string fingerprint(const std::string& source) {
    uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : source) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

bool changedSinceBuild(DbObject& object, const std::string& projectPath) {
    std::string file = ProjectStore::sourcePath(projectPath, object);
    if (!file.empty() && FileSystem::exists(file)) {
        try {
            object.source = FileSystem::readFile(file);
        } catch (const FileSystem::Error&) {
            // keeps the source it had
        }
    }
    return !object.source || object.built != fingerprint(*object.source);
}

} // namespace standin::LiveCatalogue

#include "LiveCatalogue.h"

#include "FileSystem.h"
#include "LiveConnection.h"
#include "OdbcStatement.h"
#include "ProjectStore.h"

#include <charconv>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace standin::LiveCatalogue {

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
        for (const Folder* folder : folders) {
            std::unordered_map<std::string, int> seen;
            for (auto& object : folder->objects) {
                std::string plain = key(object->schema, object->name);
                existing_[key(object->schema, object->name, seen[plain]++)] = object;
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
        object->inDatabase = true;
        return object;
    }

    // Makes found the folder's contents, with the declared objects the database lacked after them.
    void place(Catalogue& catalogue, Folder& folder, Objects found) {
        for (auto& object : found)
            object->dirty = declared(*object) && changedSinceBuild(*object, projectPath_);
        for (auto& [k, object] : existing_) {
            if (object->folder == &folder && declared(*object)) {
                object->inDatabase = false;
                object->dirty = true;
                found.push_back(object);
            }
        }
        // What runs on the database is its SQL, whatever language the routine's body is in.
        if (folder.type == 7 || folder.type == 9)
            for (auto& object : found)
                if (object->language.empty())
                    object->language = "SQL";
        catalogue.replaceObjects(folder, std::move(found));
    }

  private:
    std::string projectPath_;
    std::unordered_map<std::string, std::shared_ptr<DbObject>> existing_;
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

void readRoutines(Catalogue& catalogue, Connection& connection, LiveConnection& live, const std::string& path) {
    Folder& procedures = connection.folder(7);
    Folder& functions = connection.folder(9);
    Merger merger({&procedures, &functions}, path);
    Objects found;
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
        auto object = merger.take(schema, name, overload);
        object->type = 8;
        object->specific = name;
        object->comment = statement->textOr(7);
        object->parameters.clear();
        object->result.clear();
        firstOf.try_emplace(plain, found.size());
        found.push_back(object);
    }

    // One call for every routine's parameters; overloads follow each other, each starting again
    // at the lowest position.
    statement->procedureColumns();
    std::vector<std::string> parameters(found.size());
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
        DbObject& routine = *found[at];
        if (routine.schema != schema || routine.name != name)
            continue;
        int columnType = number(statement->textOr(5));
        std::string typeName = statement->textOr(7);
        if (columnType == SQL_RETURN_VALUE) {
            routine.type = 10;
            routine.result = typeName;
        } else if (columnType != SQL_RESULT_COL) {
            const char* mode = columnType == SQL_PARAM_OUTPUT ? "OUT " : columnType == SQL_PARAM_INPUT_OUTPUT ? "INOUT " : "IN ";
            std::string& list = parameters[at];
            list += (list.empty() ? "" : ", ") + std::string(mode) + statement->textOr(4) + " " + typeName;
        }
    }

    auto notes = comments(live);
    Objects ofProcedures, ofFunctions;
    for (size_t i = 0; i < found.size(); ++i) {
        found[i]->parameters = "(" + parameters[i] + ")";
        comment(*found[i], notes);
        (found[i]->type == 8 ? ofProcedures : ofFunctions).push_back(std::move(found[i]));
    }
    merger.place(catalogue, procedures, std::move(ofProcedures));
    merger.place(catalogue, functions, std::move(ofFunctions));
}

void readTriggers(Catalogue& catalogue, Connection& connection, LiveConnection& live, const std::string& path) {
    Folder& triggers = connection.folder(11);
    Merger merger({&triggers}, path);
    Objects found;
    std::string query = live.kind().triggersQuery();
    if (!query.empty()) {
        auto notes = comments(live);
        auto statement = live.db().statement();
        statement->execute(query);
        while (statement->fetch()) {
            auto object = merger.take(statement->textOr(1), statement->textOr(2));
            object->type = 12;
            object->tableSchema = statement->textOr(3);
            object->tableName = statement->textOr(4);
            if (!declared(*object))
                object->source = statement->textOr(5);
            comment(*object, notes);
            found.push_back(object);
        }
    }
    merger.place(catalogue, triggers, std::move(found));
}

void readTables(Catalogue& catalogue, Connection& connection, LiveConnection& live, const std::string& path) {
    Folder& tables = connection.folder(13);
    Folder& views = connection.folder(15);
    Merger merger({&tables, &views}, path);
    Objects ofTables, ofViews;
    auto statement = live.db().statement();
    statement->tables("TABLE,VIEW");
    while (statement->fetch()) {
        std::string schema = statement->textOr(2);
        if (live.kind().isSystemSchema(schema))
            continue;
        auto object = merger.take(schema, statement->textOr(3));
        bool view = statement->textOr(4) == "VIEW";
        object->type = view ? 16 : 14;
        object->tableType = view ? 0 : 1;
        object->comment = statement->textOr(5);
        (view ? ofViews : ofTables).push_back(object);
    }
    auto notes = comments(live);
    for (auto* list : {&ofTables, &ofViews})
        for (auto& object : *list)
            comment(*object, notes);
    merger.place(catalogue, tables, std::move(ofTables));
    merger.place(catalogue, views, std::move(ofViews));
}

} // namespace

void read(Catalogue& catalogue, Connection& connection, int32_t folderType, const std::string& projectPath) {
    LiveConnection& live = *connection.link;
    if (folderType == 7 || folderType == 9)
        readRoutines(catalogue, connection, live, projectPath);
    else if (folderType == 11)
        readTriggers(catalogue, connection, live, projectPath);
    else
        readTables(catalogue, connection, live, projectPath);
}

void readAll(Catalogue& catalogue, Connection& connection, const std::string& projectPath) {
    for (int32_t folderType : {7, 11, 13})
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

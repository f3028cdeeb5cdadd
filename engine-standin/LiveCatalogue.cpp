#include "LiveCatalogue.h"

#include "FileSystem.h"
#include "LiveConnection.h"
#include "LiveWork.h"
#include "OdbcStatement.h"
#include "ProjectStore.h"

#include <charconv>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace standin::LiveCatalogue {

using namespace nimb::VSAConstants;

namespace {

using Objects = std::vector<std::shared_ptr<DbObject>>;

constexpr size_t none = static_cast<size_t>(-1);
// Objects written under the engine lock between two chances for a waiting call to take it.
constexpr size_t slice = 256;
// Merges that let waiting calls in. When the folders changed under each of them, the next one
// holds the lock throughout, so that a read always ends.
constexpr int pausingMerges = 3;

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

bool routineFolder(int32_t folderType) {
    return folderType == WK_OBJ_PROCEDURE_FOLDER || folderType == WK_OBJ_FUNCTION_FOLDER;
}

// Runs work without the engine lock, unless the merge holds it throughout.
void outside(bool pausing, const std::function<void()>& work) {
    if (pausing)
        LiveWork::unlocked(work);
    else
        work();
}

// What a read does with the fields a row gives: Write puts them into an object; Compare tells
// whether the object holds them already, so that an object that did not change is not touched
// under the lock.
struct Write {
    void operator()(std::string& to, const std::string& from) const {
        if (to != from)
            to = from;
    }
    void operator()(std::optional<std::string>& to, const std::string& from) const { to = from; }
    void operator()(int32_t& to, int32_t from) const { to = from; }
};
struct Compare {
    template <class T, class U> void operator()(const T& to, const U& from) {
        changed = changed || !(to == from);
    }
    bool changed = false;
};

// An object the folders listed before the read. Only the pointers are copied under the engine
// lock: a live connection's objects are written by nobody but its lane, so the lane reads their
// fields without the lock; what they hold is written under it, and only where it changed.
struct Listed {
    std::shared_ptr<DbObject> object;
    Folder* folder = nullptr;
    bool taken = false;                // by a row of the read
    std::optional<std::string> source; // of a declared one that was taken: its file as it is now
};

// One read's rows merged with what its folders listed. An object already listed is updated and
// keeps its handle; objects gone are retired; declared ones the database lacks stay, dirty. Most
// of the work runs without the engine lock, and under it a waiting call is let in every slice; the
// folders' contents change in one step, so that a walk of a folder sees it before or after the
// read, never half of it.
class Merger {
  public:
    Merger(std::vector<Folder*> folders, std::string projectPath, bool pausing)
        : folders_(std::move(folders)), projectPath_(std::move(projectPath)), pausing_(pausing) {}

    bool pausing() const { return pausing_; }

    // Under the lock: what the folders list. False when they changed meanwhile.
    bool copy() {
        generation_ = generation();
        size_t total = 0;
        for (Folder* folder : folders_)
            total += folder->objects.size();
        listed_.reserve(total);
        for (Folder* folder : folders_) {
            for (size_t i = 0; i < folder->objects.size(); ++i) {
                listed_.push_back({folder->objects[i], folder, false, std::nullopt});
                if (listed_.size() % copySlice == 0 && !pause())
                    return false;
            }
        }
        return true;
    }

    // Without the lock: the lookups by name and id.
    void index() {
        // Counted across the folders: a procedure and a function may share a name.
        for (size_t i = 0; i < listed_.size(); ++i) {
            const DbObject& object = *listed_[i].object;
            std::string plain = key(object.schema, object.name);
            existing_[key(object.schema, object.name, overloads_[plain]++)] = i;
            if (!object.databaseId.empty())
                byId_[object.databaseId] = i;
        }
    }

    // The listed object of that name (the overload-th of its name), or none.
    size_t take(const std::string& schema, const std::string& name, int overload = 0) {
        auto it = existing_.find(key(schema, name, overload));
        return it == existing_.end() ? none : taking(it->second);
    }

    // The listed object the database knows by id, or none.
    size_t takeById(const std::string& id) {
        auto it = byId_.find(id);
        return it == byId_.end() ? none : taking(it->second);
    }

    // A listed object of that type and name not yet tied to an id of the database (declared in
    // the project, or read before the database told overloads apart), the one with those
    // parameters first; or none.
    size_t takeUntied(int32_t type, const std::string& schema, const std::string& name,
                      const std::string& parameters) {
        auto plain = overloads_.find(key(schema, name));
        if (plain == overloads_.end())
            return none;
        size_t best = none;
        for (int overload = 0; overload < plain->second; ++overload) {
            size_t i = existing_.at(key(schema, name, overload));
            const DbObject& object = *listed_[i].object;
            if (listed_[i].taken || object.type != type || !object.databaseId.empty())
                continue;
            if (best == none || object.parameters == parameters)
                best = i;
            if (object.parameters == parameters)
                break;
        }
        return best == none ? none : taking(best);
    }

    // Without the lock: each folder's new contents from the rows, of which at gives the listed
    // object each one took (none: a new object, made here); the objects that stay and differ from
    // their rows; the declared ones' source files read again. fields(object, row, op) hands op
    // each field a row gives and the object's field it goes to.
    template <class Row, class Fields>
    void prepare(const std::vector<Row>& rows, std::vector<size_t> at, Fields fields) {
        at_ = std::move(at);
        contents_.resize(folders_.size());
        entering_.resize(folders_.size());
        made_.resize(folders_.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            size_t f = folderIndex(rows[i].folderType);
            std::shared_ptr<DbObject> object;
            if (at_[i] == none) {
                object = std::make_shared<DbObject>();
                Write write;
                fields(*object, rows[i], write);
                made_[f].push_back(object);
            } else {
                Listed& listed = listed_[at_[i]];
                object = listed.object;
                if (listed.folder != folders_[f])
                    entering_[f].push_back(object);
                Compare compare;
                fields(*object, rows[i], compare);
                if (compare.changed || (object->dirty && !declared(*object)))
                    changed_.push_back(i);
            }
            contents_[f].push_back(std::move(object));
        }
        for (size_t i = 0; i < listed_.size(); ++i) {
            Listed& listed = listed_[i];
            if (!declared(*listed.object)) {
                if (!listed.taken)
                    leaving_.push_back(listed.object);
                continue;
            }
            declared_.push_back(i);
            if (!listed.taken) {
                contents_[folderIndex(listed.folder->type)].push_back(listed.object); // after those found
                continue;
            }
            std::string file = ProjectStore::sourcePath(projectPath_, *listed.object);
            if (!file.empty() && FileSystem::exists(file)) {
                try {
                    listed.source = FileSystem::readFile(file);
                } catch (const FileSystem::Error&) {
                    // keeps the source it had
                }
            }
        }
    }

    // Under the lock: the objects that stay written where they differ from their rows, a waiting
    // call let in every slice; then the folders' contents replaced in one step. False, with no
    // folder replaced, when the folders changed meanwhile.
    template <class Row, class Fields>
    bool place(Catalogue& catalogue, const std::vector<Row>& rows, Fields fields) {
        if (generation() != generation_)
            return false;
        size_t n = 0;
        for (size_t i : changed_) {
            DbObject& object = *listed_[at_[i]].object;
            Write write;
            fields(object, rows[i], write);
            if (!declared(object))
                object.dirty = false;
            if (++n % slice == 0 && !pause())
                return false;
        }
        Objects admitted;
        for (size_t f = 0; f < folders_.size(); ++f) {
            for (auto& object : made_[f]) {
                catalogue.admit(*folders_[f], object);
                admitted.push_back(object);
                if (admitted.size() % slice == 0 && !pause()) {
                    catalogue.retireObjects(admitted);
                    return false;
                }
            }
        }
        for (size_t i : declared_) {
            Listed& listed = listed_[i];
            DbObject& object = *listed.object;
            if (listed.taken) {
                if (listed.source)
                    object.source = std::move(listed.source);
                object.dirty = !object.source || object.built != fingerprint(*object.source);
                continue;
            }
            object.dirty = true;
            object.databaseId.clear(); // gone from the database: the next build's routine takes it
            // What runs on the database is its SQL, whatever language the routine's body is in.
            if (routineFolder(listed.folder->type) && object.language.empty())
                object.language = "SQL";
        }
        catalogue.retireObjects(leaving_);
        for (size_t f = 0; f < folders_.size(); ++f)
            old_.push_back(catalogue.replaceObjects(*folders_[f], std::move(contents_[f]), entering_[f]));
        return true;
    }

  private:
    // Objects copied under the lock between two chances for a waiting call (a pointer each).
    static constexpr size_t copySlice = 4096;

    uint64_t generation() const {
        uint64_t sum = 0;
        for (const Folder* folder : folders_)
            sum += folder->generation;
        return sum;
    }

    // Lets a waiting call take the lock; false when the folders changed meanwhile.
    bool pause() {
        if (!pausing_)
            return true;
        LiveWork::pause();
        return generation() == generation_;
    }

    size_t taking(size_t i) {
        if (listed_[i].taken)
            return none;
        listed_[i].taken = true;
        return i;
    }

    size_t folderIndex(int32_t folderType) const {
        for (size_t f = 0; f < folders_.size(); ++f)
            if (folders_[f]->type == folderType)
                return f;
        throw std::logic_error("a row for a folder the read does not fill");
    }

    std::vector<Folder*> folders_;
    std::string projectPath_;
    bool pausing_;
    uint64_t generation_ = 0;
    std::vector<Listed> listed_;
    std::unordered_map<std::string, size_t> existing_; // schema, name and overload -> listed
    std::unordered_map<std::string, size_t> byId_;     // the database's id -> listed
    std::unordered_map<std::string, int> overloads_;   // schema and name -> objects listed
    std::vector<size_t> at_;                           // per row: the listed object it took, or none
    std::vector<size_t> changed_;                      // rows whose listed object is to be written
    std::vector<size_t> declared_;                     // listed objects declared in the project
    // Per folder: its new contents; the objects new to the catalogue; those moved from the other
    // folder; its old contents.
    std::vector<Objects> contents_, made_, entering_, old_;
    Objects leaving_;
};

// Merges rows (each naming its folder by folderType) into folders: match(merger, rows) gives the
// listed object each row takes (or none), fields(object, row, op) what a row says of an object.
// The rows stay as they are, so that a merge whose folders changed under it can start again.
template <class Row, class Match, class Fields>
void merge(Catalogue& catalogue, std::vector<Folder*> folders, const std::string& projectPath,
           const std::vector<Row>& rows, Match match, Fields fields) {
    for (int attempt = 0;; ++attempt) {
        auto merger = std::make_unique<Merger>(folders, projectPath, attempt < pausingMerges);
        bool placed = merger->copy();
        if (placed) {
            outside(merger->pausing(), [&] {
                merger->index();
                merger->prepare(rows, match(*merger, rows), fields);
            });
            placed = merger->place(catalogue, rows, fields);
        }
        // The lookups and the folders' old contents are many: they are freed without the lock.
        outside(merger->pausing(), [&] { merger.reset(); });
        if (placed)
            return;
    }
}

// Frees a read's rows without the lock.
template <class Row> void release(std::vector<Row>& rows) {
    LiveWork::unlocked([&] { std::vector<Row>().swap(rows); });
}

// Comments the database keeps, by object type, schema and name.
using Comments = std::unordered_map<std::string, std::string>;

Comments comments(LiveConnection& live) {
    Comments all;
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

const std::string* comment(const Comments& comments, int32_t objectType, const std::string& schema,
                           const std::string& name) {
    auto it = comments.find(std::to_string(objectType) + '\x1f' + key(schema, name));
    return it == comments.end() ? nullptr : &it->second;
}

// What the database says of a routine.
struct RoutineRow {
    int32_t folderType = WK_OBJ_PROCEDURE_FOLDER;
    std::string schema, name, id, parameters, result, comment, signature, callArguments;
    int overload = 0; // the overload-th routine of its name, where the database gives no ids
};

// A routine's schema and name, which is also its specific name.
template <class Op> void named(DbObject& routine, const RoutineRow& row, Op& op) {
    op(routine.schema, row.schema);
    op(routine.name, row.name);
    op(routine.specific, row.name);
}

// What runs on the database is its SQL, whatever language the routine's body is in.
template <class Op> void sql(DbObject& routine, Op& op) {
    static const std::string language = "SQL";
    if (routine.language.empty())
        op(routine.language, language);
}

// The routines from the database kind's own query: one row per routine, overloads told apart by
// the database's id.
void readRoutinesByQuery(Catalogue& catalogue, Connection& connection, LiveConnection& live,
                         const std::string& path) {
    std::vector<RoutineRow> rows;
    LiveWork::unlocked([&] {
        auto statement = live.db().statement();
        statement->execute(live.kind().routinesQuery());
        while (statement->fetch()) {
            RoutineRow& row = rows.emplace_back();
            row.folderType = statement->textOr(4) == "p" ? WK_OBJ_PROCEDURE_FOLDER : WK_OBJ_FUNCTION_FOLDER;
            row.id = statement->textOr(1);
            row.schema = statement->textOr(2);
            row.name = statement->textOr(3);
            row.parameters = statement->textOr(5);
            row.result = statement->textOr(6);
            row.comment = statement->textOr(7);
            row.signature = statement->textOr(8);
            row.callArguments = statement->textOr(9);
        }
    });
    auto match = [](Merger& merger, const std::vector<RoutineRow>& rows) {
        std::vector<size_t> at(rows.size(), none);
        std::vector<size_t> untied; // rows no listed object has the id of
        for (size_t i = 0; i < rows.size(); ++i)
            if ((at[i] = merger.takeById(rows[i].id)) == none)
                untied.push_back(i);
        for (size_t i : untied)
            at[i] =
                merger.takeUntied(rows[i].folderType + 1, rows[i].schema, rows[i].name, rows[i].parameters);
        return at;
    };
    auto fields = [](DbObject& routine, const RoutineRow& row, auto& op) {
        named(routine, row, op); // a routine renamed keeps its id
        op(routine.databaseId, row.id);
        op(routine.parameters, row.parameters);
        op(routine.result, row.result);
        op(routine.comment, row.comment);
        op(routine.signature, row.signature);
        op(routine.callArguments, row.callArguments);
        sql(routine, op);
    };
    merge(catalogue,
          {&connection.folder(WK_OBJ_PROCEDURE_FOLDER), &connection.folder(WK_OBJ_FUNCTION_FOLDER)}, path,
          rows, match, fields);
    release(rows);
}

// The routines from the driver's catalogue calls.
std::vector<RoutineRow> catalogueRoutines(LiveConnection& live) {
    std::vector<RoutineRow> rows;
    std::unordered_map<std::string, size_t> firstOf; // schema and name -> its first row
    auto statement = live.db().statement();
    statement->procedures();
    std::string lastKey;
    int overload = 0;
    while (statement->fetch()) {
        std::string schema = statement->textOr(2);
        if (live.kind().isSystemSchema(schema))
            continue;
        RoutineRow& row = rows.emplace_back();
        row.schema = std::move(schema);
        row.name = statement->textOr(3);
        row.comment = statement->textOr(7);
        std::string plain = key(row.schema, row.name);
        overload = plain == lastKey ? overload + 1 : 0;
        row.overload = overload;
        lastKey = plain;
        firstOf.try_emplace(plain, rows.size() - 1);
    }

    // One call for every routine's parameters; overloads follow each other, each starting again
    // at the lowest position.
    statement->procedureColumns();
    std::vector<std::string> parameters(rows.size());
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
        if (it == firstOf.end() || it->second + group >= rows.size())
            continue;
        RoutineRow& row = rows[it->second + static_cast<size_t>(group)];
        if (row.schema != schema || row.name != name)
            continue;
        int columnType = number(statement->textOr(5));
        std::string typeName = statement->textOr(7);
        if (columnType == SQL_RETURN_VALUE) {
            row.folderType = WK_OBJ_FUNCTION_FOLDER;
            row.result = typeName;
        } else if (columnType != SQL_RESULT_COL) {
            const char* mode = columnType == SQL_PARAM_OUTPUT         ? "OUT "
                               : columnType == SQL_PARAM_INPUT_OUTPUT ? "INOUT "
                                                                      : "IN ";
            std::string& list = parameters[&row - rows.data()];
            list += (list.empty() ? "" : ", ") + std::string(mode) + statement->textOr(4) + " " + typeName;
        }
    }

    auto notes = comments(live);
    for (size_t i = 0; i < rows.size(); ++i) {
        RoutineRow& row = rows[i];
        row.parameters = "(" + parameters[i] + ")";
        if (auto note = comment(notes, row.folderType + 1, row.schema, row.name))
            row.comment = *note;
    }
    return rows;
}

void readRoutines(Catalogue& catalogue, Connection& connection, LiveConnection& live,
                  const std::string& path) {
    if (!live.kind().routinesQuery().empty())
        return readRoutinesByQuery(catalogue, connection, live, path);
    // What the database says of each routine is kept aside until every call has succeeded, so a
    // failed read leaves the listed objects as they were.
    std::vector<RoutineRow> rows;
    LiveWork::unlocked([&] { rows = catalogueRoutines(live); });
    auto match = [](Merger& merger, const std::vector<RoutineRow>& rows) {
        std::vector<size_t> at(rows.size());
        for (size_t i = 0; i < rows.size(); ++i)
            at[i] = merger.take(rows[i].schema, rows[i].name, rows[i].overload);
        return at;
    };
    auto fields = [](DbObject& routine, const RoutineRow& row, auto& op) {
        named(routine, row, op);
        op(routine.comment, row.comment);
        op(routine.parameters, row.parameters);
        op(routine.result, row.result);
        sql(routine, op);
    };
    merge(catalogue,
          {&connection.folder(WK_OBJ_PROCEDURE_FOLDER), &connection.folder(WK_OBJ_FUNCTION_FOLDER)}, path,
          rows, match, fields);
    release(rows);
}

// A trigger, or a table or view.
struct ObjectRow {
    int32_t folderType = 0;
    std::string schema, name, tableSchema, tableName, source;
    std::optional<std::string> comment; // a trigger keeps the one it had when the database has none
};

// Matched by schema and name.
std::vector<size_t> matchByName(Merger& merger, const std::vector<ObjectRow>& rows) {
    std::vector<size_t> at(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        at[i] = merger.take(rows[i].schema, rows[i].name);
    return at;
}

void readTriggers(Catalogue& catalogue, Connection& connection, LiveConnection& live,
                  const std::string& path) {
    std::vector<ObjectRow> rows;
    std::string query = live.kind().triggersQuery();
    if (!query.empty()) {
        LiveWork::unlocked([&] {
            auto notes = comments(live);
            auto statement = live.db().statement();
            statement->execute(query);
            while (statement->fetch()) {
                ObjectRow& row = rows.emplace_back();
                row.folderType = WK_OBJ_TRIGGER_FOLDER;
                row.schema = statement->textOr(1);
                row.name = statement->textOr(2);
                row.tableSchema = statement->textOr(3);
                row.tableName = statement->textOr(4);
                row.source = statement->textOr(5);
                if (auto note = comment(notes, WK_OBJ_TRIGGER, row.schema, row.name))
                    row.comment = *note;
            }
        });
    }
    auto fields = [](DbObject& trigger, const ObjectRow& row, auto& op) {
        op(trigger.schema, row.schema);
        op(trigger.name, row.name);
        op(trigger.tableSchema, row.tableSchema);
        op(trigger.tableName, row.tableName);
        if (!declared(trigger))
            op(trigger.source, row.source);
        if (row.comment)
            op(trigger.comment, *row.comment);
    };
    merge(catalogue, {&connection.folder(WK_OBJ_TRIGGER_FOLDER)}, path, rows, matchByName, fields);
    release(rows);
}

void readTables(Catalogue& catalogue, Connection& connection, LiveConnection& live, const std::string& path) {
    std::vector<ObjectRow> rows;
    LiveWork::unlocked([&] {
        auto statement = live.db().statement();
        statement->tables("TABLE,VIEW");
        while (statement->fetch()) {
            std::string schema = statement->textOr(2);
            if (live.kind().isSystemSchema(schema))
                continue;
            ObjectRow& row = rows.emplace_back();
            row.folderType = statement->textOr(4) == "VIEW" ? WK_OBJ_VIEW_FOLDER : WK_OBJ_TABLE_FOLDER;
            row.schema = std::move(schema);
            row.name = statement->textOr(3);
            row.comment = statement->textOr(5);
        }
        auto notes = comments(live);
        for (ObjectRow& row : rows)
            if (auto note = comment(notes, row.folderType + 1, row.schema, row.name))
                row.comment = *note;
    });
    auto fields = [](DbObject& object, const ObjectRow& row, auto& op) {
        op(object.schema, row.schema);
        op(object.name, row.name);
        op(object.tableType, row.folderType == WK_OBJ_TABLE_FOLDER ? 1 : 0);
        op(object.comment, *row.comment);
    };
    merge(catalogue, {&connection.folder(WK_OBJ_TABLE_FOLDER), &connection.folder(WK_OBJ_VIEW_FOLDER)}, path,
          rows, matchByName, fields);
    release(rows);
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

#include "ActionDispatcher.h"

#include "AdoCodeGen.h"
#include "Caseless.h"
#include "ConnectionString.h"
#include "Engine.h"
#include "FileSystem.h"
#include "LiveActions.h"
#include "TextTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

namespace standin::ActionDispatcher {

using namespace nimb::VSAConstants;

namespace {

using TextTable::format;

constexpr uint32_t bit(int32_t type) {
    return 1u << type;
}
constexpr uint32_t PROJECT = bit(WK_OBJ_PROJECT);
constexpr uint32_t CONNECTION = bit(WK_OBJ_CONNECTION);
constexpr uint32_t FOLDERS = bit(WK_OBJ_PROCEDURE_FOLDER) | bit(WK_OBJ_FUNCTION_FOLDER) |
                             bit(WK_OBJ_TRIGGER_FOLDER) | bit(WK_OBJ_TABLE_FOLDER) | bit(WK_OBJ_VIEW_FOLDER);
constexpr uint32_t ROUTINES = bit(WK_OBJ_PROCEDURE) | bit(WK_OBJ_FUNCTION);
constexpr uint32_t TRIGGER = bit(WK_OBJ_TRIGGER);
constexpr uint32_t DATA = bit(WK_OBJ_TABLE) | bit(WK_OBJ_VIEW);
constexpr uint32_t OBJECTS = ROUTINES | TRIGGER | DATA;
constexpr uint32_t ANY = PROJECT | CONNECTION | FOLDERS | OBJECTS;

using Handler = void (*)(Engine&, const Located&, int32_t code);

struct Rule {
    int32_t code;
    int32_t captionId; // the menu caption that names the action in messages
    uint32_t targets;
    bool needsConnection;
    Handler handler;
};

std::string text(int32_t id) {
    const std::string* t = TextTable::find(id);
    return t ? *t : std::string();
}

std::string yesNo(bool value) {
    return text(value ? TextTable::Yes : TextTable::No);
}

std::string describe(const Located& at) {
    if (at.object)
        return std::string(objectWord(at.type)) + " " + at.object->qualifiedName();
    if (at.folder)
        return text(426 + (at.type - WK_OBJ_PROCEDURE_FOLDER) / 2) + " of " + at.connection->database;
    if (at.connection)
        return "the connection " + at.connection->database;
    return "the engine project " + at.project->name;
}

std::string sourceTemplate(const DbObject& o) {
    std::string name = o.qualifiedName();
    if (o.type == WK_OBJ_PROCEDURE)
        return "CREATE PROCEDURE " + name + " ()\nLANGUAGE SQL\nBEGIN\n  -- statements\nEND\n";
    if (o.type == WK_OBJ_FUNCTION)
        return "CREATE FUNCTION " + name + " ()\nRETURNS INTEGER\nLANGUAGE SQL\nRETURN 0\n";
    std::string table = o.tableName.empty() ? "<table>" : o.tableSchema + "." + o.tableName;
    return "CREATE TRIGGER " + name + "\nAFTER INSERT ON " + table + "\nFOR EACH ROW\nBEGIN ATOMIC\nEND\n";
}

// A source file name for a new routine that no routine of the project uses and no file occupies.
std::string uniqueSourceFile(const Project& project, const std::string& name, const std::string& extension) {
    auto taken = [&](const std::string& file) {
        for (auto& connection : project.connections)
            for (auto& folder : connection->folders)
                for (auto& object : folder->objects)
                    if (object->fileName == file)
                        return true;
        return FileSystem::exists(FileSystem::join(FileSystem::directoryOf(project.path), file));
    };
    std::string stem = "src/" + AdoCodeGen::vbIdentifier(name);
    std::string file = stem + extension;
    for (int n = 2; taken(file); ++n)
        file = stem + "_" + std::to_string(n) + extension;
    return file;
}

void addObject(Engine& engine, Folder& folder, std::shared_ptr<DbObject> object) {
    engine.catalogue.addObject(folder, object);
    // A listing of the folder still waiting in the queue will show the new object; reporting it
    // as added as well would hand the add-in the same object twice.
    if (engine.queue.pending(5, folder.hdl)) return;
    engine.notify(8, *engine.catalogue.locate(object->hdl));
}

std::shared_ptr<DbObject> newObject(const Located& at, const std::string& stemWord) {
    Folder& folder = *at.folder;
    auto o = std::make_shared<DbObject>();
    o->type = folder.objectType();
    o->name = Catalogue::uniqueName(folder, stemWord + "_" + upper(objectWord(o->type)));
    o->schema = folder.objects.empty() ? "APP" : folder.objects.front()->schema;
    if (o->type == WK_OBJ_TABLE)
        o->tableSpace = "USERSPACE1";
    if (o->type == WK_OBJ_TRIGGER) {
        const auto& tables = at.connection->folder(WK_OBJ_TABLE_FOLDER).objects;
        if (!tables.empty()) {
            o->tableSchema = tables.front()->schema;
            o->tableName = tables.front()->name;
        }
    }
    if (o->hasSource()) {
        o->language = "SQL";
        o->specific = o->name;
        if (o->type != WK_OBJ_TRIGGER)
            o->parameters = "()";
        if (o->type == WK_OBJ_FUNCTION)
            o->result = "INTEGER";
        o->fileName = uniqueSourceFile(*at.project, o->name, ".sql");
        o->source = sourceTemplate(*o);
    }
    return o;
}

// ---- The handlers, one per action -------------------------------------------------------------

void save(Engine& engine, const Located& at, int32_t) {
    if (engine.saveProject(at.project->path))
        engine.message(format(TextTable::Saved, {at.project->name, at.project->path}));
}

bool live(const Located& at) {
    return at.connection && at.connection->live;
}

void connect(Engine& engine, const Located& at, int32_t code) {
    if (live(at))
        return code == 7 ? LiveActions::connect(engine, at) : LiveActions::disconnect(engine, at);
    at.connection->connected = code == 7;
    engine.notify(6, at);
}

void add(Engine& engine, const Located& at, int32_t) {
    if (at.type != WK_OBJ_PROJECT) {
        auto o = newObject(at, "NEW");
        o->dirty = o->hasSource();
        return addObject(engine, *at.folder, o);
    }
    auto connection = std::make_shared<Connection>();
    connection->database = Catalogue::uniqueDatabase(*at.project, "NEWDB");
    connection->connectionString = "DATABASE=" + connection->database;
    engine.catalogue.addConnection(connection);
    engine.notify(8, *engine.catalogue.locate(connection->hdl));
}

void import(Engine& engine, const Located& at, int32_t) {
    auto o = newObject(at, "IMPORTED");
    o->comment = "Imported from " + at.connection->database;
    addObject(engine, *at.folder, o);
    engine.message(format(TextTable::Imported, {o->qualifiedName(), at.connection->database}));
}

void refresh(Engine& engine, const Located& at, int32_t code) {
    if (code == 11)
        at.folder->filtered = !at.folder->filtered;
    if (code == 10 && live(at) && at.connection->connected)
        return LiveActions::refresh(engine, at);
    engine.notify(5, at);
}

std::string propertyList(Engine& engine, const Located& at) {
    std::vector<std::pair<std::string, std::string>> rows;
    auto add = [&](int32_t labelId, const std::string& value) {
        if (!value.empty())
            rows.emplace_back(text(labelId), value);
    };
    if (at.object) {
        const DbObject& o = *at.object;
        bool routine = o.type == WK_OBJ_PROCEDURE || o.type == WK_OBJ_FUNCTION;
        add(501, o.schema);
        add(503, o.specific);
        add(506, o.parameters);
        add(510, o.result);
        add(504, o.language);
        add(508, o.sqlPackage);
        if (o.type == WK_OBJ_PROCEDURE)
            add(507, std::to_string(o.resultSets));
        if (routine)
            add(505, yesNo(o.fenced));
        if (o.type == WK_OBJ_TRIGGER)
            add(511, o.tableSchema.empty() ? o.tableName : o.tableSchema + "." + o.tableName);
        add(513, o.tableSpace);
        if (o.type == WK_OBJ_TABLE)
            add(514, std::to_string(o.tableType));
        add(502, o.comment);
        add(TextTable::LabelSourceFile, engine.sourcePathOf(o));
        if (o.hasSource())
            add(TextTable::LabelChanged, yesNo(o.dirty));
        if (o.hasSource())
            add(TextTable::LabelDebug, yesNo(o.canDebug));
    } else if (at.folder) {
        add(TextTable::LabelObjects, std::to_string(at.folder->objects.size()));
        add(TextTable::LabelFiltered, yesNo(at.folder->filtered));
    } else if (at.connection) {
        add(TextTable::LabelConnected, yesNo(at.connection->connected));
        add(TextTable::LabelConnectionString,
            ConnectionString::withoutPassword(at.connection->connectionString));
    } else {
        add(TextTable::LabelFile, at.project->path);
        add(TextTable::LabelConnections, std::to_string(at.project->connections.size()));
    }
    std::string list;
    for (auto& [label, value] : rows)
        list += (list.empty() ? "" : "\n") + label + ": " + value;
    return list;
}

void properties(Engine& engine, const Located& at, int32_t) {
    engine.message(format(TextTable::Properties, {describe(at), propertyList(engine, at)}));
}

void editSource(Engine& engine, const Located& at, int32_t) {
    if (live(at) && at.connection->connected && !LiveActions::loadSource(engine, at))
        return;
    if (live(at) && at.object->fileName.empty() && at.object->source) // from now on declared in the project
        at.object->fileName = uniqueSourceFile(*at.project, at.object->name, ".sql");
    at.object->dirty = true;
    engine.notify(6, at);
    engine.message(
        format(TextTable::EditingSource, {at.object->qualifiedName(), engine.sourcePathOf(*at.object)}));
}

void viewSource(Engine& engine, const Located& at, int32_t) {
    if (live(at) && at.connection->connected && !LiveActions::loadSource(engine, at))
        return;
    const DbObject& o = *at.object;
    std::string path = engine.sourcePathOf(o);
    if (!o.source)
        return engine.message(format(TextTable::SourceMissing, {o.qualifiedName(), path}));
    engine.message(format(TextTable::SourceView, {o.qualifiedName(), path, *o.source}));
}

void runSettings(Engine& engine, const Located& at, int32_t) {
    const DbObject& o = *at.object;
    engine.message(
        format(TextTable::RunSettings, {o.qualifiedName(), o.parameters.empty() ? "()" : o.parameters,
                                        std::to_string(o.resultSets)}));
}

void run(Engine& engine, const Located& at, int32_t code) {
    if (live(at))
        return LiveActions::run(engine, at, code);
    const DbObject& o = *at.object;
    bool debug = code == 17;
    if (debug && !o.canDebug)
        return engine.message(format(TextTable::NoDebugInfo, {o.qualifiedName()}));
    engine.queue.command("MINIMIZE_MSWIN");
    engine.queue.command("WK_TASK_COMPLETE");
    engine.message(format(debug ? TextTable::RanWithDebug : TextTable::Ran,
                          {o.qualifiedName(), std::to_string(o.resultSets)}));
}

void build(Engine& engine, const Located& at, int32_t code) {
    DbObject& o = *at.object;
    std::string language = upper(o.language);
    bool buildable = language == "SQL" || language == "JAVA" || language == "COMPJAVA" ||
                     (o.type == WK_OBJ_TRIGGER && language.empty());
    if (!buildable)
        return engine.message(format(TextTable::CannotBuildLanguage, {o.qualifiedName(), o.language}));
    if (live(at))
        return LiveActions::build(engine, at);
    o.dirty = false;
    o.canDebug = code == 19;
    engine.notify(6, at);
    engine.message(format(code == 19 ? TextTable::BuiltWithDebug : TextTable::Built, {o.qualifiedName()}));
}

void sampleContents(Engine& engine, const Located& at, int32_t) {
    if (live(at))
        return LiveActions::sampleContents(engine, at);
    const DbObject& o = *at.object;
    if (o.sampleRows.empty())
        return engine.message(format(TextTable::NoSampleRows, {o.qualifiedName()}));
    std::string rows;
    for (auto& row : o.sampleRows)
        rows += (rows.empty() ? "" : "\n") + row;
    engine.message(format(TextTable::SampleRows, {o.qualifiedName(), rows}));
}

void remove(Engine& engine, const Located& at, int32_t) {
    engine.notify(7, at);
    if (at.object)
        engine.catalogue.removeObject(*at.object);
    else if (at.connection)
        engine.removeConnection(at.connection);
    else
        engine.closeProject();
}

void drop(Engine& engine, const Located& at, int32_t) {
    TextItem question;
    question.text = format(TextTable::DropQuestion, {at.object->qualifiedName(), at.connection->database});
    question.type = 1;
    question.buttons = "IDE_QUESTION#67#" + text(420);
    question.onYes = PendingAction{22, at.object->hdl};
    engine.queue.pushText(std::move(question));
}

void paste(Engine& engine, const Located& at, int32_t) {
    Folder& folder = *at.folder;
    auto& clip = engine.clipboard;
    if (!clip || clip->type != folder.objectType())
        return engine.message(format(TextTable::NothingToPaste, {describe(at)}));
    auto copy = std::make_shared<DbObject>(*clip);
    copy->name = Catalogue::uniqueName(folder, clip->name);
    if (copy->hasSource()) {
        size_t dot = clip->fileName.rfind('.');
        std::string extension = dot == std::string::npos ? ".sql" : clip->fileName.substr(dot);
        copy->fileName = uniqueSourceFile(*at.project, copy->name, extension);
        copy->dirty = true;
    }
    addObject(engine, folder, copy);
}

void copy(Engine& engine, const Located& at, int32_t) {
    engine.clipboard = std::make_shared<DbObject>(*at.object);
    engine.clipboard->hdl = 0;
    engine.clipboard->folder = nullptr;
    engine.message(format(TextTable::Copied, {at.object->qualifiedName()}));
}

void showAdoCode(Engine& engine, const Located& at, int32_t) {
    std::string shown = ConnectionString::withoutPassword(at.connection->connectionString);
    std::string code = at.object ? AdoCodeGen::commandCode(shown, *at.object)
                                 : AdoCodeGen::connectionCode(at.connection->database, shown);
    engine.message(format(TextTable::AdoCodeShown, {describe(at), code}));
}

void showDEConnection(Engine& engine, const Located& at, int32_t) {
    engine.message(format(
        TextTable::DEConnectionShown,
        {at.connection->database, ConnectionString::withoutPassword(at.connection->connectionString)}));
}

void showDECommand(Engine& engine, const Located& at, int32_t) {
    engine.message(
        format(TextTable::DECommandShown, {at.object->qualifiedName(), AdoCodeGen::commandText(*at.object)}));
}

const std::array<Rule, 24> rules{{
    {3, 439, PROJECT, false, save},
    {7, 408, CONNECTION, false, connect},
    {8, 409, CONNECTION, false, connect},
    {9, 406, PROJECT | FOLDERS, false, add},
    {10, 402, FOLDERS, false, refresh},
    {11, 425, FOLDERS, false, refresh},
    {12, 407, FOLDERS, true, import},
    {13, 411, ANY, false, properties},
    {14, 444, ROUTINES | TRIGGER, false, editSource},
    {15, 419, ROUTINES, false, runSettings},
    {16, 417, ROUTINES, true, run},
    {17, 418, ROUTINES, true, run},
    {18, 415, ROUTINES | TRIGGER, true, build},
    {19, 416, ROUTINES | TRIGGER, true, build},
    {20, 424, DATA, true, sampleContents},
    {21, 410, PROJECT | CONNECTION | OBJECTS, false, remove},
    {22, 420, OBJECTS, true, drop},
    {23, 405, FOLDERS, false, paste},
    {24, 421, OBJECTS, false, copy},
    {25, 414, ROUTINES | TRIGGER, false, viewSource},
    {26, 412, CONNECTION, false, showAdoCode},
    {27, 413, CONNECTION, false, showDEConnection},
    {28, 422, ROUTINES | DATA, false, showAdoCode},
    {29, 423, ROUTINES | DATA, false, showDECommand},
}};

} // namespace

void notAvailable(Engine& engine, int32_t captionId, const Located& at) {
    std::string action = text(captionId);
    if (action.size() > 3 && action.compare(action.size() - 3, 3, "...") == 0)
        action.resize(action.size() - 3);
    engine.message(format(TextTable::NotAvailable, {action, describe(at)}));
}

namespace {

// The actions that may ask a live connection's database; they run on its lane (LiveWork), after
// the work asked of it before.
bool asksDatabase(const Located& at, int32_t actionCode) {
    static constexpr std::array<int32_t, 10> codes{7, 8, 10, 14, 16, 17, 18, 19, 20, 25};
    return live(at) && std::find(codes.begin(), codes.end(), actionCode) != codes.end();
}

void perform(Engine& engine, int32_t hdl, int32_t actionCode);

} // namespace

void run(Engine& engine, int32_t hdl, int32_t actionCode) {
    auto at = engine.catalogue.locate(hdl);
    if (at && asksDatabase(*at, actionCode))
        return engine.work.post(at->connection, [&engine, hdl, actionCode] { perform(engine, hdl, actionCode); });
    perform(engine, hdl, actionCode);
}

namespace {

// The action as it is done, now or on the connection's lane: the handle is located again, since
// an action that waited may find its object gone or its connection closed.
void perform(Engine& engine, int32_t hdl, int32_t actionCode) {
    auto at = engine.locateOrReport(hdl);
    if (!at)
        return;
    auto rule = std::find_if(rules.begin(), rules.end(), [&](const Rule& r) { return r.code == actionCode; });
    if (rule == rules.end()) {
        return engine.message(
            format(TextTable::NotAvailable, {"number " + std::to_string(actionCode), describe(*at)}));
    }
    if (!(rule->targets & bit(at->type)))
        return notAvailable(engine, rule->captionId, *at);
    if (rule->needsConnection && !at->connection->connected)
        return engine.message(format(TextTable::NotConnected, {at->connection->database}));
    rule->handler(engine, *at, actionCode);
}

void dropConfirmed(Engine& engine, int32_t hdl) {
    auto at = engine.locateOrReport(hdl);
    if (!at || !at->object)
        return;
    if (!at->connection->connected)
        return engine.message(format(TextTable::NotConnected, {at->connection->database}));
    LiveActions::drop(engine, *at);
}

} // namespace

void confirmed(Engine& engine, const PendingAction& pending) {
    if (pending.actionCode != 22)
        return;
    auto at = engine.locateOrReport(pending.targetHdl);
    if (!at || !at->object)
        return;
    if (live(*at)) {
        int32_t hdl = at->object->hdl;
        return engine.work.post(at->connection, [&engine, hdl] { dropConfirmed(engine, hdl); });
    }
    std::string name = at->object->qualifiedName();
    engine.notify(7, *at);
    engine.catalogue.removeObject(*at->object);
    engine.message(format(TextTable::Dropped, {name, at->connection->database}));
}

} // namespace standin::ActionDispatcher

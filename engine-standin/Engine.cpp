#include "Engine.h"

#include "ActionDispatcher.h"
#include "AdoCodeGen.h"
#include "Enumeration.h"
#include "FileSystem.h"
#include "LiveActions.h"
#include "ProjectStore.h"
#include "TextTable.h"

#include <array>
#include <utility>

namespace standin {

using namespace nimb::VSAConstants;

namespace {

constexpr int32_t visualBasic = 2; // the language the add-in asks ADO code for

bool isAbsolute(const std::string& path) {
    return (!path.empty() && (path.front() == '\\' || path.front() == '/')) ||
           (path.size() > 1 && path[1] == ':');
}

// The text id of each tool's name, by tool number.
int32_t toolNameId(int32_t tool) {
    static const std::array<std::pair<int32_t, int32_t>, 10> names{{{1, 206},
                                                                    {2, 209},
                                                                    {3, 208},
                                                                    {4, 210},
                                                                    {5, 207},
                                                                    {6, 211},
                                                                    {7, 204},
                                                                    {8, 203},
                                                                    {10, 219},
                                                                    {12, 212}}};
    for (auto [number, id] : names)
        if (number == tool)
            return id;
    return 0;
}

} // namespace

Engine& Engine::instance() {
    static Engine engine;
    return engine;
}

std::recursive_mutex& Engine::mutex() {
    static std::recursive_mutex m;
    return m;
}

namespace {
std::atomic<int> callsWaiting{0};
}

Engine::CallLock::CallLock() : lock_(mutex(), std::defer_lock) {
    ++callsWaiting;
    lock_.lock();
    --callsWaiting;
}

bool Engine::callWaiting() {
    return callsWaiting.load() > 0;
}

void Engine::reset() {
    terminate();
    journal.clear();
    handles.reset();
    directory_.clear();
}

void Engine::initialize(const std::string& directory) {
    directory_ = directory;
    queue.command("WK_INIT_COMPLETE");
}

void Engine::terminate() {
    queue.clear();
    closeProject();
    handles.retireAll<Enumeration>();
    clipboard.reset();
    asked.clear();
}

void Engine::closeProject() {
    if (const auto& project = catalogue.project())
        for (auto& connection : project->connections)
            work.callOff(connection);
    catalogue.close();
}

void Engine::removeConnection(const std::shared_ptr<Connection>& connection) {
    work.callOff(connection);
    catalogue.removeConnection(*connection);
}

std::string Engine::fullPath(const std::string& name, const std::string& path) const {
    std::string file = path.empty() ? name : FileSystem::join(path, name);
    if (!isAbsolute(file) && !directory_.empty())
        file = FileSystem::join(directory_, file);
    return file;
}

void Engine::projectAccess(const std::string& name, const std::string& path, int32_t accessCode) {
    const std::string file = fullPath(name, path);
    switch (accessCode) {
    case 2:
        if (!FileSystem::exists(file))
            return message(TextTable::format(TextTable::FileMissing, {file}));
        return open(file);
    case 9:
        if (FileSystem::exists(file))
            return open(file);
        closeProject();
        catalogue.install(ProjectStore::createEmpty(file));
        saveProject(file); // a project that cannot be written is still usable until it is saved elsewhere
        return announce();
    case 4:
        if (!catalogue.project())
            return message(TextTable::format(TextTable::NoProjectOpen));
        if (!saveProject(file))
            return;
        catalogue.project()->path = file;
        notify(6, *catalogue.locate(catalogue.project()->hdl));
        return message(TextTable::format(TextTable::SavedAs, {catalogue.project()->name, file}));
    default:
        message(TextTable::format(TextTable::AccessCodeUnknown, {std::to_string(accessCode)}));
    }
}

void Engine::open(const std::string& file) {
    try {
        auto project = ProjectStore::load(file);
        closeProject();
        catalogue.install(std::move(project));
    } catch (const ProjectStore::Error& e) {
        return message(TextTable::format(TextTable::FileUnreadable, {file, e.what()}));
    }
    // A live connection stored as connected is shown closed until its database has answered.
    std::vector<std::shared_ptr<Connection>> toOpen;
    for (auto& connection : catalogue.project()->connections)
        if (connection->live && std::exchange(connection->connected, false))
            toOpen.push_back(connection);
    announce();
    for (auto& connection : toOpen)
        work.post(connection, [this, hdl = connection->hdl] {
            if (auto at = catalogue.locate(hdl))
                LiveActions::connect(*this, *at);
        });
}

void Engine::announce() {
    const auto& project = catalogue.project();
    queue.push({8, project->hdl, 0, WK_OBJ_PROJECT, project->hdl});
    for (auto& connection : project->connections)
        queue.push({8, project->hdl, connection->hdl, WK_OBJ_CONNECTION, connection->hdl});
}

bool Engine::saveProject(const std::string& path) {
    const auto& project = catalogue.project();
    try {
        ProjectStore::save(*project, path);
        return true;
    } catch (const ProjectStore::Error& e) {
        message(TextTable::format(TextTable::SaveFailed, {path, e.what()}));
        return false;
    }
}

void Engine::setCurrentFolder(int32_t hdl) {
    auto at = catalogue.locate(hdl);
    if (at && at->folder && !at->object)
        notify(5, *at);
}

bool Engine::nextNotification(twkNotify_abi& record, bool& more) {
    auto next = queue.pop();
    more = queue.size() > 0;
    if (!next) {
        record = {0, 0, 0, 0, 0};
        return false;
    }
    record = *next;
    if (record.lNotifyType == 2)
        if (auto text = handles.find<TextItem>(record.lObjectHdl); text && text->isQuestion())
            asked.push_back(text->onYes);
    return true;
}

void Engine::answer(int32_t result) {
    if (asked.empty())
        return;
    auto pending = asked.front();
    asked.pop_front();
    if (pending && result == 6)
        ActionDispatcher::confirmed(*this, *pending);
}

int32_t Engine::beginEnumeration(int32_t hdl, int32_t folderType, bool& filtered) {
    filtered = false;
    auto e = std::make_shared<Enumeration>();
    if (folderType == WK_OBJ_PROJECT) {
        auto project = handles.find<Project>(hdl);
        if (!project)
            return 0;
        e->itemType = WK_OBJ_CONNECTION;
        for (auto& connection : project->connections)
            e->handles.push_back(connection->hdl);
    } else {
        auto folder = handles.find<Folder>(hdl);
        if (!folder || folder->type != folderType)
            return 0;
        filtered = folder->filtered;
        e->itemType = folder->objectType();
        for (auto& object : folder->objects)
            if (folder->shows(*object))
                e->handles.push_back(object->hdl);
    }
    return e->handles.empty() ? 0 : handles.add(e);
}

int32_t Engine::beginParameterEnumeration(int32_t routineHdl) {
    auto object = handles.find<DbObject>(routineHdl);
    if (!object || (object->type != WK_OBJ_PROCEDURE && object->type != WK_OBJ_FUNCTION))
        return 0;
    auto e = std::make_shared<Enumeration>();
    e->parameters = AdoCodeGen::parameters(object->parameters);
    return e->parameters.empty() ? 0 : handles.add(e);
}

int32_t Engine::nextEnumerated(int32_t enumHdl, int32_t itemType) {
    auto e = handles.find<Enumeration>(enumHdl);
    if (!e || e->itemType != itemType)
        return 0;
    while (e->next < e->handles.size()) {
        int32_t hdl = e->handles[e->next++];
        bool alive = itemType == WK_OBJ_CONNECTION ? handles.find<Connection>(hdl) != nullptr
                                                   : handles.find<DbObject>(hdl) != nullptr;
        if (alive)
            return hdl;
    }
    return 0;
}

const AdoCodeGen::RoutineParameter* Engine::nextParameter(int32_t enumHdl) {
    auto e = handles.find<Enumeration>(enumHdl);
    if (!e || e->itemType != 0 || e->next >= e->parameters.size())
        return nullptr;
    return &e->parameters[e->next++];
}

bool Engine::endEnumeration(int32_t enumHdl) {
    if (!handles.find<Enumeration>(enumHdl))
        return false;
    handles.retire(enumHdl);
    return true;
}

std::optional<Located> Engine::locateOrReport(int32_t hdl) {
    auto at = catalogue.locate(hdl);
    if (!at)
        message(TextTable::format(TextTable::UnknownHandle, {std::to_string(hdl)}));
    return at;
}

void Engine::requestADO(int32_t hdl, int32_t language, const std::string& project,
                        const std::string& component) {
    auto at = locateOrReport(hdl);
    if (!at)
        return;
    if (language != visualBasic)
        return message(TextTable::format(TextTable::LanguageNotSupported, {std::to_string(language)}));
    std::string code;
    if (at->type == WK_OBJ_CONNECTION)
        code = AdoCodeGen::connectionCode(at->connection->database, at->connection->connectionString);
    else if (at->object && at->type != WK_OBJ_TRIGGER)
        code = AdoCodeGen::commandCode(at->connection->connectionString, *at->object);
    else
        return ActionDispatcher::notAvailable(*this, 422, *at);
    queue.pushADO({project, component, code}, at->project->hdl);
}

void Engine::requestDEConnection(int32_t hdl, const std::string& project, const std::string& dataEnv,
                                 const std::string& name) {
    auto at = locateOrReport(hdl);
    if (!at)
        return;
    if (at->type != WK_OBJ_CONNECTION)
        return ActionDispatcher::notAvailable(*this, 413, *at);
    queue.pushDEConnection({project, dataEnv, name, at->connection->connectionString}, at->project->hdl,
                           at->connection->hdl);
}

void Engine::requestDECommand(int32_t hdl, const std::string& project, const std::string& dataEnv,
                              const std::string& connection, const std::string& name) {
    auto at = locateOrReport(hdl);
    if (!at)
        return;
    if (!at->object || at->type == WK_OBJ_TRIGGER)
        return ActionDispatcher::notAvailable(*this, 423, *at);
    const DbObject& object = *at->object;
    queue.pushDECommand({project, dataEnv, connection, name, AdoCodeGen::commandText(object),
                         AdoCodeGen::commandType(object), !AdoCodeGen::parameters(object.parameters).empty()},
                        at->project->hdl, at->connection->hdl);
}

void Engine::launch(int32_t tool, const std::string& args) {
    int32_t nameId = toolNameId(tool);
    if (!nameId)
        return message(TextTable::format(TextTable::UnknownTool, {std::to_string(tool)}));
    std::string shownArgs = args.empty() ? "" : ", arguments " + args;
    message(TextTable::format(TextTable::ToolStarted,
                              {*TextTable::find(nameId), std::to_string(tool), shownArgs}));
}

void Engine::notify(int32_t kind, const Located& at) {
    queue.push(
        {kind, at.project ? at.project->hdl : 0, at.connection ? at.connection->hdl : 0, at.type, at.hdl()});
}

std::string Engine::sourcePathOf(const DbObject& object) const {
    const auto& project = catalogue.project();
    return project ? ProjectStore::sourcePath(project->path, object) : std::string();
}

} // namespace standin

// The WKSI_ functions of standin_api.h. They are not journalled: the journal records what the
// add-in asked, and these are the test's own hands on the engine.
#include "standin_api.h"

#include "AbiStrings.h"
#include "Engine.h"
#include "WkvFormat.h"

#include <algorithm>
#include <cstdint>

using standin::DbObject;
using standin::Engine;
using standin::AbiStrings::read;
using namespace nimb::VSAConstants;

namespace {

constexpr int32_t maxGenerated = 1000000;

// As in the engine functions: nothing may cross the C boundary as an exception.
template <class F> int32_t guarded(F body) {
    Engine::CallLock lock;
    try {
        return body(Engine::instance());
    } catch (...) {
        return 0;
    }
}

// Copies the fields into object; false (object unchanged) when they are not acceptable.
bool assign(DbObject& object, const WKSI_ObjectFields& f) {
    DbObject o;
    o.type = object.type;
    o.name = read(f.strName);
    if (o.name.empty())
        return false;
    o.schema = read(f.strSchema);
    o.specific = read(f.strSpecific);
    o.parameters = read(f.strParameters);
    o.result = read(f.strResult);
    o.language = read(f.strLanguage);
    o.sqlPackage = read(f.strSQLPackage);
    o.comment = read(f.strComment);
    o.tableSchema = read(f.strTableSchema);
    o.tableName = read(f.strTableName);
    o.tableSpace = read(f.strTableSpace);
    o.resultSets = f.lResultSets;
    o.tableType = f.lTableType;
    o.fenced = f.bIsFenced != 0;
    o.dirty = f.bIsDirty != 0;
    o.canDebug = f.bCanDebug != 0;
    if (f.strFileName && *f.strFileName) {
        try {
            o.fileName = standin::WkvFormat::checkedSourcePath(f.strFileName);
        } catch (const standin::WkvFormat::Error&) {
            return false;
        }
    }
    o.hdl = object.hdl;
    o.folder = object.folder;
    o.source = object.source;
    o.sampleRows = object.sampleRows;
    object = std::move(o);
    return true;
}

bool matches(const DbObject& object, const std::string& name) {
    return object.name == name || object.qualifiedName() == name;
}

} // namespace

extern "C" {

int32_t WKAPI WKSI_Reset(void) {
    int32_t done = guarded([](Engine& e) {
        e.reset();
        return 1;
    });
    Engine::instance().work.waitIdle(std::chrono::seconds(5));
    return done;
}

int32_t WKAPI WKSI_WaitIdle(int32_t milliseconds) {
    // Without the engine lock: the work waited for needs it.
    try {
        return Engine::instance().work.waitIdle(std::chrono::milliseconds(std::max(milliseconds, 0))) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int32_t WKAPI WKSI_GetJournal(char* buffer, int32_t size) {
    return guarded([&](Engine& e) {
        std::string text = e.journal.text();
        standin::AbiStrings::copy(buffer, size, text);
        return static_cast<int32_t>(std::min<size_t>(text.size(), INT32_MAX));
    });
}

int32_t WKAPI WKSI_ClearJournal(void) {
    return guarded([](Engine& e) {
        e.journal.clear();
        return 1;
    });
}

int32_t WKAPI WKSI_PendingNotifications(void) {
    return guarded([](Engine& e) { return static_cast<int32_t>(e.queue.size()); });
}

int32_t WKAPI WKSI_InjectNotification(int32_t kind, int32_t projectHdl, int32_t connectionHdl,
                                      int32_t objectType, int32_t objectHdl) {
    return guarded([&](Engine& e) {
        e.queue.push({kind, projectHdl, connectionHdl, objectType, objectHdl});
        return 1;
    });
}

int32_t WKAPI WKSI_InjectText(int32_t textType, const char* text, const char* buttons) {
    return guarded([&](Engine& e) {
        return e.queue.pushText({read(text), textType, read(buttons), std::nullopt});
    });
}

int32_t WKAPI WKSI_InjectSQLText(const char* project, const char* file, int32_t fromLine, int32_t fromColumn,
                                 int32_t toLine, int32_t toColumn, const char* text) {
    return guarded([&](Engine& e) {
        return e.queue.pushSQL(
            {read(project), read(file), fromLine, fromColumn, toLine, toColumn, read(text)});
    });
}

int32_t WKAPI WKSI_InjectADOText(const char* project, const char* file, const char* text) {
    return guarded([&](Engine& e) {
        auto& p = e.catalogue.project();
        return e.queue.pushADO({read(project), read(file), read(text)}, p ? p->hdl : 0);
    });
}

int32_t WKAPI WKSI_InjectDEConnection(const char* project, const char* dataEnv, const char* connection,
                                      const char* connectionString) {
    return guarded([&](Engine& e) {
        return e.queue.pushDEConnection(
            {read(project), read(dataEnv), read(connection), read(connectionString)}, 0, 0);
    });
}

int32_t WKAPI WKSI_InjectDECommand(const char* project, const char* dataEnv, const char* connection,
                                   const char* command, const char* commandText, int32_t commandType,
                                   wkBool hasParameters) {
    return guarded([&](Engine& e) {
        return e.queue.pushDECommand({read(project), read(dataEnv), read(connection), read(command),
                                      read(commandText), commandType, hasParameters != 0},
                                     0, 0);
    });
}

int32_t WKAPI WKSI_InjectObjectAdded(int32_t folderHdl, const WKSI_ObjectFields* fields) {
    return guarded([&](Engine& e) -> int32_t {
        auto at = e.catalogue.locate(folderHdl);
        if (!fields || !at || !at->folder || at->object)
            return 0;
        auto object = std::make_shared<DbObject>();
        object->type = at->folder->objectType();
        if (!assign(*object, *fields))
            return 0;
        e.catalogue.addObject(*at->folder, object);
        e.notify(8, *e.catalogue.locate(object->hdl));
        return object->hdl;
    });
}

int32_t WKAPI WKSI_InjectObjectChanged(int32_t objectHdl, const WKSI_ObjectFields* fields) {
    return guarded([&](Engine& e) -> int32_t {
        auto at = e.catalogue.locate(objectHdl);
        // While a live connection works, its objects are its lane's (which reads them unlocked).
        if (!fields || !at || !at->object || at->connection->working > 0 || !assign(*at->object, *fields))
            return 0;
        e.notify(6, *at);
        return 1;
    });
}

int32_t WKAPI WKSI_InjectObjectRemoved(int32_t objectHdl) {
    return guarded([&](Engine& e) -> int32_t {
        auto at = e.catalogue.locate(objectHdl);
        if (!at || !at->object)
            return 0;
        e.notify(7, *at);
        e.catalogue.removeObject(*at->object);
        return 1;
    });
}

int32_t WKAPI WKSI_GenerateObjects(int32_t folderHdl, int32_t objectType, int32_t count) {
    return guarded([&](Engine& e) -> int32_t {
        auto at = e.catalogue.locate(folderHdl);
        if (!at || !at->folder || at->object || at->folder->objectType() != objectType || count < 1)
            return 0;
        count = std::min(count, maxGenerated);
        std::string stem = "GEN_" + std::string(standin::objectWord(objectType)) + "_";
        size_t first = at->folder->objects.size() + 1;
        for (int32_t i = 0; i < count; ++i) {
            std::string number = std::to_string(first + static_cast<size_t>(i));
            number.insert(0, number.size() < 6 ? 6 - number.size() : 0, '0');
            auto object = std::make_shared<DbObject>();
            object->type = objectType;
            object->name = stem + number;
            object->schema = "GEN";
            object->comment = "generated";
            if (object->type != WK_OBJ_TABLE && object->type != WK_OBJ_VIEW)
                object->language = "SQL";
            e.catalogue.addObject(*at->folder, object);
        }
        e.notify(5, *at);
        return count;
    });
}

int32_t WKAPI WKSI_FindHandle(int32_t objectType, const char* name) {
    return guarded([&](Engine& e) -> int32_t {
        const auto& project = e.catalogue.project();
        std::string wanted = read(name);
        if (!project)
            return 0;
        if (objectType == WK_OBJ_PROJECT)
            return wanted.empty() || wanted == project->name ? project->hdl : 0;
        for (auto& connection : project->connections) {
            if (objectType == WK_OBJ_CONNECTION && connection->database == wanted)
                return connection->hdl;
            if (standin::isFolderType(objectType) && connection->database == wanted)
                return connection->folder(objectType).hdl;
            if (!standin::isObjectType(objectType))
                continue;
            for (auto& object : connection->folder(objectType - 1).objects)
                if (matches(*object, wanted))
                    return object->hdl;
        }
        return 0;
    });
}

} // extern "C"

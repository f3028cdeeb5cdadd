// The engine functions of wkabi.h. Each one journals the call, takes the engine's lock, does its
// work through Engine and ActionDispatcher, and never lets an exception cross the C boundary.
#include "AbiStrings.h"
#include "ActionDispatcher.h"
#include "Engine.h"
#include "Journal.h"
#include "RecordWriter.h"
#include "TextTable.h"
#include "engine/wkabi.h"

#include <charconv>

using standin::CallText;
using standin::DbObject;
using standin::Engine;
using standin::AbiStrings::read;
namespace RecordWriter = standin::RecordWriter;
namespace TextTable = standin::TextTable;
using namespace nimb::VSAConstants;

namespace {

// A C caller cannot receive an exception; whatever goes wrong inside reads as "nothing done".
template <class R, class F> R guarded(R failed, const CallText& call, F body) {
    Engine::CallLock lock;
    Engine& engine = Engine::instance();
    try {
        engine.journal.record(call.str());
        return body(engine);
    } catch (...) {
        return failed;
    }
}

wkBool flag(bool value) {
    return value ? WK_TRUE : WK_FALSE;
}

void fillObject(twkProcedure_abi& r, const DbObject& o, Engine& e) {
    RecordWriter::fill(r, o, e.sourcePathOf(o));
}
void fillObject(twkFunction_abi& r, const DbObject& o, Engine& e) {
    RecordWriter::fill(r, o, e.sourcePathOf(o));
}
void fillObject(twkTrigger_abi& r, const DbObject& o, Engine& e) {
    RecordWriter::fill(r, o, e.sourcePathOf(o));
}
void fillObject(twkTable_abi& r, const DbObject& o, Engine&) {
    RecordWriter::fill(r, o);
}
void fillObject(twkView_abi& r, const DbObject& o, Engine&) {
    RecordWriter::fill(r, o);
}

template <class Rec> int16_t objectGet(const char* function, int32_t hdl, Rec* rec, int32_t objectType) {
    return guarded<int16_t>(0, CallText(function).number(hdl).out(), [&](Engine& e) -> int16_t {
        if (!rec)
            return 0;
        auto object = e.handles.find<DbObject>(hdl);
        if (!object || object->type != objectType) {
            RecordWriter::clear(*rec);
            return 0;
        }
        fillObject(*rec, *object, e);
        return 1;
    });
}

int16_t enumBegin(const char* function, int32_t hdl, wkBool* filtered, int32_t* enumHdl, int32_t folderType) {
    return guarded<int16_t>(0, CallText(function).number(hdl).out().out(), [&](Engine& e) -> int16_t {
        if (!enumHdl)
            return 0;
        bool isFiltered = false;
        *enumHdl = e.beginEnumeration(hdl, folderType, isFiltered);
        if (filtered)
            *filtered = flag(isFiltered);
        return *enumHdl ? 1 : 0;
    });
}

template <class Rec> int16_t enumNext(const char* function, int32_t enumHdl, Rec* rec, int32_t objectType) {
    return guarded<int16_t>(0, CallText(function).number(enumHdl).out(), [&](Engine& e) -> int16_t {
        if (!rec)
            return 0;
        auto object = e.handles.find<DbObject>(e.nextEnumerated(enumHdl, objectType));
        if (!object) {
            RecordWriter::clear(*rec);
            return 0;
        }
        fillObject(*rec, *object, e);
        return 1;
    });
}

int32_t enumEnd(const char* function, int32_t enumHdl) {
    return guarded<int32_t>(0, CallText(function).number(enumHdl),
                            [&](Engine& e) { return e.endEnumeration(enumHdl) ? 1 : 0; });
}

template <class Item, class Rec> int32_t payloadGet(const char* function, int32_t hdl, Rec* rec) {
    return guarded<int32_t>(0, CallText(function).number(hdl).out(), [&](Engine& e) -> int32_t {
        if (!rec)
            return 0;
        auto item = e.handles.find<Item>(hdl);
        if (!item) {
            RecordWriter::clear(*rec);
            return 0;
        }
        RecordWriter::fill(*rec, *item);
        return 1;
    });
}

int32_t textOut(int32_t id, char* buffer, int32_t size, std::initializer_list<std::string_view> args) {
    const std::string* text = TextTable::find(id);
    return text ? standin::AbiStrings::copy(buffer, size, TextTable::substitute(*text, args)) : 0;
}

} // namespace

extern "C" {

int32_t WKAPI WKInitialize(int32_t ideType, const char* path, const char* reserved) {
    return guarded<int32_t>(0, CallText("WKInitialize").number(ideType).text(path).text(reserved),
                            [&](Engine& e) {
                                e.initialize(read(path));
                                return 1;
                            });
}

int32_t WKAPI WKTerminate(void) {
    int32_t done = guarded<int32_t>(0, CallText("WKTerminate"), [](Engine& e) {
        e.terminate();
        return 1;
    });
    // The databases close on their lanes, which need the lock; a close that takes longer goes on
    // after the engine has answered.
    Engine::instance().work.waitIdle(std::chrono::seconds(1));
    return done;
}

int32_t WKAPI WKGetString(int32_t id, char* buffer, int32_t size) {
    return guarded<int32_t>(0, CallText("WKGetString").number(id).out().number(size),
                            [&](Engine&) { return textOut(id, buffer, size, {}); });
}

int32_t WKAPI WKGetStringP1(int32_t id, char* buffer, int32_t size, const char* p1) {
    return guarded<int32_t>(0, CallText("WKGetStringP1").number(id).out().number(size).text(p1),
                            [&](Engine&) { return textOut(id, buffer, size, {read(p1)}); });
}

int32_t WKAPI WKGetStringP2(int32_t id, char* buffer, int32_t size, const char* p1, const char* p2) {
    return guarded<int32_t>(0, CallText("WKGetStringP2").number(id).out().number(size).text(p1).text(p2),
                            [&](Engine&) {
                                return textOut(id, buffer, size, {read(p1), read(p2)});
                            });
}

int32_t WKAPI WKGetNotification(twkNotify_abi* notify, wkBool* more) {
    return guarded<int32_t>(0, CallText("WKGetNotification").out().out(), [&](Engine& e) -> int32_t {
        if (!notify)
            return 0; // nowhere to put it: leave it queued
        bool waiting = false;
        bool delivered = e.nextNotification(*notify, waiting);
        if (more)
            *more = flag(waiting);
        return delivered ? 1 : 0;
    });
}

int32_t WKAPI WKGetText(int32_t hdl, twkText_abi* text) {
    return payloadGet<standin::TextItem>("WKGetText", hdl, text);
}

int32_t WKAPI WKGetSQLText(int32_t hdl, twkSQLText_abi* text) {
    return payloadGet<standin::SQLItem>("WKGetSQLText", hdl, text);
}

int32_t WKAPI WKGetADOText(int32_t hdl, twkADOText_abi* text) {
    return payloadGet<standin::ADOItem>("WKGetADOText", hdl, text);
}

int32_t WKAPI WKButtonDoAction(const char* what, int32_t result) {
    return guarded<int32_t>(0, CallText("WKButtonDoAction").text(what).number(result), [&](Engine& e) {
        e.answer(result);
        return 1;
    });
}

int32_t WKAPI WKConnectionGetDE(int32_t hdl, twkConnectionDE_abi* de) {
    return payloadGet<standin::DEConnectionItem>("WKConnectionGetDE", hdl, de);
}

int32_t WKAPI WKCommandGetDE(int32_t hdl, twkCommandDE_abi* de) {
    return payloadGet<standin::DECommandItem>("WKCommandGetDE", hdl, de);
}

int16_t WKAPI WKProjectGet(int32_t hdl, twkProject_abi* rec) {
    return guarded<int16_t>(0, CallText("WKProjectGet").number(hdl).out(), [&](Engine& e) -> int16_t {
        if (!rec)
            return 0;
        auto project = e.handles.find<standin::Project>(hdl);
        if (!project) {
            RecordWriter::clear(*rec);
            return 0;
        }
        RecordWriter::fill(*rec, *project);
        return 1;
    });
}

int16_t WKAPI WKConnectionGet(int32_t hdl, twkConnection_abi* rec) {
    return guarded<int16_t>(0, CallText("WKConnectionGet").number(hdl).out(), [&](Engine& e) -> int16_t {
        if (!rec)
            return 0;
        auto connection = e.handles.find<standin::Connection>(hdl);
        if (!connection) {
            RecordWriter::clear(*rec);
            return 0;
        }
        RecordWriter::fill(*rec, *connection);
        return 1;
    });
}

int16_t WKAPI WKProcedureGet(int32_t hdl, twkProcedure_abi* rec) {
    return objectGet("WKProcedureGet", hdl, rec, WK_OBJ_PROCEDURE);
}
int16_t WKAPI WKFunctionGet(int32_t hdl, twkFunction_abi* rec) {
    return objectGet("WKFunctionGet", hdl, rec, WK_OBJ_FUNCTION);
}
int16_t WKAPI WKTriggerGet(int32_t hdl, twkTrigger_abi* rec) {
    return objectGet("WKTriggerGet", hdl, rec, WK_OBJ_TRIGGER);
}
int16_t WKAPI WKTableGet(int32_t hdl, twkTable_abi* rec) {
    return objectGet("WKTableGet", hdl, rec, WK_OBJ_TABLE);
}
int16_t WKAPI WKViewGet(int32_t hdl, twkView_abi* rec) {
    return objectGet("WKViewGet", hdl, rec, WK_OBJ_VIEW);
}

int16_t WKAPI WKProcedureEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl) {
    return enumBegin("WKProcedureEnumBegin", folderHdl, filtered, enumHdl, WK_OBJ_PROCEDURE_FOLDER);
}
int16_t WKAPI WKProcedureEnumNext(int32_t enumHdl, twkProcedure_abi* rec) {
    return enumNext("WKProcedureEnumNext", enumHdl, rec, WK_OBJ_PROCEDURE);
}
int32_t WKAPI WKProcedureEnumEnd(int32_t enumHdl) {
    return enumEnd("WKProcedureEnumEnd", enumHdl);
}

int16_t WKAPI WKFunctionEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl) {
    return enumBegin("WKFunctionEnumBegin", folderHdl, filtered, enumHdl, WK_OBJ_FUNCTION_FOLDER);
}
int16_t WKAPI WKFunctionEnumNext(int32_t enumHdl, twkFunction_abi* rec) {
    return enumNext("WKFunctionEnumNext", enumHdl, rec, WK_OBJ_FUNCTION);
}
int32_t WKAPI WKFunctionEnumEnd(int32_t enumHdl) {
    return enumEnd("WKFunctionEnumEnd", enumHdl);
}

int16_t WKAPI WKTriggerEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl) {
    return enumBegin("WKTriggerEnumBegin", folderHdl, filtered, enumHdl, WK_OBJ_TRIGGER_FOLDER);
}
int16_t WKAPI WKTriggerEnumNext(int32_t enumHdl, twkTrigger_abi* rec) {
    return enumNext("WKTriggerEnumNext", enumHdl, rec, WK_OBJ_TRIGGER);
}
int32_t WKAPI WKTriggerEnumEnd(int32_t enumHdl) {
    return enumEnd("WKTriggerEnumEnd", enumHdl);
}

int16_t WKAPI WKTableEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl) {
    return enumBegin("WKTableEnumBegin", folderHdl, filtered, enumHdl, WK_OBJ_TABLE_FOLDER);
}
int16_t WKAPI WKTableEnumNext(int32_t enumHdl, twkTable_abi* rec) {
    return enumNext("WKTableEnumNext", enumHdl, rec, WK_OBJ_TABLE);
}
int32_t WKAPI WKTableEnumEnd(int32_t enumHdl) {
    return enumEnd("WKTableEnumEnd", enumHdl);
}

int16_t WKAPI WKViewEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl) {
    return enumBegin("WKViewEnumBegin", folderHdl, filtered, enumHdl, WK_OBJ_VIEW_FOLDER);
}
int16_t WKAPI WKViewEnumNext(int32_t enumHdl, twkView_abi* rec) {
    return enumNext("WKViewEnumNext", enumHdl, rec, WK_OBJ_VIEW);
}
int32_t WKAPI WKViewEnumEnd(int32_t enumHdl) {
    return enumEnd("WKViewEnumEnd", enumHdl);
}

int32_t WKAPI WKSetCurrentFolder(int32_t folderHdl, int32_t byDoubleClick) {
    return guarded<int32_t>(0, CallText("WKSetCurrentFolder").number(folderHdl).number(byDoubleClick),
                            [&](Engine& e) {
                                e.setCurrentFolder(folderHdl);
                                return 1;
                            });
}

int32_t WKAPI WKObjectDoAction(int32_t hdl, int32_t actionCode) {
    return guarded<int32_t>(0, CallText("WKObjectDoAction").number(hdl).number(actionCode), [&](Engine& e) {
        standin::ActionDispatcher::run(e, hdl, actionCode);
        return 1;
    });
}

int32_t WKAPI WKObjectDoGetADO(int32_t hdl, int32_t language, char* project, char* component) {
    return guarded<int32_t>(
        0, CallText("WKObjectDoGetADO").number(hdl).number(language).text(project).text(component),
        [&](Engine& e) {
            e.requestADO(hdl, language, read(project), read(component));
            return 1;
        });
}

int32_t WKAPI WKConnectionDoGetDE(int32_t hdl, char* project, char* dataEnv, char* name) {
    return guarded<int32_t>(
        0, CallText("WKConnectionDoGetDE").number(hdl).text(project).text(dataEnv).text(name),
        [&](Engine& e) {
            e.requestDEConnection(hdl, read(project), read(dataEnv), read(name));
            return 1;
        });
}

int32_t WKAPI WKCommandDoGetDE(int32_t hdl, char* project, char* dataEnv, char* connection, char* name) {
    return guarded<int32_t>(
        0, CallText("WKCommandDoGetDE").number(hdl).text(project).text(dataEnv).text(connection).text(name),
        [&](Engine& e) {
            e.requestDECommand(hdl, read(project), read(dataEnv), read(connection), read(name));
            return 1;
        });
}

int32_t WKAPI WKProjectDoAccess(char* name, char* path, int32_t accessCode) {
    return guarded<int32_t>(0, CallText("WKProjectDoAccess").text(name).text(path).number(accessCode),
                            [&](Engine& e) {
                                e.projectAccess(read(name), read(path), accessCode);
                                return 1;
                            });
}

int32_t WKAPI WKLaunchApp(int32_t tool, const char* args, int32_t* result) {
    return guarded<int32_t>(0, CallText("WKLaunchApp").number(tool).text(args).out(), [&](Engine& e) {
        if (result)
            *result = 0;
        e.launch(tool, read(args));
        return 1;
    });
}

int32_t WKAPI WKLaunchNIMBTool(int32_t tool) {
    return guarded<int32_t>(0, CallText("WKLaunchNIMBTool").number(tool), [&](Engine& e) {
        e.launch(tool, "");
        return 1;
    });
}

// ---- Declared by the engine, never called by the add-in ----------------------------------------

int32_t WKAPI WKDoTestAction(int32_t hdl, int32_t action) {
    return guarded<int32_t>(0, CallText("WKDoTestAction").number(hdl).number(action),
                            [](Engine&) { return 0; });
}

int32_t WKAPI WKMgrInitialize(int32_t ideType) {
    return guarded<int32_t>(0, CallText("WKMgrInitialize").number(ideType), [](Engine&) { return 1; });
}

int32_t WKAPI WKMgrTerminate(void) {
    return guarded<int32_t>(0, CallText("WKMgrTerminate"), [](Engine&) { return 1; });
}

// The stand-in has no manager channel: nothing is taken and nothing comes back.
int32_t WKAPI WKMgrSendData(const char* data, int32_t size) {
    return guarded<int32_t>(0, CallText("WKMgrSendData").text(data).number(size), [](Engine&) { return 0; });
}

int32_t WKAPI WKMgrRecvData(char* /*buffer*/, int32_t size) {
    return guarded<int32_t>(0, CallText("WKMgrRecvData").out().number(size), [](Engine&) { return 0; });
}

int32_t WKAPI WKGetFontInfo(char* name, int32_t nameSize, int32_t* pointSize) {
    return guarded<int32_t>(0, CallText("WKGetFontInfo").out().number(nameSize).out(), [&](Engine&) {
        standin::AbiStrings::copy(name, nameSize, *TextTable::find(100));
        const std::string& size = *TextTable::find(101);
        if (pointSize)
            std::from_chars(size.data(), size.data() + size.size(), *pointSize);
        return 1;
    });
}

// No splash bitmap ships with the stand-in; the buffer stays as given.
int32_t WKAPI WKGetSplashScreenBMPName(char* /*buffer*/, int32_t size) {
    return guarded<int32_t>(0, CallText("WKGetSplashScreenBMPName").out().number(size),
                            [](Engine&) { return 0; });
}

int32_t WKAPI WKBuildSQLStatement(int32_t hdl, char* buffer, int32_t size) {
    return guarded<int32_t>(
        0, CallText("WKBuildSQLStatement").number(hdl).out().number(size), [&](Engine& e) {
            auto object = e.handles.find<DbObject>(hdl);
            std::string sql = object ? standin::AdoCodeGen::sqlStatement(*object) : std::string();
            return sql.empty() ? 0 : standin::AbiStrings::copy(buffer, size, sql);
        });
}

int16_t WKAPI WKParameterDEEnumBegin(int32_t commandHdl, int32_t* enumHdl) {
    return guarded<int16_t>(0, CallText("WKParameterDEEnumBegin").number(commandHdl).out(),
                            [&](Engine& e) -> int16_t {
                                if (!enumHdl)
                                    return 0;
                                *enumHdl = e.beginParameterEnumeration(commandHdl);
                                return *enumHdl ? 1 : 0;
                            });
}

int16_t WKAPI WKParameterDEEnumNext(int32_t enumHdl, twkParameterDE_abi* rec) {
    return guarded<int16_t>(0, CallText("WKParameterDEEnumNext").number(enumHdl).out(),
                            [&](Engine& e) -> int16_t {
                                if (!rec)
                                    return 0;
                                auto parameter = e.nextParameter(enumHdl);
                                if (!parameter) {
                                    RecordWriter::clear(*rec);
                                    return 0;
                                }
                                RecordWriter::fill(*rec, *parameter);
                                return 1;
                            });
}

int32_t WKAPI WKParameterDEEnumEnd(int32_t enumHdl) {
    return enumEnd("WKParameterDEEnumEnd", enumHdl);
}

int32_t WKAPI WKObjectDoPaste(int32_t hdl) {
    return guarded<int32_t>(0, CallText("WKObjectDoPaste").number(hdl), [&](Engine& e) {
        standin::ActionDispatcher::run(e, hdl, 23);
        return 1;
    });
}

int16_t WKAPI WKConnectionEnumBegin(int32_t projectHdl, int32_t* enumHdl) {
    return guarded<int16_t>(0, CallText("WKConnectionEnumBegin").number(projectHdl).out(),
                            [&](Engine& e) -> int16_t {
                                if (!enumHdl)
                                    return 0;
                                bool filtered = false;
                                *enumHdl = e.beginEnumeration(projectHdl, WK_OBJ_PROJECT, filtered);
                                return *enumHdl ? 1 : 0;
                            });
}

int16_t WKAPI WKConnectionEnumNext(int32_t enumHdl, twkConnection_abi* rec) {
    return guarded<int16_t>(
        0, CallText("WKConnectionEnumNext").number(enumHdl).out(), [&](Engine& e) -> int16_t {
            if (!rec)
                return 0;
            auto connection =
                e.handles.find<standin::Connection>(e.nextEnumerated(enumHdl, WK_OBJ_CONNECTION));
            if (!connection) {
                RecordWriter::clear(*rec);
                return 0;
            }
            RecordWriter::fill(*rec, *connection);
            return 1;
        });
}

int32_t WKAPI WKConnectionEnumEnd(int32_t enumHdl) {
    return enumEnd("WKConnectionEnumEnd", enumHdl);
}

} // extern "C"

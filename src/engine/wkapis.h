// wkapis: the engine library's functions as the add-in calls them. The library is loaded at run
// time by name (nimbvsadd.dll / libnimbvsadd.so, or the full path in NIMB_ENGINE_LIBRARY) and each
// entry point is resolved on first use, so a missing library or function raises the errors a VB
// Declare raises (53 and 453) at the call that needs it, and the caller's handling applies.
#pragma once

#include "engine/wkabi.h"

#include <string>

namespace nimb::wkapis {

// X(result type, name, parameter list, argument list) for every engine function.
#define NIMB_WK_FUNCTIONS(X)                                                                           \
    X(int32_t, WKInitialize, (int32_t ideType, const char* path, const char* reserved), (ideType, path, reserved)) \
    X(int32_t, WKTerminate, (), ())                                                                    \
    X(int32_t, WKGetString, (int32_t id, char* buffer, int32_t size), (id, buffer, size))               \
    X(int32_t, WKGetStringP1, (int32_t id, char* buffer, int32_t size, const char* p1), (id, buffer, size, p1)) \
    X(int32_t, WKGetStringP2, (int32_t id, char* buffer, int32_t size, const char* p1, const char* p2),  \
      (id, buffer, size, p1, p2))                                                                      \
    X(int32_t, WKGetNotification, (twkNotify_abi * notify, wkBool * more), (notify, more))            \
    X(int32_t, WKGetText, (int32_t hdl, twkText_abi * text), (hdl, text))                              \
    X(int32_t, WKGetSQLText, (int32_t hdl, twkSQLText_abi * text), (hdl, text))                        \
    X(int32_t, WKGetADOText, (int32_t hdl, twkADOText_abi * text), (hdl, text))                        \
    X(int32_t, WKButtonDoAction, (const char* what, int32_t result), (what, result))                   \
    X(int32_t, WKConnectionGetDE, (int32_t hdl, twkConnectionDE_abi * de), (hdl, de))                  \
    X(int32_t, WKCommandGetDE, (int32_t hdl, twkCommandDE_abi * de), (hdl, de))                        \
    X(int16_t, WKProjectGet, (int32_t hdl, twkProject_abi * rec), (hdl, rec))                          \
    X(int16_t, WKConnectionGet, (int32_t hdl, twkConnection_abi * rec), (hdl, rec))                    \
    X(int16_t, WKProcedureGet, (int32_t hdl, twkProcedure_abi * rec), (hdl, rec))                      \
    X(int16_t, WKFunctionGet, (int32_t hdl, twkFunction_abi * rec), (hdl, rec))                        \
    X(int16_t, WKTriggerGet, (int32_t hdl, twkTrigger_abi * rec), (hdl, rec))                          \
    X(int16_t, WKTableGet, (int32_t hdl, twkTable_abi * rec), (hdl, rec))                              \
    X(int16_t, WKViewGet, (int32_t hdl, twkView_abi * rec), (hdl, rec))                                \
    X(int16_t, WKProcedureEnumBegin, (int32_t folderHdl, wkBool * filtered, int32_t * enumHdl), (folderHdl, filtered, enumHdl)) \
    X(int16_t, WKProcedureEnumNext, (int32_t enumHdl, twkProcedure_abi * rec), (enumHdl, rec))         \
    X(int32_t, WKProcedureEnumEnd, (int32_t enumHdl), (enumHdl))                                       \
    X(int16_t, WKFunctionEnumBegin, (int32_t folderHdl, wkBool * filtered, int32_t * enumHdl), (folderHdl, filtered, enumHdl)) \
    X(int16_t, WKFunctionEnumNext, (int32_t enumHdl, twkFunction_abi * rec), (enumHdl, rec))           \
    X(int32_t, WKFunctionEnumEnd, (int32_t enumHdl), (enumHdl))                                        \
    X(int16_t, WKTriggerEnumBegin, (int32_t folderHdl, wkBool * filtered, int32_t * enumHdl), (folderHdl, filtered, enumHdl)) \
    X(int16_t, WKTriggerEnumNext, (int32_t enumHdl, twkTrigger_abi * rec), (enumHdl, rec))             \
    X(int32_t, WKTriggerEnumEnd, (int32_t enumHdl), (enumHdl))                                         \
    X(int16_t, WKTableEnumBegin, (int32_t folderHdl, wkBool * filtered, int32_t * enumHdl), (folderHdl, filtered, enumHdl)) \
    X(int16_t, WKTableEnumNext, (int32_t enumHdl, twkTable_abi * rec), (enumHdl, rec))                 \
    X(int32_t, WKTableEnumEnd, (int32_t enumHdl), (enumHdl))                                           \
    X(int16_t, WKViewEnumBegin, (int32_t folderHdl, wkBool * filtered, int32_t * enumHdl), (folderHdl, filtered, enumHdl)) \
    X(int16_t, WKViewEnumNext, (int32_t enumHdl, twkView_abi * rec), (enumHdl, rec))                   \
    X(int32_t, WKViewEnumEnd, (int32_t enumHdl), (enumHdl))                                            \
    X(int32_t, WKSetCurrentFolder, (int32_t folderHdl, int32_t byDoubleClick), (folderHdl, byDoubleClick)) \
    X(int32_t, WKObjectDoAction, (int32_t hdl, int32_t actionCode), (hdl, actionCode))                 \
    X(int32_t, WKObjectDoGetADO, (int32_t hdl, int32_t language, char* project, char* component),      \
      (hdl, language, project, component))                                                             \
    X(int32_t, WKConnectionDoGetDE, (int32_t hdl, char* project, char* dataEnv, char* name), (hdl, project, dataEnv, name)) \
    X(int32_t, WKCommandDoGetDE, (int32_t hdl, char* project, char* dataEnv, char* connection, char* name), \
      (hdl, project, dataEnv, connection, name))                                                       \
    X(int32_t, WKProjectDoAccess, (char* name, char* path, int32_t accessCode), (name, path, accessCode)) \
    X(int32_t, WKLaunchApp, (int32_t tool, const char* args, int32_t* result), (tool, args, result))   \
    X(int32_t, WKLaunchNIMBTool, (int32_t tool), (tool))

// The function table: one pointer per engine function, in the engine's calling convention.
struct FunctionTable {
#define NIMB_WK_POINTER(ret, name, params, args) ret(WKAPI* name) params = nullptr;
    NIMB_WK_FUNCTIONS(NIMB_WK_POINTER)
#undef NIMB_WK_POINTER
};

// Every call goes through the current table. By default entries resolve from the engine library
// on first use; useTable points the table at in-process functions instead (a null entry then
// raises 453 as a missing entry point would), and useLibrary goes back to the library.
void useTable(const FunctionTable& table);
void useLibrary();

// The library that is (or will be) loaded: NIMB_ENGINE_LIBRARY when set, else the platform's name.
std::string libraryName();

// The source of the errors raised at the boundary: the running project, as VB names it.
inline constexpr char errorSource[] = "nimbvbadd";

#define NIMB_WK_DECLARE(ret, name, params, args) ret name params;
NIMB_WK_FUNCTIONS(NIMB_WK_DECLARE)
#undef NIMB_WK_DECLARE

} // namespace nimb::wkapis

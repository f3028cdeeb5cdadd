/* The engine library's C interface: every exported function and the records that cross it, laid
 * out exactly as the 32-bit engine expects them. Plain C so that any engine (the stand-in, a test
 * double, the real one) compiles against the same declarations.
 *
 * Conventions at this boundary: Long = int32_t, Integer = int16_t, Boolean = int16_t with
 * True = -1 (any non-zero reads as True). Strings are NUL-terminated ANSI text; an out-string is a
 * caller's buffer filled with NULs which the engine overwrites. */
#ifndef NIMB_ENGINE_WKABI_H
#define NIMB_ENGINE_WKABI_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define WKAPI __stdcall
#if defined(WK_BUILDING_ENGINE)
#define WKEXPORT __declspec(dllexport)
#else
#define WKEXPORT
#endif
#else
#define WKAPI
#define WKEXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define WKABI_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#define WKABI_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

typedef int16_t wkBool; /* True = -1 */
#define WK_TRUE ((wkBool)-1)
#define WK_FALSE ((wkBool)0)

/* ---- Records (boundary layout) ------------------------------------------------------------- */

typedef struct twkNotify_abi {
    int32_t lNotifyType;
    int32_t lProjectHdl;
    int32_t lConnectionHdl;
    int32_t lObjectType;
    int32_t lObjectHdl;
} twkNotify_abi;

typedef struct twkText_abi {
    char* strText;
    int32_t lTextSz;
    int32_t lTextType;
    char* strButtons;
} twkText_abi;

typedef struct twkSQLText_abi {
    char* strVSProject;
    char* strVSFile;
    int32_t lSelFromLine;
    int32_t lSelFromColumn;
    int32_t lSelToLine;
    int32_t lSelToColumn;
    char* strText;
    int32_t lTextSz;
} twkSQLText_abi;

typedef struct twkADOText_abi {
    char* strVSProject;
    char* strVSFile;
    char* strText;
    int32_t lTextSz;
} twkADOText_abi;

typedef struct twkConnectionDE_abi {
    char* strVSProject;
    char* strDEName;
    char* strDEConnection;
    char* strConnectionString;
} twkConnectionDE_abi;

typedef struct twkCommandDE_abi {
    char* strVSProject;
    char* strDEName;
    char* strDEConnection;
    char* strDECommand;
    char* strCommandText;
    int32_t lCommandType;
    wkBool bHasParemeters;
} twkCommandDE_abi;

typedef struct twkParameterDE_abi {
    char* strName;
    int32_t lMode;
    int32_t lSQLType;
    int32_t lSQLSize;
    int32_t lSQLPrecision;
    wkBool bBitData;
} twkParameterDE_abi;

typedef struct twkProject_abi {
    int32_t lHdl;
    char* strName;
    char* strPath;
} twkProject_abi;

typedef struct twkConnection_abi {
    int32_t lHdl;
    wkBool bConnected;
    char* strDatabase;
    int32_t lProceduresHdl;
    int32_t lFunctionsHdl;
    int32_t lTriggersHdl;
    int32_t lTablesHdl;
    int32_t lViewsHdl;
} twkConnection_abi;

typedef struct twkProcedure_abi {
    int32_t lHdl;
    wkBool bIsDirty;
    wkBool bCanDebug;
    char* strSchema;
    char* strName;
    char* strSpecific;
    char* strParameters;
    char* strLanguage;
    char* strSQLPackage;
    int32_t lResultSets;
    wkBool bIsFenced; /* 16-bit here; the function record carries it as a Long */
    char* strComment;
    char* strFileName;
} twkProcedure_abi;

typedef struct twkFunction_abi {
    int32_t lHdl;
    wkBool bIsDirty;
    wkBool bCanDebug;
    char* strSchema;
    char* strName;
    char* strSpecific;
    char* strParameters;
    char* strResult;
    char* strLanguage;
    int32_t bIsFenced; /* a Long, not a Boolean */
    char* strComment;
    char* strFileName;
} twkFunction_abi;

typedef struct twkTrigger_abi {
    int32_t lHdl;
    wkBool bIsDirty;
    wkBool bCanDebug;
    char* strSchema;
    char* strName;
    char* strTableSchema;
    char* strTableName;
    char* strComment;
    char* strFileName;
} twkTrigger_abi;

typedef struct twkTable_abi {
    int32_t lHdl;
    wkBool bIsDirty;
    char* strSchema;
    char* strName;
    char* strTableSpace;
    int32_t lType;
    char* strComment;
} twkTable_abi;

typedef struct twkView_abi {
    int32_t lHdl;
    wkBool bIsDirty;
    char* strSchema;
    char* strName;
    char* strComment;
} twkView_abi;

/* ---- The 32-bit layout, checked whenever pointers are 4 bytes ------------------------------ */

#define WKABI_SIZE(type, size) \
    WKABI_ASSERT(sizeof(void*) != 4 || sizeof(type) == (size), #type " must be " #size " bytes")
#define WKABI_AT(type, field, offset) \
    WKABI_ASSERT(sizeof(void*) != 4 || offsetof(type, field) == (offset), #type "." #field " must be at " #offset)

WKABI_SIZE(twkNotify_abi, 20);
WKABI_AT(twkNotify_abi, lNotifyType, 0);
WKABI_AT(twkNotify_abi, lProjectHdl, 4);
WKABI_AT(twkNotify_abi, lConnectionHdl, 8);
WKABI_AT(twkNotify_abi, lObjectType, 12);
WKABI_AT(twkNotify_abi, lObjectHdl, 16);

WKABI_SIZE(twkText_abi, 16);
WKABI_AT(twkText_abi, strText, 0);
WKABI_AT(twkText_abi, lTextSz, 4);
WKABI_AT(twkText_abi, lTextType, 8);
WKABI_AT(twkText_abi, strButtons, 12);

WKABI_SIZE(twkSQLText_abi, 32);
WKABI_AT(twkSQLText_abi, strVSProject, 0);
WKABI_AT(twkSQLText_abi, strVSFile, 4);
WKABI_AT(twkSQLText_abi, lSelFromLine, 8);
WKABI_AT(twkSQLText_abi, lSelFromColumn, 12);
WKABI_AT(twkSQLText_abi, lSelToLine, 16);
WKABI_AT(twkSQLText_abi, lSelToColumn, 20);
WKABI_AT(twkSQLText_abi, strText, 24);
WKABI_AT(twkSQLText_abi, lTextSz, 28);

WKABI_SIZE(twkADOText_abi, 16);
WKABI_AT(twkADOText_abi, strVSProject, 0);
WKABI_AT(twkADOText_abi, strVSFile, 4);
WKABI_AT(twkADOText_abi, strText, 8);
WKABI_AT(twkADOText_abi, lTextSz, 12);

WKABI_SIZE(twkConnectionDE_abi, 16);
WKABI_AT(twkConnectionDE_abi, strVSProject, 0);
WKABI_AT(twkConnectionDE_abi, strDEName, 4);
WKABI_AT(twkConnectionDE_abi, strDEConnection, 8);
WKABI_AT(twkConnectionDE_abi, strConnectionString, 12);

WKABI_SIZE(twkCommandDE_abi, 28);
WKABI_AT(twkCommandDE_abi, strVSProject, 0);
WKABI_AT(twkCommandDE_abi, strDEName, 4);
WKABI_AT(twkCommandDE_abi, strDEConnection, 8);
WKABI_AT(twkCommandDE_abi, strDECommand, 12);
WKABI_AT(twkCommandDE_abi, strCommandText, 16);
WKABI_AT(twkCommandDE_abi, lCommandType, 20);
WKABI_AT(twkCommandDE_abi, bHasParemeters, 24);

WKABI_SIZE(twkParameterDE_abi, 24);
WKABI_AT(twkParameterDE_abi, strName, 0);
WKABI_AT(twkParameterDE_abi, lMode, 4);
WKABI_AT(twkParameterDE_abi, lSQLType, 8);
WKABI_AT(twkParameterDE_abi, lSQLSize, 12);
WKABI_AT(twkParameterDE_abi, lSQLPrecision, 16);
WKABI_AT(twkParameterDE_abi, bBitData, 20);

WKABI_SIZE(twkProject_abi, 12);
WKABI_AT(twkProject_abi, lHdl, 0);
WKABI_AT(twkProject_abi, strName, 4);
WKABI_AT(twkProject_abi, strPath, 8);

WKABI_SIZE(twkConnection_abi, 32);
WKABI_AT(twkConnection_abi, lHdl, 0);
WKABI_AT(twkConnection_abi, bConnected, 4);
WKABI_AT(twkConnection_abi, strDatabase, 8);
WKABI_AT(twkConnection_abi, lProceduresHdl, 12);
WKABI_AT(twkConnection_abi, lFunctionsHdl, 16);
WKABI_AT(twkConnection_abi, lTriggersHdl, 20);
WKABI_AT(twkConnection_abi, lTablesHdl, 24);
WKABI_AT(twkConnection_abi, lViewsHdl, 28);

WKABI_SIZE(twkProcedure_abi, 48);
WKABI_AT(twkProcedure_abi, lHdl, 0);
WKABI_AT(twkProcedure_abi, bIsDirty, 4);
WKABI_AT(twkProcedure_abi, bCanDebug, 6);
WKABI_AT(twkProcedure_abi, strSchema, 8);
WKABI_AT(twkProcedure_abi, strName, 12);
WKABI_AT(twkProcedure_abi, strSpecific, 16);
WKABI_AT(twkProcedure_abi, strParameters, 20);
WKABI_AT(twkProcedure_abi, strLanguage, 24);
WKABI_AT(twkProcedure_abi, strSQLPackage, 28);
WKABI_AT(twkProcedure_abi, lResultSets, 32);
WKABI_AT(twkProcedure_abi, bIsFenced, 36);
WKABI_AT(twkProcedure_abi, strComment, 40);
WKABI_AT(twkProcedure_abi, strFileName, 44);

WKABI_SIZE(twkFunction_abi, 44);
WKABI_AT(twkFunction_abi, lHdl, 0);
WKABI_AT(twkFunction_abi, bIsDirty, 4);
WKABI_AT(twkFunction_abi, bCanDebug, 6);
WKABI_AT(twkFunction_abi, strSchema, 8);
WKABI_AT(twkFunction_abi, strName, 12);
WKABI_AT(twkFunction_abi, strSpecific, 16);
WKABI_AT(twkFunction_abi, strParameters, 20);
WKABI_AT(twkFunction_abi, strResult, 24);
WKABI_AT(twkFunction_abi, strLanguage, 28);
WKABI_AT(twkFunction_abi, bIsFenced, 32);
WKABI_AT(twkFunction_abi, strComment, 36);
WKABI_AT(twkFunction_abi, strFileName, 40);

WKABI_SIZE(twkTrigger_abi, 32);
WKABI_AT(twkTrigger_abi, lHdl, 0);
WKABI_AT(twkTrigger_abi, bIsDirty, 4);
WKABI_AT(twkTrigger_abi, bCanDebug, 6);
WKABI_AT(twkTrigger_abi, strSchema, 8);
WKABI_AT(twkTrigger_abi, strName, 12);
WKABI_AT(twkTrigger_abi, strTableSchema, 16);
WKABI_AT(twkTrigger_abi, strTableName, 20);
WKABI_AT(twkTrigger_abi, strComment, 24);
WKABI_AT(twkTrigger_abi, strFileName, 28);

WKABI_SIZE(twkTable_abi, 28);
WKABI_AT(twkTable_abi, lHdl, 0);
WKABI_AT(twkTable_abi, bIsDirty, 4);
WKABI_AT(twkTable_abi, strSchema, 8);
WKABI_AT(twkTable_abi, strName, 12);
WKABI_AT(twkTable_abi, strTableSpace, 16);
WKABI_AT(twkTable_abi, lType, 20);
WKABI_AT(twkTable_abi, strComment, 24);

WKABI_SIZE(twkView_abi, 20);
WKABI_AT(twkView_abi, lHdl, 0);
WKABI_AT(twkView_abi, bIsDirty, 4);
WKABI_AT(twkView_abi, strSchema, 8);
WKABI_AT(twkView_abi, strName, 12);
WKABI_AT(twkView_abi, strComment, 16);

/* ---- Functions the add-in calls ------------------------------------------------------------ */

WKEXPORT int32_t WKAPI WKInitialize(int32_t ideType, const char* path, const char* reserved);
WKEXPORT int32_t WKAPI WKTerminate(void);
WKEXPORT int32_t WKAPI WKGetString(int32_t id, char* buffer, int32_t size);
WKEXPORT int32_t WKAPI WKGetStringP1(int32_t id, char* buffer, int32_t size, const char* p1);
WKEXPORT int32_t WKAPI WKGetStringP2(int32_t id, char* buffer, int32_t size, const char* p1, const char* p2);
WKEXPORT int32_t WKAPI WKGetNotification(twkNotify_abi* notify, wkBool* more);
WKEXPORT int32_t WKAPI WKGetText(int32_t hdl, twkText_abi* text);
WKEXPORT int32_t WKAPI WKGetSQLText(int32_t hdl, twkSQLText_abi* text);
WKEXPORT int32_t WKAPI WKGetADOText(int32_t hdl, twkADOText_abi* text);
WKEXPORT int32_t WKAPI WKButtonDoAction(const char* what, int32_t result);
WKEXPORT int32_t WKAPI WKConnectionGetDE(int32_t hdl, twkConnectionDE_abi* de);
WKEXPORT int32_t WKAPI WKCommandGetDE(int32_t hdl, twkCommandDE_abi* de);

WKEXPORT int16_t WKAPI WKProjectGet(int32_t hdl, twkProject_abi* rec);
WKEXPORT int16_t WKAPI WKConnectionGet(int32_t hdl, twkConnection_abi* rec);
WKEXPORT int16_t WKAPI WKProcedureGet(int32_t hdl, twkProcedure_abi* rec);
WKEXPORT int16_t WKAPI WKFunctionGet(int32_t hdl, twkFunction_abi* rec);
WKEXPORT int16_t WKAPI WKTriggerGet(int32_t hdl, twkTrigger_abi* rec);
WKEXPORT int16_t WKAPI WKTableGet(int32_t hdl, twkTable_abi* rec);
WKEXPORT int16_t WKAPI WKViewGet(int32_t hdl, twkView_abi* rec);

WKEXPORT int16_t WKAPI WKProcedureEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl);
WKEXPORT int16_t WKAPI WKProcedureEnumNext(int32_t enumHdl, twkProcedure_abi* rec);
WKEXPORT int32_t WKAPI WKProcedureEnumEnd(int32_t enumHdl);
WKEXPORT int16_t WKAPI WKFunctionEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl);
WKEXPORT int16_t WKAPI WKFunctionEnumNext(int32_t enumHdl, twkFunction_abi* rec);
WKEXPORT int32_t WKAPI WKFunctionEnumEnd(int32_t enumHdl);
WKEXPORT int16_t WKAPI WKTriggerEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl);
WKEXPORT int16_t WKAPI WKTriggerEnumNext(int32_t enumHdl, twkTrigger_abi* rec);
WKEXPORT int32_t WKAPI WKTriggerEnumEnd(int32_t enumHdl);
WKEXPORT int16_t WKAPI WKTableEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl);
WKEXPORT int16_t WKAPI WKTableEnumNext(int32_t enumHdl, twkTable_abi* rec);
WKEXPORT int32_t WKAPI WKTableEnumEnd(int32_t enumHdl);
WKEXPORT int16_t WKAPI WKViewEnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl);
WKEXPORT int16_t WKAPI WKViewEnumNext(int32_t enumHdl, twkView_abi* rec);
WKEXPORT int32_t WKAPI WKViewEnumEnd(int32_t enumHdl);

WKEXPORT int32_t WKAPI WKSetCurrentFolder(int32_t folderHdl, int32_t byDoubleClick);
WKEXPORT int32_t WKAPI WKObjectDoAction(int32_t hdl, int32_t actionCode);
/* The strings are caller buffers the engine may change in place (never lengthen). */
WKEXPORT int32_t WKAPI WKObjectDoGetADO(int32_t hdl, int32_t language, char* project, char* component);
WKEXPORT int32_t WKAPI WKConnectionDoGetDE(int32_t hdl, char* project, char* dataEnv, char* name);
WKEXPORT int32_t WKAPI WKCommandDoGetDE(int32_t hdl, char* project, char* dataEnv, char* connection, char* name);
/* name is in-out: what the engine leaves in the buffer is the project file name from now on. */
WKEXPORT int32_t WKAPI WKProjectDoAccess(char* name, char* path, int32_t accessCode);
WKEXPORT int32_t WKAPI WKLaunchApp(int32_t tool, const char* args, int32_t* result);
WKEXPORT int32_t WKAPI WKLaunchNIMBTool(int32_t tool);

/* ---- Declared by the engine, never called by the add-in ------------------------------------ */

WKEXPORT int32_t WKAPI WKDoTestAction(int32_t hdl, int32_t action);
WKEXPORT int32_t WKAPI WKMgrInitialize(int32_t ideType);
WKEXPORT int32_t WKAPI WKMgrTerminate(void);
WKEXPORT int32_t WKAPI WKMgrSendData(const char* data, int32_t size);
WKEXPORT int32_t WKAPI WKMgrRecvData(char* buffer, int32_t size);
WKEXPORT int32_t WKAPI WKGetFontInfo(char* name, int32_t nameSize, int32_t* pointSize);
WKEXPORT int32_t WKAPI WKGetSplashScreenBMPName(char* buffer, int32_t size);
WKEXPORT int32_t WKAPI WKBuildSQLStatement(int32_t hdl, char* buffer, int32_t size);
WKEXPORT int16_t WKAPI WKParameterDEEnumBegin(int32_t commandHdl, int32_t* enumHdl);
WKEXPORT int16_t WKAPI WKParameterDEEnumNext(int32_t enumHdl, twkParameterDE_abi* rec);
WKEXPORT int32_t WKAPI WKParameterDEEnumEnd(int32_t enumHdl);
WKEXPORT int32_t WKAPI WKObjectDoPaste(int32_t hdl);
WKEXPORT int16_t WKAPI WKConnectionEnumBegin(int32_t projectHdl, int32_t* enumHdl);
WKEXPORT int16_t WKAPI WKConnectionEnumNext(int32_t enumHdl, twkConnection_abi* rec);
WKEXPORT int32_t WKAPI WKConnectionEnumEnd(int32_t enumHdl);

#ifdef __cplusplus
}
#endif

#endif /* NIMB_ENGINE_WKABI_H */

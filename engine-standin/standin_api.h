/* The stand-in engine's own functions for tests and the simulated IDE: reset the engine, read its
 * journal of calls, inject notifications, find handles by name and fill folders with generated
 * objects. The add-in never calls them; any other engine simply lacks them. Same calling
 * convention and string rules as the engine functions of wkabi.h. */
#ifndef NIMB_STANDIN_API_H
#define NIMB_STANDIN_API_H

#include "engine/wkabi.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The fields of an injected database object; null strings read as empty. Which fields count
 * depends on the object's type, as in the records of wkabi.h. strFileName is the routine's source
 * file relative to the engine project's folder ('/' or '\' separated). */
typedef struct WKSI_ObjectFields {
    const char* strSchema;
    const char* strName;
    const char* strSpecific;
    const char* strParameters;
    const char* strResult;
    const char* strLanguage;
    const char* strSQLPackage;
    const char* strComment;
    const char* strFileName;
    const char* strTableSchema;
    const char* strTableName;
    const char* strTableSpace;
    int32_t lResultSets;
    int32_t lTableType;
    wkBool bIsFenced;
    wkBool bIsDirty;
    wkBool bCanDebug;
} WKSI_ObjectFields;

/* A fresh engine: no project, nothing queued, an empty journal, handles numbered from the start. */
WKEXPORT int32_t WKAPI WKSI_Reset(void);

/* The journal, one call a line ("WKObjectDoAction(1012, 18)"), each line ending in a line feed.
 * Writes at most size - 1 characters and a NUL; returns the journal's whole length, so a call with
 * size 0 asks how big the buffer must be. */
WKEXPORT int32_t WKAPI WKSI_GetJournal(char* buffer, int32_t size);
WKEXPORT int32_t WKAPI WKSI_ClearJournal(void);

/* Waits, at most milliseconds, until the work asked of live connections has been done and its
 * notifications queued; 1 when it has, 0 when some still runs. Lets a test or a host running in
 * virtual time see the engine's answers at the next poll, however fast the machine. */
WKEXPORT int32_t WKAPI WKSI_WaitIdle(int32_t milliseconds);

/* How many notifications wait in the queue. */
WKEXPORT int32_t WKAPI WKSI_PendingNotifications(void);

/* Queues any notification record as it stands, kinds outside 2..10 included. Returns 1. */
WKEXPORT int32_t WKAPI WKSI_InjectNotification(int32_t kind, int32_t projectHdl, int32_t connectionHdl,
                                               int32_t objectType, int32_t objectHdl);

/* Queue a notification with its payload and return the payload's handle: a text (kind 2; text
 * type 1 command word or question, 3 message; buttons as in strButtons), SQL text (3), ADO code
 * (4), a Data Environment connection (9) or command (10). A question's answer changes nothing. */
WKEXPORT int32_t WKAPI WKSI_InjectText(int32_t textType, const char* text, const char* buttons);
WKEXPORT int32_t WKAPI WKSI_InjectSQLText(const char* project, const char* file, int32_t fromLine,
                                          int32_t fromColumn, int32_t toLine, int32_t toColumn,
                                          const char* text);
WKEXPORT int32_t WKAPI WKSI_InjectADOText(const char* project, const char* file, const char* text);
WKEXPORT int32_t WKAPI WKSI_InjectDEConnection(const char* project, const char* dataEnv,
                                               const char* connection, const char* connectionString);
WKEXPORT int32_t WKAPI WKSI_InjectDECommand(const char* project, const char* dataEnv, const char* connection,
                                            const char* command, const char* commandText, int32_t commandType,
                                            wkBool hasParameters);

/* Change the open project and queue what the engine would report: an object added to a folder
 * (kind 8; returns the new object's handle), an object's fields replaced (kind 6), an object
 * removed (kind 7). 0 when the handle is no folder or object, a name is missing or a file name
 * would leave the project's folder. */
WKEXPORT int32_t WKAPI WKSI_InjectObjectAdded(int32_t folderHdl, const WKSI_ObjectFields* fields);
WKEXPORT int32_t WKAPI WKSI_InjectObjectChanged(int32_t objectHdl, const WKSI_ObjectFields* fields);
WKEXPORT int32_t WKAPI WKSI_InjectObjectRemoved(int32_t objectHdl);

/* Adds count generated objects of objectType (the folder's type + 1) to a folder, for load tests,
 * and queues one "contents changed" for the folder. Returns how many were added (0 for a wrong
 * folder or type; count is capped at 1000000). */
WKEXPORT int32_t WKAPI WKSI_GenerateObjects(int32_t folderHdl, int32_t objectType, int32_t count);

/* The handle of the first thing of objectType named name in the open project: 5 the project (any
 * name, or its own), 6 a connection by database, 7..15 that folder of the connection with that
 * database, 8..16 an object by name or schema.name. 0 when there is none. */
WKEXPORT int32_t WKAPI WKSI_FindHandle(int32_t objectType, const char* name);

#ifdef __cplusplus
}
#endif

#endif /* NIMB_STANDIN_API_H */

#include "RecordWriter.h"

#include "AbiStrings.h"
#include "TextTable.h"

#include <limits>

namespace standin::RecordWriter {

using namespace nimb::VSAConstants;

namespace {

// The buffer sizes of the add-in's record wrappers, in characters.
constexpr int32_t small = 256;
constexpr int32_t large = 1024;
constexpr int32_t commandText = 4096;

wkBool flag(bool value) {
    return value ? WK_TRUE : WK_FALSE;
}

void put(char* slot, int32_t size, const std::string& value) {
    AbiStrings::copy(slot, size, value);
}

bool putText(char* slot, int32_t& size, const std::string& text) {
    int32_t given = size;
    size = text.size() < static_cast<size_t>(std::numeric_limits<int32_t>::max())
               ? static_cast<int32_t>(text.size()) + 1
               : std::numeric_limits<int32_t>::max();
    if (size > given || !slot)
        return false;
    put(slot, given, text);
    return true;
}

} // namespace

void fill(twkProject_abi& rec, const Project& project) {
    rec.lHdl = project.hdl;
    put(rec.strName, small, project.name);
    put(rec.strPath, large, project.path);
}

void fill(twkConnection_abi& rec, const Connection& connection) {
    rec.lHdl = connection.hdl;
    rec.bConnected = flag(connection.connected);
    put(rec.strDatabase, small,
        connection.working ? TextTable::format(TextTable::Working, {connection.database}) : connection.database);
    rec.lProceduresHdl = connection.folder(WK_OBJ_PROCEDURE_FOLDER).hdl;
    rec.lFunctionsHdl = connection.folder(WK_OBJ_FUNCTION_FOLDER).hdl;
    rec.lTriggersHdl = connection.folder(WK_OBJ_TRIGGER_FOLDER).hdl;
    rec.lTablesHdl = connection.folder(WK_OBJ_TABLE_FOLDER).hdl;
    rec.lViewsHdl = connection.folder(WK_OBJ_VIEW_FOLDER).hdl;
}

void fill(twkProcedure_abi& rec, const DbObject& o, const std::string& sourcePath) {
    rec.lHdl = o.hdl;
    rec.bIsDirty = flag(o.dirty);
    rec.bCanDebug = flag(o.canDebug);
    put(rec.strSchema, small, o.schema);
    put(rec.strName, large, o.name);
    put(rec.strSpecific, large, o.specific);
    put(rec.strParameters, large, o.parameters);
    put(rec.strLanguage, small, o.language);
    put(rec.strSQLPackage, small, o.sqlPackage);
    rec.lResultSets = o.resultSets;
    rec.bIsFenced = flag(o.fenced);
    put(rec.strComment, small, o.comment);
    put(rec.strFileName, large, sourcePath);
}

void fill(twkFunction_abi& rec, const DbObject& o, const std::string& sourcePath) {
    rec.lHdl = o.hdl;
    rec.bIsDirty = flag(o.dirty);
    rec.bCanDebug = flag(o.canDebug);
    put(rec.strSchema, small, o.schema);
    put(rec.strName, small, o.name);
    put(rec.strSpecific, large, o.specific);
    put(rec.strParameters, large, o.parameters);
    put(rec.strResult, large, o.result);
    put(rec.strLanguage, small, o.language);
    rec.bIsFenced = o.fenced ? 1 : 0; // a Long in this record, shown as a number
    put(rec.strComment, small, o.comment);
    put(rec.strFileName, large, sourcePath);
}

void fill(twkTrigger_abi& rec, const DbObject& o, const std::string& sourcePath) {
    rec.lHdl = o.hdl;
    rec.bIsDirty = flag(o.dirty);
    rec.bCanDebug = flag(o.canDebug);
    put(rec.strSchema, small, o.schema);
    put(rec.strName, small, o.name);
    put(rec.strTableSchema, small, o.tableSchema);
    put(rec.strTableName, small, o.tableName);
    put(rec.strComment, small, o.comment);
    put(rec.strFileName, large, sourcePath);
}

void fill(twkTable_abi& rec, const DbObject& o) {
    rec.lHdl = o.hdl;
    rec.bIsDirty = flag(o.dirty);
    put(rec.strSchema, small, o.schema);
    put(rec.strName, small, o.name);
    put(rec.strTableSpace, small, o.tableSpace);
    rec.lType = o.tableType;
    put(rec.strComment, small, o.comment);
}

void fill(twkView_abi& rec, const DbObject& o) {
    rec.lHdl = o.hdl;
    rec.bIsDirty = flag(o.dirty);
    put(rec.strSchema, small, o.schema);
    put(rec.strName, small, o.name);
    put(rec.strComment, small, o.comment);
}

void fill(twkParameterDE_abi& rec, const AdoCodeGen::RoutineParameter& p) {
    put(rec.strName, small, p.name);
    rec.lMode = p.mode;
    rec.lSQLType = 0;
    rec.lSQLSize = p.size;
    rec.lSQLPrecision = p.precision;
    rec.bBitData = WK_FALSE;
}

void fill(twkConnectionDE_abi& rec, const DEConnectionItem& item) {
    put(rec.strVSProject, small, item.project);
    put(rec.strDEName, small, item.dataEnv);
    put(rec.strDEConnection, small, item.connection);
    put(rec.strConnectionString, large, item.connectionString);
}

void fill(twkCommandDE_abi& rec, const DECommandItem& item) {
    put(rec.strVSProject, small, item.project);
    put(rec.strDEName, small, item.dataEnv);
    put(rec.strDEConnection, small, item.connection);
    put(rec.strDECommand, small, item.command);
    put(rec.strCommandText, commandText, item.commandText);
    rec.lCommandType = item.commandType;
    rec.bHasParemeters = flag(item.hasParameters);
}

bool fill(twkText_abi& rec, const TextItem& item) {
    rec.lTextType = item.type;
    put(rec.strButtons, small, item.buttons);
    return putText(rec.strText, rec.lTextSz, item.text);
}

bool fill(twkSQLText_abi& rec, const SQLItem& item) {
    put(rec.strVSProject, large, item.project);
    put(rec.strVSFile, large, item.file);
    rec.lSelFromLine = item.fromLine;
    rec.lSelFromColumn = item.fromColumn;
    rec.lSelToLine = item.toLine;
    rec.lSelToColumn = item.toColumn;
    return putText(rec.strText, rec.lTextSz, item.text);
}

bool fill(twkADOText_abi& rec, const ADOItem& item) {
    put(rec.strVSProject, large, item.project);
    put(rec.strVSFile, large, item.file);
    return putText(rec.strText, rec.lTextSz, item.text);
}

void clear(twkProject_abi& rec) {
    rec.lHdl = 0;
}

void clear(twkConnection_abi& rec) {
    rec.lHdl = 0;
    rec.bConnected = WK_FALSE;
    rec.lProceduresHdl = rec.lFunctionsHdl = rec.lTriggersHdl = rec.lTablesHdl = rec.lViewsHdl = 0;
}

void clear(twkProcedure_abi& rec) {
    rec.lHdl = 0;
    rec.bIsDirty = rec.bCanDebug = rec.bIsFenced = WK_FALSE;
    rec.lResultSets = 0;
}

void clear(twkFunction_abi& rec) {
    rec.lHdl = 0;
    rec.bIsDirty = rec.bCanDebug = WK_FALSE;
    rec.bIsFenced = 0;
}

void clear(twkTrigger_abi& rec) {
    rec.lHdl = 0;
    rec.bIsDirty = rec.bCanDebug = WK_FALSE;
}

void clear(twkTable_abi& rec) {
    rec.lHdl = 0;
    rec.bIsDirty = WK_FALSE;
    rec.lType = 0;
}

void clear(twkView_abi& rec) {
    rec.lHdl = 0;
    rec.bIsDirty = WK_FALSE;
}

void clear(twkParameterDE_abi& rec) {
    rec.lMode = rec.lSQLType = rec.lSQLSize = rec.lSQLPrecision = 0;
    rec.bBitData = WK_FALSE;
}

void clear(twkText_abi& rec) {
    rec.lTextSz = rec.lTextType = 0;
}

void clear(twkSQLText_abi& rec) {
    rec.lSelFromLine = rec.lSelFromColumn = rec.lSelToLine = rec.lSelToColumn = rec.lTextSz = 0;
}

void clear(twkADOText_abi& rec) {
    rec.lTextSz = 0;
}

void clear(twkConnectionDE_abi&) {}

void clear(twkCommandDE_abi& rec) {
    rec.lCommandType = 0;
    rec.bHasParemeters = WK_FALSE;
}

} // namespace standin::RecordWriter

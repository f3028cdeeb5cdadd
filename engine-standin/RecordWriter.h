// RecordWriter: fills the boundary records. Every string slot is a caller buffer whose size the
// add-in's wrapper table fixes; no more than that size - 1 characters and a NUL are written, and
// a null slot is skipped. For a handle that names nothing the numbers are zeroed and the buffers
// are left as the caller gave them.
#pragma once

#include "AdoCodeGen.h"
#include "Catalogue.h"
#include "NotificationQueue.h"
#include "engine/wkabi.h"

#include <string>

namespace standin::RecordWriter {

void fill(twkProject_abi& rec, const Project& project);
void fill(twkConnection_abi& rec, const Connection& connection);
// sourcePath: the routine's source file as the record shows it (a full path).
void fill(twkProcedure_abi& rec, const DbObject& object, const std::string& sourcePath);
void fill(twkFunction_abi& rec, const DbObject& object, const std::string& sourcePath);
void fill(twkTrigger_abi& rec, const DbObject& object, const std::string& sourcePath);
void fill(twkTable_abi& rec, const DbObject& object);
void fill(twkView_abi& rec, const DbObject& object);
void fill(twkParameterDE_abi& rec, const AdoCodeGen::RoutineParameter& parameter);
void fill(twkConnectionDE_abi& rec, const DEConnectionItem& item);
void fill(twkCommandDE_abi& rec, const DECommandItem& item);

// The text records: lTextSz comes in as the size of the strText buffer and goes out as the size
// the text needs with its NUL. When that is more than was given, strText is left untouched and
// the caller asks again with a bigger buffer. Returns whether the text was written.
bool fill(twkText_abi& rec, const TextItem& item);
bool fill(twkSQLText_abi& rec, const SQLItem& item);
bool fill(twkADOText_abi& rec, const ADOItem& item);

void clear(twkProject_abi& rec);
void clear(twkConnection_abi& rec);
void clear(twkProcedure_abi& rec);
void clear(twkFunction_abi& rec);
void clear(twkTrigger_abi& rec);
void clear(twkTable_abi& rec);
void clear(twkView_abi& rec);
void clear(twkParameterDE_abi& rec);
void clear(twkText_abi& rec);
void clear(twkSQLText_abi& rec);
void clear(twkADOText_abi& rec);
void clear(twkConnectionDE_abi& rec);
void clear(twkCommandDE_abi& rec);

} // namespace standin::RecordWriter

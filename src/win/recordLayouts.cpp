// The type library's records against the engine boundary's: on 32-bit Windows, where a String
// slot and a pointer are both 4 bytes, a record VB programs build from the library must have the
// engine's layout, field for field. The 64-bit build has nothing to compare (its pointers are
// wider than the boundary's) and compiles this to nothing.
#include "engine/wkabi.h"
#include "nimbvbaddLib.h"

#include <cstddef>

#define NIMB_SAME_SIZE(record) \
    static_assert(sizeof(void*) != 4 || sizeof(record) == sizeof(record##_abi), #record " differs in size")
#define NIMB_SAME_FIELD(record, field)                                                  \
    static_assert(sizeof(void*) != 4 || (offsetof(record, field) == offsetof(record##_abi, field) && \
                                         sizeof(record::field) == sizeof(record##_abi::field)),      \
                  #record "." #field " differs")

NIMB_SAME_SIZE(twkNotify);
NIMB_SAME_FIELD(twkNotify, lNotifyType);
NIMB_SAME_FIELD(twkNotify, lProjectHdl);
NIMB_SAME_FIELD(twkNotify, lConnectionHdl);
NIMB_SAME_FIELD(twkNotify, lObjectType);
NIMB_SAME_FIELD(twkNotify, lObjectHdl);
NIMB_SAME_SIZE(twkText);
NIMB_SAME_FIELD(twkText, strText);
NIMB_SAME_FIELD(twkText, lTextSz);
NIMB_SAME_FIELD(twkText, lTextType);
NIMB_SAME_FIELD(twkText, strButtons);
NIMB_SAME_SIZE(twkSQLText);
NIMB_SAME_FIELD(twkSQLText, strVSProject);
NIMB_SAME_FIELD(twkSQLText, strVSFile);
NIMB_SAME_FIELD(twkSQLText, lSelFromLine);
NIMB_SAME_FIELD(twkSQLText, lSelFromColumn);
NIMB_SAME_FIELD(twkSQLText, lSelToLine);
NIMB_SAME_FIELD(twkSQLText, lSelToColumn);
NIMB_SAME_FIELD(twkSQLText, strText);
NIMB_SAME_FIELD(twkSQLText, lTextSz);
NIMB_SAME_SIZE(twkADOText);
NIMB_SAME_FIELD(twkADOText, strVSProject);
NIMB_SAME_FIELD(twkADOText, strVSFile);
NIMB_SAME_FIELD(twkADOText, strText);
NIMB_SAME_FIELD(twkADOText, lTextSz);
NIMB_SAME_SIZE(twkConnectionDE);
NIMB_SAME_FIELD(twkConnectionDE, strVSProject);
NIMB_SAME_FIELD(twkConnectionDE, strDEName);
NIMB_SAME_FIELD(twkConnectionDE, strDEConnection);
NIMB_SAME_FIELD(twkConnectionDE, strConnectionString);
NIMB_SAME_SIZE(twkCommandDE);
NIMB_SAME_FIELD(twkCommandDE, strVSProject);
NIMB_SAME_FIELD(twkCommandDE, strDEName);
NIMB_SAME_FIELD(twkCommandDE, strDEConnection);
NIMB_SAME_FIELD(twkCommandDE, strDECommand);
NIMB_SAME_FIELD(twkCommandDE, strCommandText);
NIMB_SAME_FIELD(twkCommandDE, lCommandType);
NIMB_SAME_FIELD(twkCommandDE, bHasParemeters);
NIMB_SAME_SIZE(twkParameterDE);
NIMB_SAME_FIELD(twkParameterDE, strName);
NIMB_SAME_FIELD(twkParameterDE, lMode);
NIMB_SAME_FIELD(twkParameterDE, lSQLType);
NIMB_SAME_FIELD(twkParameterDE, lSQLSize);
NIMB_SAME_FIELD(twkParameterDE, lSQLPrecision);
NIMB_SAME_FIELD(twkParameterDE, bBitData);
NIMB_SAME_SIZE(twkProject);
NIMB_SAME_FIELD(twkProject, lHdl);
NIMB_SAME_FIELD(twkProject, strName);
NIMB_SAME_FIELD(twkProject, strPath);
NIMB_SAME_SIZE(twkConnection);
NIMB_SAME_FIELD(twkConnection, lHdl);
NIMB_SAME_FIELD(twkConnection, bConnected);
NIMB_SAME_FIELD(twkConnection, strDatabase);
NIMB_SAME_FIELD(twkConnection, lProceduresHdl);
NIMB_SAME_FIELD(twkConnection, lFunctionsHdl);
NIMB_SAME_FIELD(twkConnection, lTriggersHdl);
NIMB_SAME_FIELD(twkConnection, lTablesHdl);
NIMB_SAME_FIELD(twkConnection, lViewsHdl);
NIMB_SAME_SIZE(twkProcedure);
NIMB_SAME_FIELD(twkProcedure, lHdl);
NIMB_SAME_FIELD(twkProcedure, bIsDirty);
NIMB_SAME_FIELD(twkProcedure, bCanDebug);
NIMB_SAME_FIELD(twkProcedure, strSchema);
NIMB_SAME_FIELD(twkProcedure, strName);
NIMB_SAME_FIELD(twkProcedure, strSpecific);
NIMB_SAME_FIELD(twkProcedure, strParameters);
NIMB_SAME_FIELD(twkProcedure, strLanguage);
NIMB_SAME_FIELD(twkProcedure, strSQLPackage);
NIMB_SAME_FIELD(twkProcedure, lResultSets);
NIMB_SAME_FIELD(twkProcedure, bIsFenced);
NIMB_SAME_FIELD(twkProcedure, strComment);
NIMB_SAME_FIELD(twkProcedure, strFileName);
NIMB_SAME_SIZE(twkFunction);
NIMB_SAME_FIELD(twkFunction, lHdl);
NIMB_SAME_FIELD(twkFunction, bIsDirty);
NIMB_SAME_FIELD(twkFunction, bCanDebug);
NIMB_SAME_FIELD(twkFunction, strSchema);
NIMB_SAME_FIELD(twkFunction, strName);
NIMB_SAME_FIELD(twkFunction, strSpecific);
NIMB_SAME_FIELD(twkFunction, strParameters);
NIMB_SAME_FIELD(twkFunction, strResult);
NIMB_SAME_FIELD(twkFunction, strLanguage);
NIMB_SAME_FIELD(twkFunction, bIsFenced);
NIMB_SAME_FIELD(twkFunction, strComment);
NIMB_SAME_FIELD(twkFunction, strFileName);
NIMB_SAME_SIZE(twkTrigger);
NIMB_SAME_FIELD(twkTrigger, lHdl);
NIMB_SAME_FIELD(twkTrigger, bIsDirty);
NIMB_SAME_FIELD(twkTrigger, bCanDebug);
NIMB_SAME_FIELD(twkTrigger, strSchema);
NIMB_SAME_FIELD(twkTrigger, strName);
NIMB_SAME_FIELD(twkTrigger, strTableSchema);
NIMB_SAME_FIELD(twkTrigger, strTableName);
NIMB_SAME_FIELD(twkTrigger, strComment);
NIMB_SAME_FIELD(twkTrigger, strFileName);
NIMB_SAME_SIZE(twkTable);
NIMB_SAME_FIELD(twkTable, lHdl);
NIMB_SAME_FIELD(twkTable, bIsDirty);
NIMB_SAME_FIELD(twkTable, strSchema);
NIMB_SAME_FIELD(twkTable, strName);
NIMB_SAME_FIELD(twkTable, strTableSpace);
NIMB_SAME_FIELD(twkTable, lType);
NIMB_SAME_FIELD(twkTable, strComment);
NIMB_SAME_SIZE(twkView);
NIMB_SAME_FIELD(twkView, lHdl);
NIMB_SAME_FIELD(twkView, bIsDirty);
NIMB_SAME_FIELD(twkView, strSchema);
NIMB_SAME_FIELD(twkView, strName);
NIMB_SAME_FIELD(twkView, strComment);

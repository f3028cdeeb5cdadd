// The engine records as the add-in holds them: text as UTF-8 std::string, Booleans as bool. The
// boundary layout lives in wkabi.h; the wrappers in wkutil convert between the two.
#pragma once

#include <cstdint>
#include <string>

namespace nimb {

struct twkNotify {
    int32_t lNotifyType = 0;
    int32_t lProjectHdl = 0;
    int32_t lConnectionHdl = 0;
    int32_t lObjectType = 0;
    int32_t lObjectHdl = 0;
};

struct twkText {
    std::string strText;
    int32_t lTextSz = 0;
    int32_t lTextType = 0;
    std::string strButtons;
};

struct twkSQLText {
    std::string strVSProject;
    std::string strVSFile;
    int32_t lSelFromLine = 0;
    int32_t lSelFromColumn = 0;
    int32_t lSelToLine = 0;
    int32_t lSelToColumn = 0;
    std::string strText;
    int32_t lTextSz = 0;
};

struct twkADOText {
    std::string strVSProject;
    std::string strVSFile;
    std::string strText;
    int32_t lTextSz = 0;
};

struct twkConnectionDE {
    std::string strVSProject;
    std::string strDEName;
    std::string strDEConnection;
    std::string strConnectionString;
};

struct twkCommandDE {
    std::string strVSProject;
    std::string strDEName;
    std::string strDEConnection;
    std::string strDECommand;
    std::string strCommandText;
    int32_t lCommandType = 0;
    bool bHasParemeters = false;
};

struct twkParameterDE {
    std::string strName;
    int32_t lMode = 0;
    int32_t lSQLType = 0;
    int32_t lSQLSize = 0;
    int32_t lSQLPrecision = 0;
    bool bBitData = false;
};

struct twkProject {
    int32_t lHdl = 0;
    std::string strName;
    std::string strPath;
};

struct twkConnection {
    int32_t lHdl = 0;
    bool bConnected = false;
    std::string strDatabase;
    int32_t lProceduresHdl = 0;
    int32_t lFunctionsHdl = 0;
    int32_t lTriggersHdl = 0;
    int32_t lTablesHdl = 0;
    int32_t lViewsHdl = 0;
};

struct twkProcedure {
    int32_t lHdl = 0;
    bool bIsDirty = false;
    bool bCanDebug = false;
    std::string strSchema;
    std::string strName;
    std::string strSpecific;
    std::string strParameters;
    std::string strLanguage;
    std::string strSQLPackage;
    int32_t lResultSets = 0;
    bool bIsFenced = false;
    std::string strComment;
    std::string strFileName;
};

struct twkFunction {
    int32_t lHdl = 0;
    bool bIsDirty = false;
    bool bCanDebug = false;
    std::string strSchema;
    std::string strName;
    std::string strSpecific;
    std::string strParameters;
    std::string strResult;
    std::string strLanguage;
    int32_t bIsFenced = 0;  // a Long in this record, shown as a number
    std::string strComment;
    std::string strFileName;
};

struct twkTrigger {
    int32_t lHdl = 0;
    bool bIsDirty = false;
    bool bCanDebug = false;
    std::string strSchema;
    std::string strName;
    std::string strTableSchema;
    std::string strTableName;
    std::string strComment;
    std::string strFileName;
};

struct twkTable {
    int32_t lHdl = 0;
    bool bIsDirty = false;
    std::string strSchema;
    std::string strName;
    std::string strTableSpace;
    int32_t lType = 0;
    std::string strComment;
};

struct twkView {
    int32_t lHdl = 0;
    bool bIsDirty = false;
    std::string strSchema;
    std::string strName;
    std::string strComment;
};

} // namespace nimb

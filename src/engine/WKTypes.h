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

    bool operator==(const twkNotify&) const = default;
};

struct twkText {
    std::string strText;
    int32_t lTextSz = 0;
    int32_t lTextType = 0;
    std::string strButtons;

    bool operator==(const twkText&) const = default;
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

    bool operator==(const twkSQLText&) const = default;
};

struct twkADOText {
    std::string strVSProject;
    std::string strVSFile;
    std::string strText;
    int32_t lTextSz = 0;

    bool operator==(const twkADOText&) const = default;
};

struct twkConnectionDE {
    std::string strVSProject;
    std::string strDEName;
    std::string strDEConnection;
    std::string strConnectionString;

    bool operator==(const twkConnectionDE&) const = default;
};

struct twkCommandDE {
    std::string strVSProject;
    std::string strDEName;
    std::string strDEConnection;
    std::string strDECommand;
    std::string strCommandText;
    int32_t lCommandType = 0;
    bool bHasParemeters = false;

    bool operator==(const twkCommandDE&) const = default;
};

struct twkParameterDE {
    std::string strName;
    int32_t lMode = 0;
    int32_t lSQLType = 0;
    int32_t lSQLSize = 0;
    int32_t lSQLPrecision = 0;
    bool bBitData = false;

    bool operator==(const twkParameterDE&) const = default;
};

struct twkProject {
    int32_t lHdl = 0;
    std::string strName;
    std::string strPath;

    bool operator==(const twkProject&) const = default;
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

    bool operator==(const twkConnection&) const = default;
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

    bool operator==(const twkProcedure&) const = default;
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

    bool operator==(const twkFunction&) const = default;
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

    bool operator==(const twkTrigger&) const = default;
};

struct twkTable {
    int32_t lHdl = 0;
    bool bIsDirty = false;
    std::string strSchema;
    std::string strName;
    std::string strTableSpace;
    int32_t lType = 0;
    std::string strComment;

    bool operator==(const twkTable&) const = default;
};

struct twkView {
    int32_t lHdl = 0;
    bool bIsDirty = false;
    std::string strSchema;
    std::string strName;
    std::string strComment;

    bool operator==(const twkView&) const = default;
};

} // namespace nimb

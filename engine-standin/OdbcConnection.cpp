#include "OdbcConnection.h"

#include "OdbcStatement.h"

#include <cstdint>

namespace standin {

namespace {

bool succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

} // namespace

OdbcError odbcError(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback) {
    std::string state, text;
    for (SQLSMALLINT record = 1; record <= 4; ++record) {
        SQLCHAR sqlState[6] = {};
        SQLCHAR message[1024] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!succeeded(SQLGetDiagRec(handleType, handle, record, sqlState, &native, message, sizeof message,
                                     &length)))
            break;
        if (state.empty())
            state = reinterpret_cast<char*>(sqlState);
        std::string line = reinterpret_cast<char*>(message);
        while (!line.empty() && (line.back() == '\n' || line.back() == ' ' || line.back() == ';'))
            line.pop_back();
        if (!line.empty() && text.find(line) == std::string::npos)
            text += (text.empty() ? "" : "\n") + line;
    }
    return OdbcError(state, text.empty() ? fallback : text);
}

OdbcConnection::OdbcConnection(const std::string& connectionString, SQLUINTEGER timeout) : timeout_(timeout) {
    try {
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)))
            throw OdbcError("", "the ODBC driver manager could not be started");
        SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_)))
            throw odbcError(SQL_HANDLE_ENV, env_, "no ODBC connection could be made");
        SQLSetConnectAttr(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(uintptr_t{timeout}), 0);
        SQLSetConnectAttr(dbc_, SQL_ATTR_CONNECTION_TIMEOUT, reinterpret_cast<SQLPOINTER>(uintptr_t{timeout}),
                          0);
        std::string in = connectionString;
        SQLCHAR out[1024];
        SQLSMALLINT outLength = 0;
        SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(in.data()),
                                        static_cast<SQLSMALLINT>(in.size()), out, sizeof out, &outLength,
                                        SQL_DRIVER_NOPROMPT);
        if (!succeeded(rc))
            throw odbcError(SQL_HANDLE_DBC, dbc_, "the database refused the connection");
        connected_ = true;
        dbmsName_ = info(SQL_DBMS_NAME);
        quote_ = info(SQL_IDENTIFIER_QUOTE_CHAR);
        if (quote_ == " ") // the driver has no identifier quoting
            quote_.clear();
    } catch (...) {
        release();
        throw;
    }
}

OdbcConnection::~OdbcConnection() {
    release();
}

void OdbcConnection::release() {
    if (connected_)
        SQLDisconnect(dbc_);
    connected_ = false;
    if (dbc_ != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    dbc_ = SQL_NULL_HDBC;
    if (env_ != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
    env_ = SQL_NULL_HENV;
}

std::string OdbcConnection::info(SQLUSMALLINT what) const {
    SQLCHAR value[256] = {};
    SQLSMALLINT length = 0;
    if (!succeeded(SQLGetInfo(dbc_, what, value, sizeof value, &length)))
        return {};
    return reinterpret_cast<char*>(value);
}

std::string OdbcConnection::quoted(std::string_view name) const {
    if (quote_.empty())
        return std::string(name);
    std::string out = quote_;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name.compare(i, quote_.size(), quote_) == 0)
            out += quote_; // doubled: the quote stays part of the name
        out += name[i];
    }
    return out + quote_;
}

std::string OdbcConnection::quoted(std::string_view schema, std::string_view name) const {
    return schema.empty() ? quoted(name) : quoted(schema) + "." + quoted(name);
}

bool OdbcConnection::dead() const {
    SQLUINTEGER state = SQL_CD_FALSE;
    return succeeded(SQLGetConnectAttr(dbc_, SQL_ATTR_CONNECTION_DEAD, &state, 0, nullptr)) &&
           state == SQL_CD_TRUE;
}

std::unique_ptr<OdbcStatement> OdbcConnection::statement() const {
    return std::make_unique<OdbcStatement>(dbc_, timeout_);
}

} // namespace standin

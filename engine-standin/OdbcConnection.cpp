#include "OdbcConnection.h"

#include "ConnectionString.h"
#include "OdbcStatement.h"
#include "OdbcWorker.h"

#include <cstdint>
#include <vector>

namespace standin {

namespace {

bool succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// The drivers the driver manager has registered, by the names a DRIVER= key gives them.
std::vector<std::string> registeredDrivers(SQLHENV env) {
    std::vector<std::string> drivers;
    SQLCHAR description[256], attributes[1024];
    SQLSMALLINT descriptionLength = 0, attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (succeeded(SQLDrivers(env, direction, description, sizeof description, &descriptionLength,
                                attributes, sizeof attributes, &attributesLength))) {
        drivers.emplace_back(reinterpret_cast<char*>(description));
        direction = SQL_FETCH_NEXT;
    }
    return drivers;
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

OdbcConnection::OdbcConnection(const std::string& connectionString, SQLUINTEGER timeout)
    : timeout_(timeout), worker_(std::make_unique<OdbcWorker>(static_cast<int>(timeout))),
      link_(std::make_shared<OdbcLink>()) {
    worker_->run([link = link_, in = connectionString, timeout]() mutable {
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &link->env)))
            throw OdbcError("", "the ODBC driver manager could not be started");
        SQLSetEnvAttr(link->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        // A project file must not make the engine load code of its choosing.
        std::string refused = ConnectionString::refusal(in, registeredDrivers(link->env));
        if (!refused.empty())
            throw OdbcError("", refused);
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_DBC, link->env, &link->dbc)))
            throw odbcError(SQL_HANDLE_ENV, link->env, "no ODBC connection could be made");
        auto seconds = reinterpret_cast<SQLPOINTER>(uintptr_t{timeout});
        SQLSetConnectAttr(link->dbc, SQL_ATTR_LOGIN_TIMEOUT, seconds, 0);
        SQLSetConnectAttr(link->dbc, SQL_ATTR_CONNECTION_TIMEOUT, seconds, 0);
        SQLCHAR out[1024];
        SQLSMALLINT outLength = 0;
        SQLRETURN rc = SQLDriverConnect(link->dbc, nullptr, reinterpret_cast<SQLCHAR*>(in.data()),
                                        static_cast<SQLSMALLINT>(in.size()), out, sizeof out, &outLength,
                                        SQL_DRIVER_NOPROMPT);
        if (!succeeded(rc))
            throw odbcError(SQL_HANDLE_DBC, link->dbc, "the database refused the connection");
        link->connected = true;
    });
    dbmsName_ = info(SQL_DBMS_NAME);
    quote_ = info(SQL_IDENTIFIER_QUOTE_CHAR);
    if (quote_ == " ") // the driver has no identifier quoting
        quote_.clear();
}

OdbcConnection::~OdbcConnection() {
    // Closing talks to the server too, so it is bounded like any other call.
    try {
        if (!worker_->givenUp())
            worker_->run([link = std::move(link_)]() mutable { link.reset(); });
    } catch (...) {
        // given up or called off: the handles go when the driver lets go of them
    }
}

OdbcLink::~OdbcLink() {
    if (connected)
        SQLDisconnect(dbc);
    if (dbc != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    if (env != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, env);
}

std::string OdbcConnection::info(SQLUSMALLINT what) const {
    // What a job fills is its own, since a job given up may still finish after the caller left.
    auto text = std::make_shared<std::string>();
    worker_->run([link = link_, what, text] {
        SQLCHAR value[256] = {};
        SQLSMALLINT length = 0;
        if (succeeded(SQLGetInfo(link->dbc, what, value, sizeof value, &length)))
            *text = reinterpret_cast<char*>(value);
    });
    return *text;
}

std::string OdbcConnection::quoted(std::string_view name) const {
    return Identifier::quoted(quote_, name);
}

std::string OdbcConnection::quoted(std::string_view schema, std::string_view name) const {
    return schema.empty() ? quoted(name) : quoted(schema) + "." + quoted(name);
}

bool OdbcConnection::dead() const {
    if (worker_->givenUp())
        return true;
    auto dead = std::make_shared<bool>(false);
    worker_->run([link = link_, dead] {
        SQLUINTEGER state = SQL_CD_FALSE;
        *dead = succeeded(SQLGetConnectAttr(link->dbc, SQL_ATTR_CONNECTION_DEAD, &state, 0, nullptr)) &&
                state == SQL_CD_TRUE;
    });
    return *dead;
}

bool OdbcConnection::givenUp() const {
    return worker_->givenUp();
}

std::unique_ptr<OdbcStatement> OdbcConnection::statement() const {
    return std::make_unique<OdbcStatement>(*worker_, link_, timeout_);
}

} // namespace standin

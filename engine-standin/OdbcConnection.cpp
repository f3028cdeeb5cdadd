#include "OdbcConnection.h"
#include "Caseless.h"

#include "ConnectionString.h"
#include "OdbcStatement.h"
#include "OdbcWorker.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <vector>

namespace standin {

namespace {

bool succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

struct Driver {
    std::string name; // as a DRIVER= key gives it
    std::string file; // the library the driver manager loads for it
};

// The drivers the driver manager has registered. Their attributes come as KEY=value texts, each
// ended by a NUL.
std::vector<Driver> registeredDrivers(SQLHENV env) {
    std::vector<Driver> drivers;
    SQLCHAR description[256] = {}, attributes[2048] = {};
    SQLSMALLINT descriptionLength = 0, attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (succeeded(SQLDrivers(env, direction, description, sizeof description, &descriptionLength,
                                attributes, sizeof attributes, &attributesLength))) {
        Driver driver{reinterpret_cast<char*>(description), {}};
        const char* text = reinterpret_cast<const char*>(attributes);
        size_t length = std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(attributesLength, 0)),
                                         sizeof attributes - 1);
        for (size_t at = 0; at < length && text[at];) {
            std::string attribute(text + at);
            if (startsCaseless(attribute, "Driver="))
                driver.file = attribute.substr(7);
            at += attribute.size() + 1;
        }
        drivers.push_back(std::move(driver));
        direction = SQL_FETCH_NEXT;
    }
    return drivers;
}

// The data sources the driver manager knows: upper-case name -> the name of their driver.
std::map<std::string, std::string> dataSources(SQLHENV env) {
    std::map<std::string, std::string> sources;
    SQLCHAR name[SQL_MAX_DSN_LENGTH + 1], driver[256];
    SQLSMALLINT nameLength = 0, driverLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (succeeded(SQLDataSources(env, direction, name, sizeof name, &nameLength, driver, sizeof driver,
                                    &driverLength))) {
        sources[upper(reinterpret_cast<char*>(name))] = reinterpret_cast<char*>(driver);
        direction = SQL_FETCH_NEXT;
    }
    return sources;
}

// What a driver is asked for on top of the project's connection string. PostgreSQL's driver reads
// a query's whole result in its first call unless told to read it through a cursor in blocks;
// then each block is a statement of its own that the query timeout bounds, so a read that keeps
// delivering rows is never cut by the time the whole read takes. A block is one batch of the
// engine's reads, so that each trip to the worker waits for at most one block. A connection
// string that sets these keys itself keeps its own choice.
std::string withDriverOptions(const std::string& connectionString, const std::vector<Driver>& drivers,
                              SQLHENV env) {
    std::string named = ConnectionString::driverOf(connectionString, dataSources(env));
    auto driver = std::find_if(drivers.begin(), drivers.end(),
                               [&](const Driver& d) { return !named.empty() && sameCaseless(d.name, named); });
    if (driver == drivers.end())
        return connectionString;
    std::string file = driver->file.substr(driver->file.find_last_of("/\\") + 1);
    if (!startsCaseless(file, "psqlodbc"))
        return connectionString;
    return ConnectionString::withOptions(
        connectionString, {{"UseDeclareFetch", "1"}, {"Fetch", std::to_string(OdbcStatement::batchRows)}});
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
        auto drivers = registeredDrivers(link->env);
        std::vector<std::string> names;
        for (const Driver& driver : drivers)
            names.push_back(driver.name);
        std::string refused = ConnectionString::refusal(in, names);
        if (!refused.empty())
            throw OdbcError("", refused);
        in = withDriverOptions(in, drivers, link->env);
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

// ConnectionString: what the engine checks in and shows of an ODBC connection string that comes
// from a project file. A project file is data: it may name a driver the driver manager has
// registered, never a driver file to load (a path, or a file DSN that could name one), and the
// password it carries is never shown back.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace standin::ConnectionString {

// Why connectionString may not be opened, given the drivers the driver manager has registered;
// empty when it may.
std::string refusal(const std::string& connectionString, const std::vector<std::string>& registeredDrivers);

// The registered driver connectionString reaches: its DRIVER= value, or the driver of its DSN=
// among dataSources (upper-case name -> driver), whichever key comes first; empty when neither.
std::string driverOf(const std::string& connectionString,
                     const std::map<std::string, std::string>& dataSources);

// connectionString with each of options (key, value) added where it does not set that key itself.
std::string withOptions(const std::string& connectionString,
                        const std::vector<std::pair<std::string, std::string>>& options);

// connectionString with the value of every PWD (and PASSWORD) key replaced by asterisks.
std::string withoutPassword(const std::string& connectionString);

} // namespace standin::ConnectionString

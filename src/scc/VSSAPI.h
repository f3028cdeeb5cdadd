// VSSAPI: what the add-in knows of Visual SourceSafe - whether it is installed and which databases
// are registered (both from the registry), the open database and the current SourceSafe project
// (kept between logins), and the three file commands of the server view.
#pragma once

#include "platform/registry/RegistryTypes.h"
#include "platform/vss/VSSDatabase.h"
#include "platform/vss/VSSItem.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nimb::VSSAPI {

// Module-wide values: Nothing before the first login; each login replaces them.
struct ModuleState {
    std::shared_ptr<vss::VSSDatabase> vssDatabase;
    std::shared_ptr<vss::VSSItem> vssCurrentProject;
    std::string vssIniPath;
};
ModuleState& moduleState();
void resetModuleState();

// A registered database: its name (the registry value's name) and the folder of its srcsafe.ini.
struct DatabaseEntry {
    std::string name;
    std::string folder;
    bool operator==(const DatabaseEntry&) const = default;
};
using DatabaseList = std::vector<DatabaseEntry>;

// What enumRegValue gives when the key cannot be opened or holds no value of that number.
inline constexpr const char* notFound = "Not Found";
// The title of every message the SourceSafe commands show with the exclamation icon.
inline constexpr const char* messageTitle = "WK Add-In With Visual SourceSafe";

// True when HKEY_LOCAL_MACHINE\Software\Microsoft\SourceSafe holds an SCCServerPath value.
bool isVSSInstalled();
// result := {name, data} of value number index (0-based) of rootKey\subKey; data is notFound when
// the key or the value is missing.
void enumRegValue(registry::HKEY rootKey, const std::string& subKey, int32_t index, std::array<std::string, 2>& result);
// The databases registered under HKEY_LOCAL_MACHINE\Software\Microsoft\SourceSafe\Databases, in
// enumeration order; False (dbList untouched) when there is none.
bool getVSSDatabases(DatabaseList& dbList);
// Replaces the open database by a new one opened as userName. dbName names a registered database;
// a text that names none is taken as the database's folder (or its srcsafe.ini itself). A failure
// is shown in a message box and gives False.
bool openVSSDatabase(const std::string& userName, const std::string& password, const std::string& dbName,
                     const DatabaseList& dbList);
// Makes the root "$/" current and lists its children; False (silently) when that fails or the root
// is empty.
bool getVSSProjects(std::vector<std::string>& projList);
// Makes "$/projName" current; a failure is shown in a message box.
void setVSSProject(const std::string& projName);
// Creates "$/projName" (an existing one is simply used) and makes it current.
void createVSSProject(const std::string& projName);

// The file commands: each reports its own problems and never raises.
void vssAddFile(const std::string& filePath);
void vssCheckOut(const std::string& filePath);
void vssCheckIn(const std::string& filePath);
// The part of path after its last "\".
std::string fileNameOfPath(const std::string& path);

} // namespace nimb::VSSAPI

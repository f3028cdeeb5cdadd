// ProjectStore: engine projects on disk - the .wkv file and, beside it, one source file per
// routine. Loading reads everything before anything is handed out; saving writes the sources first
// and the project file last, each atomically, so the project file never names a half-written file.
#pragma once

#include "Catalogue.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace standin::ProjectStore {

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The project in the file at path, with its routines' sources. A routine whose source file is
// missing loads without source. Error (with the reason) for a missing, unreadable or malformed file.
std::shared_ptr<Project> load(const std::string& path);
// A project without connections, named after the file (its name without folder and extension).
std::shared_ptr<Project> createEmpty(const std::string& path);
void save(const Project& project, const std::string& path);

// Where a routine's source lives when the project file is at projectPath; empty without a file.
std::string sourcePath(const std::string& projectPath, const DbObject& object);

} // namespace standin::ProjectStore

// LiveCatalogue: a live connection's folders read from its database and merged with what the
// engine project declares. The rows are read and matched with what the folders listed without the
// engine lock, then merged under it in short steps; an object already listed is updated in place
// and keeps its handle. Routines and triggers declared in the project (those with a source file)
// stay listed when the database lacks them, and are dirty then, or when their source changed since
// the last build; what only the database has is clean.
#pragma once

#include "Catalogue.h"

#include <cstdint>
#include <string>

namespace standin {

class LiveConnection;

namespace LiveCatalogue {

// Reads folderType's objects (procedures and functions are read together) into the connection's
// folders. OdbcError when the database cannot be read; the folders are then as they were.
void read(Catalogue& catalogue, Connection& connection, int32_t folderType, const std::string& projectPath);
// Every folder of the connection.
void readAll(Catalogue& catalogue, Connection& connection, const std::string& projectPath);

// The fingerprint of a source text that `built` keeps.
std::string fingerprint(const std::string& source);
// Whether a declared object's source (read again from its file) differs from what it was last
// built from; refreshes object.source from the file on the way.
bool changedSinceBuild(DbObject& object, const std::string& projectPath);

} // namespace LiveCatalogue

} // namespace standin

// Catalogue: the engine project in memory - the project, its connections, each connection's five
// folders and the database objects in them - and the one place that gives them handles, so that
// whatever is in the tree can be found by handle and whatever leaves it stops answering.
#pragma once

#include "HandleRegistry.h"
#include "engine/VSAConstants.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// One stored procedure, user function, trigger, table or view. Fields a kind does not have stay
// empty; the records hand out the ones of their kind. An object of a live connection is written
// only by that connection's lane (LiveWork), under the engine lock, so the lane may read it without.
struct Folder;

struct DbObject {
    int32_t type = 0; // object type: WK_OBJ_PROCEDURE ... WK_OBJ_VIEW
    int32_t hdl = 0;
    Folder* folder = nullptr; // the folder holding it; set by the catalogue
    std::string schema, name, specific, parameters, result, language, sqlPackage, comment;
    std::string fileName; // routine source, relative to the project file's folder, '/'-separated
    std::string tableSchema, tableName, tableSpace;
    int32_t resultSets = 0;
    int32_t tableType = 0;
    bool fenced = false;
    bool dirty = false;
    bool canDebug = false;
    std::optional<std::string> source; // empty when the source file could not be read
    std::vector<std::string> sampleRows;
    // Of a live connection's routines and triggers: the fingerprint of the source the last
    // successful build ran (kept in the project file).
    std::string built;
    // Of a routine read from a database that tells overloads apart: its own id there (PostgreSQL's
    // oid), which matches it across reads; the argument list that names it in SQL, "(a integer)";
    // and the arguments a run passes, "(NULL::integer)". Empty when unknown.
    std::string databaseId, signature, callArguments;

    bool hasSource() const; // procedures, functions and triggers live in source files
    std::string qualifiedName() const;
};

struct Connection;

struct Folder {
    int32_t type = 0; // folder type: one of folderTypes
    int32_t hdl = 0;
    bool filtered = false;
    Connection* connection = nullptr;
    std::vector<std::shared_ptr<DbObject>> objects;
    // Moves on whenever an object enters or leaves the folder, so that work done on a copy of its
    // contents without the engine lock can tell whether the copy still holds.
    uint64_t generation = 0;

    int32_t objectType() const { return type + 1; }
    // A filtered folder hides the database's own objects (schemas starting with SYS).
    bool shows(const DbObject& object) const;
};

struct Project;
class LiveConnection;

struct Connection {
    int32_t hdl = 0;
    std::string database;
    std::string connectionString;
    bool connected = false;
    // A live connection reaches its database through ODBC with connectionString; link is the open
    // connection while connected is true.
    bool live = false;
    int32_t timeout = defaultTimeout; // seconds the database may take to log in or answer
    std::shared_ptr<LiveConnection> link;
    // Actions asked of the live database and not done yet; the connection shows it is working.
    int32_t working = 0;

    static constexpr int32_t defaultTimeout = 10;
    Project* project = nullptr;
    std::array<std::shared_ptr<Folder>, 5> folders; // procedures, functions, triggers, tables, views

    Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Folder& folder(int32_t folderType) const;
};

struct Project {
    int32_t hdl = 0;
    std::string name;
    std::string path; // the project file, as the add-in named it
    std::vector<std::shared_ptr<Connection>> connections;
};

// The five folder types in the order of a connection's folders, and their words in files and texts.
constexpr std::array<int32_t, 5> folderTypes{
    nimb::VSAConstants::WK_OBJ_PROCEDURE_FOLDER, nimb::VSAConstants::WK_OBJ_FUNCTION_FOLDER,
    nimb::VSAConstants::WK_OBJ_TRIGGER_FOLDER, nimb::VSAConstants::WK_OBJ_TABLE_FOLDER,
    nimb::VSAConstants::WK_OBJ_VIEW_FOLDER};
bool isFolderType(int32_t type);
bool isObjectType(int32_t type);
const char* folderWord(int32_t folderType); // "procedures", ...
const char* objectWord(int32_t objectType); // "procedure", ...

// Where a handle sits: the thing itself and everything above it.
struct Located {
    int32_t type = 0; // object type of the handle (5 project ... 16 view)
    std::shared_ptr<Project> project;
    std::shared_ptr<Connection> connection;
    std::shared_ptr<Folder> folder;
    std::shared_ptr<DbObject> object;
    int32_t hdl() const;
};

class Catalogue {
  public:
    explicit Catalogue(HandleRegistry& handles) : handles_(handles) {}

    const std::shared_ptr<Project>& project() const { return project_; }
    // Makes p the open project (closing any other) and gives everything in it a handle.
    void install(std::shared_ptr<Project> p);
    void close();

    void addConnection(const std::shared_ptr<Connection>& connection);
    void removeConnection(const Connection& connection);
    void addObject(Folder& folder, const std::shared_ptr<DbObject>& object);
    void removeObject(const DbObject& object);
    // Makes objects the folder's contents in that order. entering are those among them the folder
    // did not hold: they take its type and, when new to the catalogue, a handle. Costs their number,
    // not the folder's size; the old contents come back, for the caller to free after the lock.
    std::vector<std::shared_ptr<DbObject>>
    replaceObjects(Folder& folder, std::vector<std::shared_ptr<DbObject>> objects,
                   const std::vector<std::shared_ptr<DbObject>>& entering);
    // Gives an object about to enter folder (through replaceObjects) its type, folder and handle
    // ahead, so that a folder of many new objects takes them in one short step.
    void admit(Folder& folder, const std::shared_ptr<DbObject>& object);
    // Retires the handles of objects that have left their folders for good.
    void retireObjects(const std::vector<std::shared_ptr<DbObject>>& leaving);

    std::optional<Located> locate(int32_t hdl) const;
    // stem, or stem, "_" and the lowest number from 2 that no object of the folder is named yet.
    static std::string uniqueName(const Folder& folder, const std::string& stem);
    static std::string uniqueDatabase(const Project& project, const std::string& stem);

  private:
    void registerConnection(const std::shared_ptr<Connection>& connection);
    void retireConnection(const Connection& connection);

    HandleRegistry& handles_;
    std::shared_ptr<Project> project_;
};

} // namespace standin

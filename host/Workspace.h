// Workspace: the machine the simulated IDE runs on, as a JSON file (docs/workspace-format.md): the
// IDE's open projects with their components, code and Data Environments, the IDE's state, the
// registry the add-in reads, the SourceSafe databases, and files to put on the drives. read checks
// the whole file and names the place of the first problem; toJson writes the same format back.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace host {

struct Workspace {
    struct DEConnection {
        std::string name;
        std::string source;  // the connection string
    };
    struct DECommand {
        std::string name;
        int32_t commandType = 1;
        std::string text;
        std::string connection;
    };
    struct Component {
        std::string name;
        int32_t type = 1;          // vbext_ct_*
        std::string designerId;    // ActiveX designers other than Data Environments
        bool dataEnvironment = false;
        std::vector<std::string> code;
        std::vector<DEConnection> connections;
        std::vector<DECommand> commands;
    };
    struct Property {
        std::string section;
        std::string key;
        std::string value;
    };
    struct Project {
        std::string name;
        std::string fileName;
        std::vector<Property> properties;
        std::vector<Component> components;
    };
    struct Selection {
        std::string project;
        std::string component;
    };
    struct RegisteredDatabase {
        std::string name;
        std::string folder;
    };
    struct RegisteredAddIn {
        std::string progId;
        std::string friendlyName;
        std::string description;
        int32_t loadBehavior = 0;
    };
    struct SourceSafeUser {
        std::string name;
        std::string password;
    };
    struct SourceSafeFile {
        std::string spec;
        std::string checkedOutBy;
    };
    struct SourceSafeDatabase {
        std::string folder;
        std::vector<SourceSafeUser> users;
        std::vector<std::string> projects;
        std::vector<SourceSafeFile> files;
    };
    struct DriveFile {
        std::string path;                 // on the simulated machine
        std::string copy;                 // a file or folder, relative to the workspace file
        std::optional<std::string> text;  // the file's content; neither: an empty folder
    };

    std::vector<Project> projects;
    std::string activeProject;
    std::optional<Selection> selectedComponent;
    std::string lastUsedPath;
    int32_t mainWindowState = 0;  // vbext_ws_*

    bool sourceSafeInstalled = false;
    std::string sccServerPath;
    std::vector<RegisteredDatabase> sourceSafeDatabases;
    std::vector<RegisteredAddIn> addIns;
    std::vector<SourceSafeDatabase> sourceSafe;
    std::vector<DriveFile> files;

    // Throws HostError("workspace: /ide/projects/0/name: ...") for the first problem found.
    static Workspace read(const nlohmann::ordered_json& json);
    static Workspace readFile(const std::string& path);
    nlohmann::ordered_json toJson() const;
    // Copies are named relative to the workspace file; for a file written into another folder
    // they are named relative to that one (absolute when no relative path leads there).
    void moveCopies(const std::filesystem::path& from, const std::filesystem::path& to);
};

// Component type names of the format and their vbext_ct_* numbers.
int32_t componentTypeNumber(const std::string& name);  // 0 for an unknown name
std::string componentTypeName(int32_t type);           // the number as text for an unnamed type
int32_t windowStateNumber(const std::string& name);    // -1 for an unknown name
std::string windowStateName(int32_t state);

} // namespace host

// Machine: the simulated computer a workspace describes - its drives with the files the workspace
// puts on them, the registry, the SourceSafe server and the VB IDE with its projects - built
// through the simulated platform's builder API and installed as the registry and SourceSafe server
// the add-in reaches. capture() reads the current state back in workspace form (paths as the
// person sees them), which is what the host's save writes.
#pragma once

#include "DriveMap.h"
#include "Workspace.h"

#include <filesystem>
#include <vector>
#include <memory>
#include <string>
#include <utility>

namespace sim {
class MemoryRegistry;
class MemorySourceSafe;
class SimVBE;
} // namespace sim

namespace host {

class Machine {
public:
    // Files named by the workspace ("copy") are taken relative to workspaceFolder. Throws
    // HostError when a file cannot be put on a drive.
    Machine(const Workspace& workspace, DriveMap drives, const std::filesystem::path& workspaceFolder);
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    sim::SimVBE& ide() const { return *ide_; }
    sim::MemoryRegistry& registry() const { return *registry_; }
    sim::MemorySourceSafe& sourceSafe() const { return *sourceSafe_; }
    const DriveMap& drives() const { return drives_; }
    // The folder the workspace's copies are named from.
    const std::filesystem::path& workspaceFolder() const { return workspaceFolder_; }

    // The state now, in the workspace's terms.
    Workspace capture() const;

    // The add-in properties whose values the host reads back and watches: those of the workspace
    // and the engine project file name the add-in writes.
    const std::vector<std::pair<std::string, std::string>>& watchedProperties() const { return watchedProperties_; }

private:
    void putFiles(const Workspace& w, const std::filesystem::path& workspaceFolder);
    void fillRegistry(const Workspace& w);
    void fillSourceSafe(const Workspace& w);
    void fillIde(const Workspace& w);
    void captureSourceSafe(Workspace& w) const;

    DriveMap drives_;
    std::filesystem::path workspaceFolder_;
    Workspace loaded_;
    std::shared_ptr<sim::MemoryRegistry> registry_;
    std::shared_ptr<sim::MemorySourceSafe> sourceSafe_;
    std::shared_ptr<sim::SimVBE> ide_;
    std::vector<std::pair<std::string, std::string>> watchedProperties_;
};

// Registry places the add-in and the Add-In Manager read.
inline constexpr char sourceSafeKey[] = "Software\\Microsoft\\SourceSafe";
inline constexpr char sourceSafeDatabasesKey[] = "Software\\Microsoft\\SourceSafe\\Databases";
inline constexpr char addInsKey[] = "Software\\Microsoft\\Visual Basic\\6.0\\Addins";

} // namespace host

// DriveMap: the drives of the simulated machine. The IDE, the add-in and the engine work with the
// paths a VB developer has ("C:\Work\wk\Inventory.wkv"); the stand-in engine opens files on this
// computer, which has no drive letters. Drive X: is therefore the folder X below the drive root,
// and the programs are handed that folder's path in Windows form ("\tmp\nimbide-1a2b\C\Work\..."),
// which the engine maps to "/tmp/nimbide-1a2b/C/Work/...". Everything the host shows goes through
// toDisplay, which turns such paths back into "C:\Work\...", so output does not depend on where
// the drive root happens to be.
#pragma once

#include <filesystem>
#include <string>

namespace host {

class DriveMap {
public:
    // root must exist; it is made absolute.
    explicit DriveMap(const std::filesystem::path& root);

    // A path of the simulated machine ("X:\..." or "X:/...", any letter case) as the programs get
    // it; any other text comes back unchanged.
    std::string toSystem(const std::string& path) const;
    // The text with every drive folder path in it turned back into its drive letter.
    std::string toDisplay(const std::string& text) const;
    // Where a path of the simulated machine lives on this computer; throws HostError for a text
    // that is no such path.
    std::filesystem::path hostPath(const std::string& path) const;

    // "C:\x" and "c:/x" are drive paths; "C:" alone is too.
    static bool isDrivePath(const std::string& text);

private:
    std::filesystem::path root_;
    std::string windowsRoot_;  // root_ with '\' separators
    std::string hostRoot_;     // root_ with '/' separators
};

// A fresh, empty folder for the drives below the system's temporary folder.
std::filesystem::path makeTemporaryDriveRoot();

} // namespace host

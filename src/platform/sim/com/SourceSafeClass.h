// SourceSafeClass: the in-memory SourceSafe as a creatable COM class, so that the add-in reaches it
// as it reaches the real automation server - by ProgID, CLSIDFromProgID and CoCreateInstance. The
// ProgID is a test's own, registered for the current user for as long as this object lives, and
// the class object is in this process's class table only (nothing on disk names a server).
#pragma once

#include "platform/vss/VSSDatabase.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace simcom {

class SourceSafeClass {
public:
    using Sessions = std::function<std::shared_ptr<vss::VSSDatabase>()>;

    // Raises the VBError of the failing call when the class cannot be registered.
    SourceSafeClass(std::string progId, Sessions sessions);
    ~SourceSafeClass();
    SourceSafeClass(const SourceSafeClass&) = delete;
    SourceSafeClass& operator=(const SourceSafeClass&) = delete;

private:
    std::string progId_;
    DWORD cookie_ = 0;
};

// The ProgID the host registers its SourceSafe under.
inline constexpr char testSourceSafeProgId[] = "nimbide.MemorySourceSafe";

} // namespace simcom

// ClassRegistry: the creatable classes known by ProgID and CLSID, as COM's class registration is.
// The IDE creates add-in connection objects and tool-window documents through it; an add-in module
// registers its classes when it is loaded. ProgIDs and CLSIDs compare without regard to letter case.
#pragma once

#include "platform/variant.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vbide {

using ClassFactory = std::function<std::shared_ptr<vb::Object>()>;

// Raised for a class nobody registered.
constexpr int32_t errCantCreateObject = 429;  // "ActiveX component can't create object"

class ClassRegistry {
public:
    static ClassRegistry& instance();

    // Registers (or replaces) the class; clsid may be empty.
    void registerClass(const std::string& progId, const std::string& clsid, ClassFactory factory);
    void unregisterClass(const std::string& progId);
    bool isRegistered(const std::string& progIdOrClsid) const;
    // A new object of the class named by ProgID or CLSID; unknown names, and a factory that returns
    // Nothing, raise 429.
    std::shared_ptr<vb::Object> create(const std::string& progIdOrClsid) const;

private:
    struct Entry {
        std::string progId;
        std::string clsid;
        ClassFactory factory;
    };
    const Entry* find(const std::string& progIdOrClsid) const;

    std::vector<Entry> entries_;
};

// VB's CreateObject.
std::shared_ptr<vb::Object> CreateObject(const std::string& progId);

} // namespace vbide

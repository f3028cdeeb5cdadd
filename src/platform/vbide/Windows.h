// Windows: the IDE's windows, and the factory of add-in tool windows.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vbide {

class AddIn;
class Window;

class Windows : public vb::Object {
public:
    virtual int32_t Count() = 0;
    virtual std::shared_ptr<Window> Item(int32_t index) = 0;  // 1-based; else raises 9
    // Creates a dockable tool window hosting a new document of the ActiveX class progId (created
    // through vbide::ClassRegistry; an unknown class raises 429). guidPosition is the window's
    // identity under which the IDE keeps its docking. docObj is in-out: it receives the document.
    // The window starts hidden.
    virtual std::shared_ptr<Window> CreateToolWindow(std::shared_ptr<AddIn> addInInst, const std::string& progId,
                                                     const std::string& caption, const std::string& guidPosition,
                                                     std::shared_ptr<vb::Object>& docObj) = 0;
};

} // namespace vbide

// CommandBars: the IDE's menu bar and toolbars (Office command bars). Item 1 is the menu bar.
#pragma once

#include "platform/variant.h"
#include "platform/vbide/Constants.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vbide {

class CommandBar;

class CommandBars : public vb::Object {
public:
    virtual int32_t Count() = 0;
    virtual std::shared_ptr<CommandBar> Item(int32_t index) = 0;  // 1-based; else raises 5
    // By name, ignoring letter case as Office does ("Menu bar" finds the menu bar); else raises 5.
    virtual std::shared_ptr<CommandBar> Item(const std::string& name) = 0;
    virtual std::vector<std::shared_ptr<CommandBar>> items() = 0;
    // A new, hidden toolbar. A temporary bar vanishes when the IDE's session ends. A name already
    // used by another bar raises 5.
    virtual std::shared_ptr<CommandBar> Add(const std::string& name, int32_t position = msoBarFloating,
                                            bool menuBar = false, bool temporary = false) = 0;
};

} // namespace vbide

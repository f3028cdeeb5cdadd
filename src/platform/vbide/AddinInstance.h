// AddinInstance: what an add-in's connection class answers to. The IDE creates the class by its
// ProgID (vbide::ClassRegistry) and calls these as it loads and unloads the add-in.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vbide {

class AddinInstance : public vb::Object {
public:
    // application is the IDE's VBE, addInInst its AddIn record of this add-in; connectMode ext_cm_*.
    virtual void OnConnection(std::shared_ptr<vb::Object> application, int32_t connectMode,
                              std::shared_ptr<vb::Object> addInInst, std::vector<vb::Variant>& custom) = 0;
    virtual void OnDisconnection(int32_t removeMode, std::vector<vb::Variant>& custom) = 0;  // ext_dm_*
    virtual void OnAddInsUpdate(std::vector<vb::Variant>& /*custom*/) {}
    virtual void OnStartupComplete(std::vector<vb::Variant>& /*custom*/) {}
    virtual void OnBeginShutdown(std::vector<vb::Variant>& /*custom*/) {}
};

} // namespace vbide

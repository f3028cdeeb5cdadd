// SimComponent: a simulated component (module, form, designer) of a SimProject.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/VBComponent.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sim {

class SimCodeModule;

class SimComponent : public vbide::VBComponent {
public:
    SimComponent(std::shared_ptr<Journal> journal, std::string name, int32_t type, std::string designerId,
                 std::shared_ptr<vb::Object> designer, std::shared_ptr<SimCodeModule> code);

    // vbide::VBComponent
    std::string Name() override;
    int32_t Type() override;
    std::string DesignerID() override;
    std::shared_ptr<vb::Object> Designer() override;
    std::shared_ptr<vbide::CodeModule> CodeModule() override;

    // Inspection (no journal entries).
    const std::string& name() const { return name_; }
    int32_t type() const { return type_; }
    const std::string& designerId() const { return designerId_; }
    const std::shared_ptr<vb::Object>& designer() const { return designer_; }
    const std::shared_ptr<SimCodeModule>& code() const { return code_; }  // Nothing when it has no code

private:
    std::shared_ptr<Journal> journal_;
    std::string name_;
    int32_t type_;
    std::string designerId_;
    std::shared_ptr<vb::Object> designer_;
    std::shared_ptr<SimCodeModule> code_;
};

} // namespace sim

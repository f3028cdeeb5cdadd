#include "platform/sim/SimComponent.h"

#include "platform/sim/SimCodeModule.h"

namespace sim {

SimComponent::SimComponent(std::shared_ptr<Journal> journal, std::string name, int32_t type, std::string designerId,
                           std::shared_ptr<vb::Object> designer, std::shared_ptr<SimCodeModule> code)
    : journal_(std::move(journal)), name_(std::move(name)), type_(type), designerId_(std::move(designerId)),
      designer_(std::move(designer)), code_(std::move(code)) {}

std::string SimComponent::Name() {
    journal_->enter("VBComponent.Name", name_);
    return name_;
}

int32_t SimComponent::Type() {
    journal_->enter("VBComponent.Type", name_);
    return type_;
}

std::string SimComponent::DesignerID() {
    journal_->enter("VBComponent.DesignerID", name_);
    return designerId_;
}

std::shared_ptr<vb::Object> SimComponent::Designer() {
    journal_->enter("VBComponent.Designer", name_);
    return designer_;
}

std::shared_ptr<vbide::CodeModule> SimComponent::CodeModule() {
    journal_->enter("VBComponent.CodeModule", name_);
    return code_;
}

} // namespace sim

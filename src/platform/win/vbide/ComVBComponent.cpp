#include "platform/vbide/VBComponent.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adaptDispatch.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComVBComponent final : public VBComponent, public com::Remote {
public:
    using Remote::Remote;

    std::string Name() override { return object().get("Name").toString(); }
    int32_t Type() override { return object().get("Type").toLong(); }
    std::string DesignerID() override { return object().get("DesignerID").toString(); }
    std::shared_ptr<vb::Object> Designer() override {
        return adaptDispatch(object().get("Designer").toObject().get());
    }
    std::shared_ptr<vbide::CodeModule> CodeModule() override {
        return adaptCodeModule(object().get("CodeModule").toObject());
    }
};

} // namespace

std::shared_ptr<VBComponent> adaptVBComponent(const com::Dispatch& object) {
    return com::adapt<ComVBComponent, VBComponent>(object);
}

} // namespace vbide::win

#include "platform/vbide/VBComponents.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComVBComponents final : public VBComponents, public com::Remote {
public:
    using Remote::Remote;

    int32_t Count() override { return object().get("Count").toLong(); }
    std::shared_ptr<VBComponent> Item(int32_t index) override {
        return adaptVBComponent(object().get("Item", {index}).toObject());
    }
    std::shared_ptr<VBComponent> Item(const std::string& name) override {
        return adaptVBComponent(object().get("Item", {name}).toObject());
    }
    std::vector<std::shared_ptr<VBComponent>> items() override { return itemsOf(object(), &adaptVBComponent); }
};

} // namespace

std::shared_ptr<VBComponents> adaptVBComponents(const com::Dispatch& object) {
    return com::adapt<ComVBComponents, VBComponents>(object);
}

} // namespace vbide::win

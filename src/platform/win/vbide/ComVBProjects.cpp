#include "platform/vbide/VBProjects.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComVBProjects final : public VBProjects, public com::Remote {
public:
    using Remote::Remote;

    int32_t Count() override { return object().get("Count").toLong(); }
    std::shared_ptr<VBProject> Item(int32_t index) override {
        return adaptVBProject(object().get("Item", {index}).toObject());
    }
    std::shared_ptr<VBProject> Item(const std::string& name) override {
        return adaptVBProject(object().get("Item", {name}).toObject());
    }
    std::vector<std::shared_ptr<VBProject>> items() override { return itemsOf(object(), &adaptVBProject); }
};

} // namespace

std::shared_ptr<VBProjects> adaptVBProjects(const com::Dispatch& object) {
    return com::adapt<ComVBProjects, VBProjects>(object);
}

} // namespace vbide::win

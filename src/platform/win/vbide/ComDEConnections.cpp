#include "platform/vbide/DEConnections.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComDEConnections final : public DEConnections, public com::Remote {
public:
    using Remote::Remote;

    int32_t Count() override { return object().get("Count").toLong(); }
    std::shared_ptr<DEConnection> Item(int32_t index) override {
        return adaptDEConnection(object().get("Item", {index}).toObject());
    }
    std::shared_ptr<DEConnection> Item(const std::string& name) override {
        return adaptDEConnection(object().get("Item", {name}).toObject());
    }
    std::vector<std::shared_ptr<DEConnection>> items() override { return itemsOf(object(), &adaptDEConnection); }
    std::shared_ptr<DEConnection> Add(const std::string& name, bool flag) override {
        return adaptDEConnection(object().get("Add", {name, flag}).toObject());
    }
};

} // namespace

std::shared_ptr<DEConnections> adaptDEConnections(const com::Dispatch& object) {
    return com::adapt<ComDEConnections, DEConnections>(object);
}

} // namespace vbide::win

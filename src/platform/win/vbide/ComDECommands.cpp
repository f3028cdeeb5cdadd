#include "platform/vbide/DECommands.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComDECommands final : public DECommands, public com::Remote {
public:
    using Remote::Remote;

    int32_t Count() override { return object().get("Count").toLong(); }
    std::shared_ptr<DECommand> Item(int32_t index) override {
        return adaptDECommand(object().get("Item", {index}).toObject());
    }
    std::shared_ptr<DECommand> Item(const std::string& name) override {
        return adaptDECommand(object().get("Item", {name}).toObject());
    }
    std::vector<std::shared_ptr<DECommand>> items() override { return itemsOf(object(), &adaptDECommand); }
    std::shared_ptr<DECommand> Add(const std::string& name, bool flag) override {
        return adaptDECommand(object().get("Add", {name, flag}).toObject());
    }
};

} // namespace

std::shared_ptr<DECommands> adaptDECommands(const com::Dispatch& object) {
    return com::adapt<ComDECommands, DECommands>(object);
}

} // namespace vbide::win

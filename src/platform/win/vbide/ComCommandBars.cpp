#include "platform/vbide/CommandBars.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComCommandBars final : public CommandBars, public com::Remote {
public:
    using Remote::Remote;

    int32_t Count() override { return object().get("Count").toLong(); }
    std::shared_ptr<CommandBar> Item(int32_t index) override {
        return adaptCommandBar(object().get("Item", {index}).toObject());
    }
    std::shared_ptr<CommandBar> Item(const std::string& name) override {
        return adaptCommandBar(object().get("Item", {name}).toObject());
    }
    std::vector<std::shared_ptr<CommandBar>> items() override { return itemsOf(object(), &adaptCommandBar); }
    std::shared_ptr<CommandBar> Add(const std::string& name, int32_t position, bool menuBar, bool temporary) override {
        return adaptCommandBar(object().get("Add", {name, position, menuBar, temporary}).toObject());
    }
};

} // namespace

std::shared_ptr<CommandBars> adaptCommandBars(const com::Dispatch& object) {
    return com::adapt<ComCommandBars, CommandBars>(object);
}

} // namespace vbide::win

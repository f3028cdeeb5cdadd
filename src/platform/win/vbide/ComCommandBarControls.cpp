#include "platform/vbide/CommandBarControls.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComCommandBarControls final : public CommandBarControls, public com::Remote {
public:
    using Remote::Remote;

    int32_t Count() override { return object().get("Count").toLong(); }
    std::shared_ptr<CommandBarControl> Item(int32_t index) override {
        return adaptCommandBarControl(object().get("Item", {index}).toObject());
    }
    std::vector<std::shared_ptr<CommandBarControl>> items() override {
        return itemsOf(object(), &adaptCommandBarControl);
    }
    // Office's Add([Type], [Id], [Parameter], [Before], [Temporary]).
    std::shared_ptr<CommandBarControl> Add(const ControlAddArgs& args) override {
        com::CallArgs passed{args.Type, args.Id ? com::Arg(*args.Id) : com::Arg::missing(),
                         args.Parameter.isEmpty() ? com::Arg::missing() : com::Arg(args.Parameter),
                         args.Before ? com::Arg(*args.Before) : com::Arg::missing(),
                         args.Temporary ? com::Arg(true) : com::Arg::missing()};
        return adaptCommandBarControl(object().get("Add", std::move(passed)).toObject());
    }
};

} // namespace

std::shared_ptr<CommandBarControls> adaptCommandBarControls(const com::Dispatch& object) {
    return com::adapt<ComCommandBarControls, CommandBarControls>(object);
}

} // namespace vbide::win

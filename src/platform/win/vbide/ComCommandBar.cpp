#include "platform/vbide/CommandBar.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

template <class T>
com::Arg optional(const std::optional<T>& value) {
    return value ? com::Arg(*value) : com::Arg::missing();
}

class ComCommandBar final : public CommandBar, public com::Remote {
public:
    using Remote::Remote;

    std::string Name() override { return object().get("Name").toString(); }
    bool Visible() override { return object().get("Visible").toBool(); }
    void setVisible(bool visible) override { object().put("Visible", visible); }
    int32_t Position() override { return object().get("Position").toLong(); }
    std::shared_ptr<CommandBarControls> Controls() override {
        return adaptCommandBarControls(object().get("Controls").toObject());
    }
    // Office's FindControl([Type], [Id], [Tag], [Visible], [Recursive]): criteria not given stay out.
    std::shared_ptr<CommandBarControl> FindControl(const FindControlArgs& args) override {
        com::CallArgs passed{optional(args.Type), optional(args.Id), optional(args.Tag),
                         args.Visible ? com::Arg(true) : com::Arg::missing(),
                         args.Recursive ? com::Arg(true) : com::Arg::missing()};
        return adaptCommandBarControl(object().get("FindControl", std::move(passed)).toObject());
    }
    void Delete() override { object().call("Delete"); }
};

} // namespace

std::shared_ptr<CommandBar> adaptCommandBar(const com::Dispatch& object) {
    return com::adapt<ComCommandBar, CommandBar>(object);
}

} // namespace vbide::win

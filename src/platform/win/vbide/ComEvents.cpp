#include "platform/vbide/CommandBarControl.h"
#include "platform/vbide/Events.h"
#include "platform/vbide/VBProject.h"

#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComEvents final : public Events, public com::Remote {
public:
    using Remote::Remote;

    std::shared_ptr<vbide::CommandBarEvents> CommandBarEvents(std::shared_ptr<CommandBarControl> control) override {
        if (!control) throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
        com::Dispatch target = com::dispatchOf(control);
        return subscribeCommandBarEvents(object().get("CommandBarEvents", {target}).toObject());
    }
    // An IDE without these sources gives events that never fire (see the subscribers).
    std::shared_ptr<vbide::FileControlEvents> FileControlEvents(std::shared_ptr<VBProject> project) override {
        com::Dispatch target = com::dispatchOf(project);
        com::Dispatch source;
        vb::silently([&] { source = object().get("FileControlEvents", {target}).toObject(); });
        return subscribeFileControlEvents(source);
    }
    std::shared_ptr<vbide::VBProjectsEvents> VBProjectsEvents() override {
        com::Dispatch source;
        vb::silently([&] { source = object().get("VBProjectsEvents").toObject(); });
        return subscribeVBProjectsEvents(source);
    }
};

} // namespace

std::shared_ptr<Events> adaptEvents(const com::Dispatch& object) {
    return com::adapt<ComEvents, Events>(object);
}

} // namespace vbide::win

#include "platform/vbide/CommandBarEvents.h"

#include "platform/vbide/CommandBarControl.h"
#include "platform/win/com/EventSink.h"
#include "platform/win/vbide/adapters.h"
#include "platform/win/vbide/eventInterfaces.h"

#include <optional>

namespace vbide::win {

namespace {

// The subscription ends with the port object: releasing it unadvises.
class ComCommandBarEvents final : public CommandBarEvents {
public:
    std::optional<com::EventSubscription> subscription;
};

void click(vbide::CommandBarEvents& events, DISPPARAMS& params) {
    auto control = adaptCommandBarControl(com::objectArg(params, 0));
    bool handled = com::boolArg(params, 1);
    bool cancelDefault = com::boolArg(params, 2);
    if (control) events.raiseClick(*control, handled, cancelDefault);
    com::setBoolArg(params, 1, handled);
    com::setBoolArg(params, 2, cancelDefault);
}

} // namespace

std::shared_ptr<vbide::CommandBarEvents> subscribeCommandBarEvents(const com::Dispatch& source) {
    auto events = std::make_shared<ComCommandBarEvents>();
    std::weak_ptr<ComCommandBarEvents> weak = events;
    events->subscription.emplace(source, DIID_CommandBarControlEvents, [weak](DISPID event, DISPPARAMS& params) {
        // Held for the call: a handler may drop the add-in's own reference.
        if (auto self = weak.lock(); self && event == dispidClick) click(*self, params);
    });
    return events;
}

} // namespace vbide::win

#include "platform/vbide/VBProjectsEvents.h"

#include "platform/errorhandling.h"

#include "platform/win/com/EventSink.h"
#include "platform/win/vbide/adapters.h"
#include "platform/win/vbide/eventInterfaces.h"

#include <optional>

namespace vbide::win {

namespace {

class ComVBProjectsEvents final : public VBProjectsEvents {
public:
    std::optional<com::EventSubscription> subscription;
};

void dispatchEvent(VBProjectsEvents& events, DISPID event, DISPPARAMS& params) {
    switch (event) {
    case dispidItemAdded: events.raiseItemAdded(adaptVBProject(com::objectArg(params, 0))); break;
    case dispidItemRemoved: events.raiseItemRemoved(adaptVBProject(com::objectArg(params, 0))); break;
    case dispidItemActivated: events.raiseItemActivated(adaptVBProject(com::objectArg(params, 0))); break;
    default: break;
    }
}

} // namespace

// The add-in keeps the project events without handling them: a source that is missing or refuses
// the sink leaves events that never fire rather than a start that fails.
std::shared_ptr<vbide::VBProjectsEvents> subscribeVBProjectsEvents(const com::Dispatch& source) {
    auto events = std::make_shared<ComVBProjectsEvents>();
    std::weak_ptr<ComVBProjectsEvents> weak = events;
    vb::silently([&] {
        events->subscription.emplace(source, DIID_VBProjectsEvents, [weak](DISPID event, DISPPARAMS& params) {
            if (auto self = weak.lock()) dispatchEvent(*self, event, params);
        });
    });
    return events;
}

} // namespace vbide::win

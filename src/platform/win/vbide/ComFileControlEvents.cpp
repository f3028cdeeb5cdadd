#include "platform/vbide/FileControlEvents.h"

#include "platform/errorhandling.h"

#include "platform/win/com/EventSink.h"
#include "platform/win/vbide/adapters.h"
#include "platform/win/vbide/eventInterfaces.h"

#include <optional>

namespace vbide::win {

namespace {

class ComFileControlEvents final : public FileControlEvents {
public:
    std::optional<com::EventSubscription> subscription;
};

void dispatchEvent(FileControlEvents& events, DISPID event, DISPPARAMS& params) {
    if (event == dispidAfterCloseFile) {
        events.raiseAfterCloseFile(adaptVBProject(com::objectArg(params, 0)), com::longArg(params, 1),
                                   com::stringArg(params, 2), com::boolArg(params, 3));
    } else if (event == dispidAfterRemoveFile) {
        events.raiseAfterRemoveFile(adaptVBProject(com::objectArg(params, 0)), com::longArg(params, 1),
                                    com::stringArg(params, 2));
    }
}

} // namespace

// The add-in's file event handlers do nothing, so a source that is missing or refuses the sink
// leaves events that never fire rather than a start that fails.
std::shared_ptr<vbide::FileControlEvents> subscribeFileControlEvents(const com::Dispatch& source) {
    auto events = std::make_shared<ComFileControlEvents>();
    std::weak_ptr<ComFileControlEvents> weak = events;
    vb::silently([&] {
        events->subscription.emplace(source, DIID_FileControlEvents, [weak](DISPID event, DISPPARAMS& params) {
            if (auto self = weak.lock()) dispatchEvent(*self, event, params);
        });
    });
    return events;
}

} // namespace vbide::win

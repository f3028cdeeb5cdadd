#include "platform/sim/SimEvents.h"

#include "platform/error.h"
#include "platform/sim/SimCommandBarControl.h"
#include "platform/vbide/CommandBarEvents.h"
#include "platform/vbide/FileControlEvents.h"
#include "platform/vbide/VBProjectsEvents.h"

#include <algorithm>

namespace sim {

namespace {

template <class T>
void dropReleased(std::vector<std::weak_ptr<T>>& subscriptions) {
    std::erase_if(subscriptions, [](const std::weak_ptr<T>& w) { return w.expired(); });
}

} // namespace

std::shared_ptr<vbide::CommandBarEvents> SimEvents::CommandBarEvents(std::shared_ptr<vbide::CommandBarControl> control) {
    journal_->enter("Events.CommandBarEvents", "");
    auto simControl = std::dynamic_pointer_cast<SimCommandBarControl>(control);
    if (!simControl) {
        throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
    }
    auto events = std::make_shared<vbide::CommandBarEvents>();
    simControl->subscribe(events);
    return events;
}

std::shared_ptr<vbide::FileControlEvents> SimEvents::FileControlEvents(std::shared_ptr<vbide::VBProject> project) {
    journal_->enter("Events.FileControlEvents", "");
    std::erase_if(fileSubscriptions_, [](const FileSubscription& s) { return s.events.expired(); });
    auto events = std::make_shared<vbide::FileControlEvents>();
    fileSubscriptions_.push_back({events, project, project == nullptr});
    return events;
}

std::shared_ptr<vbide::VBProjectsEvents> SimEvents::VBProjectsEvents() {
    journal_->enter("Events.VBProjectsEvents", "");
    dropReleased(projectSubscriptions_);
    auto events = std::make_shared<vbide::VBProjectsEvents>();
    projectSubscriptions_.push_back(events);
    return events;
}

void SimEvents::forFileEvents(const vbide::VBProject* project,
                              const std::function<void(vbide::FileControlEvents&)>& raise) {
    // A handler may subscribe or release; the loop runs on what was subscribed when it began.
    auto subscriptions = fileSubscriptions_;
    for (const auto& s : subscriptions) {
        auto events = s.events.lock();
        if (events && (s.allProjects || s.project.lock().get() == project)) {
            raise(*events);
        }
    }
}

void SimEvents::forProjectEvents(const std::function<void(vbide::VBProjectsEvents&)>& raise) {
    auto subscriptions = projectSubscriptions_;
    for (const auto& s : subscriptions) {
        if (auto events = s.lock()) {
            raise(*events);
        }
    }
}

int32_t SimEvents::liveFileSubscriptions() const {
    return static_cast<int32_t>(std::count_if(fileSubscriptions_.begin(), fileSubscriptions_.end(),
                                              [](const FileSubscription& s) { return !s.events.expired(); }));
}

int32_t SimEvents::liveProjectSubscriptions() const {
    return static_cast<int32_t>(std::count_if(projectSubscriptions_.begin(), projectSubscriptions_.end(),
                                              [](const auto& s) { return !s.expired(); }));
}

} // namespace sim

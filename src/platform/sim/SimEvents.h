// SimEvents: the simulated IDE's event sources. Subscriptions are held weakly: a released event
// object no longer hears anything.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/Events.h"

#include <functional>
#include <memory>
#include <vector>

namespace sim {

class SimEvents : public vbide::Events {
public:
    explicit SimEvents(std::shared_ptr<Journal> journal) : journal_(std::move(journal)) {}

    std::shared_ptr<vbide::CommandBarEvents> CommandBarEvents(std::shared_ptr<vbide::CommandBarControl> control) override;
    std::shared_ptr<vbide::FileControlEvents> FileControlEvents(std::shared_ptr<vbide::VBProject> project) override;
    std::shared_ptr<vbide::VBProjectsEvents> VBProjectsEvents() override;

    // Raising, to live subscribers only, in subscription order.
    void forFileEvents(const vbide::VBProject* project, const std::function<void(vbide::FileControlEvents&)>& raise);
    void forProjectEvents(const std::function<void(vbide::VBProjectsEvents&)>& raise);
    int32_t liveFileSubscriptions() const;
    int32_t liveProjectSubscriptions() const;

private:
    struct FileSubscription {
        std::weak_ptr<vbide::FileControlEvents> events;
        std::weak_ptr<vbide::VBProject> project;
        bool allProjects;
    };

    std::shared_ptr<Journal> journal_;
    std::vector<FileSubscription> fileSubscriptions_;
    std::vector<std::weak_ptr<vbide::VBProjectsEvents>> projectSubscriptions_;
};

} // namespace sim

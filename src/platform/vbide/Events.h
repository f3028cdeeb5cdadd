// Events: the IDE's event sources. Each call returns a new event object whose lifetime is the
// subscription: the IDE keeps only a weak reference, so releasing the last reference unsubscribes.
#pragma once

#include "platform/variant.h"

#include <memory>

namespace vbide {

class CommandBarControl;
class CommandBarEvents;
class FileControlEvents;
class VBProject;
class VBProjectsEvents;

class Events : public vb::Object {
public:
    // Click events of one command-bar control; Nothing raises 5.
    virtual std::shared_ptr<vbide::CommandBarEvents> CommandBarEvents(std::shared_ptr<CommandBarControl> control) = 0;
    // File events of one project, or of every project when project is Nothing.
    virtual std::shared_ptr<vbide::FileControlEvents> FileControlEvents(std::shared_ptr<VBProject> project) = 0;
    virtual std::shared_ptr<vbide::VBProjectsEvents> VBProjectsEvents() = 0;
};

} // namespace vbide

// VBProjectsEvents: projects added to, removed from and activated in the IDE.
#pragma once

#include "platform/variant.h"

#include <functional>
#include <memory>

namespace vbide {

class VBProject;

class VBProjectsEvents : public vb::Object {
public:
    using ProjectHandler = std::function<void(std::shared_ptr<VBProject> project)>;

    void onItemAdded(ProjectHandler handler) { added_ = std::move(handler); }
    void onItemRemoved(ProjectHandler handler) { removed_ = std::move(handler); }
    void onItemActivated(ProjectHandler handler) { activated_ = std::move(handler); }

    void raiseItemAdded(std::shared_ptr<VBProject> project) { raise(added_, std::move(project)); }
    void raiseItemRemoved(std::shared_ptr<VBProject> project) { raise(removed_, std::move(project)); }
    void raiseItemActivated(std::shared_ptr<VBProject> project) { raise(activated_, std::move(project)); }

private:
    static void raise(const ProjectHandler& handler, std::shared_ptr<VBProject> project) {
        if (handler) {
            handler(std::move(project));
        }
    }

    ProjectHandler added_;
    ProjectHandler removed_;
    ProjectHandler activated_;
};

} // namespace vbide

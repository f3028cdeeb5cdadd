#include "platform/vbide/VBE.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComVBE final : public VBE, public com::Remote {
public:
    using Remote::Remote;

    std::shared_ptr<vbide::VBProjects> VBProjects() override { return adaptVBProjects(object().get("VBProjects").toObject()); }
    std::shared_ptr<VBProject> ActiveVBProject() override {
        return adaptVBProject(object().get("ActiveVBProject").toObject());
    }
    std::shared_ptr<VBComponent> SelectedVBComponent() override {
        return adaptVBComponent(object().get("SelectedVBComponent").toObject());
    }
    std::string LastUsedPath() override { return object().get("LastUsedPath").toString(); }
    std::shared_ptr<Window> MainWindow() override { return adaptWindow(object().get("MainWindow").toObject()); }
    std::shared_ptr<vbide::Windows> Windows() override { return adaptWindows(object().get("Windows").toObject()); }
    std::shared_ptr<vbide::CommandBars> CommandBars() override {
        return adaptCommandBars(object().get("CommandBars").toObject());
    }
    std::shared_ptr<vbide::Events> Events() override { return adaptEvents(object().get("Events").toObject()); }
};

} // namespace

std::shared_ptr<VBE> adaptVBE(const com::Dispatch& object) {
    return com::adapt<ComVBE, VBE>(object);
}

} // namespace vbide::win

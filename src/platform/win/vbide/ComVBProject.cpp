#include "platform/vbide/VBProject.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComVBProject final : public VBProject, public com::Remote {
public:
    using Remote::Remote;

    std::string Name() override { return object().get("Name").toString(); }
    std::string FileName() override { return object().get("FileName").toString(); }
    std::shared_ptr<vbide::VBComponents> VBComponents() override {
        return adaptVBComponents(object().get("VBComponents").toObject());
    }
    std::string ReadProperty(const std::string& section, const std::string& key) override {
        return object().get("ReadProperty", {section, key}).toString();
    }
    void WriteProperty(const std::string& section, const std::string& key, const std::string& value) override {
        object().call("WriteProperty", {section, key, value});
    }
};

} // namespace

std::shared_ptr<VBProject> adaptVBProject(const com::Dispatch& object) {
    return com::adapt<ComVBProject, VBProject>(object);
}

} // namespace vbide::win

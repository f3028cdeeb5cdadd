#include "platform/sim/SimProject.h"

#include "platform/error.h"
#include "platform/sim/SimCodeModule.h"
#include "platform/sim/SimCollection.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimDataEnvironment.h"
#include "platform/sim/names.h"
#include "platform/vbide/Constants.h"
#include "platform/vbide/VBComponents.h"

namespace sim {

class SimVBComponents : public SimCollection<vbide::VBComponents, SimComponent> {
public:
    using SimCollection::SimCollection;
};

namespace {

bool hasCode(int32_t type) {
    return type != vbide::vbext_ct_ResFile && type != vbide::vbext_ct_RelatedDocument;
}

// The project file keeps add-in properties in INI sections, whose names ignore letter case.
std::pair<std::string, std::string> propertyKey(const std::string& section, const std::string& key) {
    return {names::lower(section), names::lower(key)};
}

} // namespace

SimProject::SimProject(std::shared_ptr<Journal> journal, std::string name, std::string fileName)
    : journal_(std::move(journal)), name_(std::make_shared<std::string>(std::move(name))),
      fileName_(std::move(fileName)) {
    components_ = std::make_shared<SimVBComponents>(journal_, "VBComponents", [n = name_] { return *n; }, false);
}

std::string SimProject::Name() {
    journal_->enter("VBProject.Name", *name_);
    return *name_;
}

std::string SimProject::FileName() {
    journal_->enter("VBProject.FileName", *name_);
    return fileName_;
}

std::shared_ptr<vbide::VBComponents> SimProject::VBComponents() {
    journal_->enter("VBProject.VBComponents", *name_);
    return components_;
}

std::string SimProject::ReadProperty(const std::string& section, const std::string& key) {
    journal_->enter("VBProject.ReadProperty", *name_, {section, key});
    auto value = property(section, key);
    if (!value) {
        throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
    }
    return *value;
}

void SimProject::WriteProperty(const std::string& section, const std::string& key, const std::string& value) {
    journal_->enter("VBProject.WriteProperty", *name_, {section, key, value});
    if (section.empty() || key.empty()) {
        throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
    }
    setProperty(section, key, value);
}

std::shared_ptr<SimComponent> SimProject::addComponent(const std::string& name, int32_t type,
                                                       const std::vector<std::string>& lines) {
    auto code = hasCode(type) ? std::make_shared<SimCodeModule>(journal_, name, lines) : nullptr;
    auto component = std::make_shared<SimComponent>(journal_, name, type, "", nullptr, code);
    components_->append(component);
    return component;
}

std::shared_ptr<SimComponent> SimProject::addModule(const std::string& name, const std::vector<std::string>& lines) {
    return addComponent(name, vbide::vbext_ct_StdModule, lines);
}

std::shared_ptr<SimDataEnvironment> SimProject::addDataEnvironment(const std::string& name) {
    auto designer = std::make_shared<SimDataEnvironment>(journal_, name);
    addDesigner(name, SimDataEnvironment::designerId, designer);
    return designer;
}

std::shared_ptr<SimComponent> SimProject::addDesigner(const std::string& name, const std::string& designerId,
                                                      std::shared_ptr<vb::Object> designer) {
    auto code = std::make_shared<SimCodeModule>(journal_, name, std::vector<std::string>{});
    auto component = std::make_shared<SimComponent>(journal_, name, vbide::vbext_ct_ActiveXDesigner, designerId,
                                                    std::move(designer), code);
    components_->append(component);
    return component;
}

void SimProject::setProperty(const std::string& section, const std::string& key, const std::string& value) {
    properties_[propertyKey(section, key)] = value;
}

std::vector<std::shared_ptr<SimComponent>> SimProject::components() const {
    return components_->elements();
}

std::shared_ptr<SimComponent> SimProject::component(const std::string& name) const {
    return components_->find(name);
}

std::optional<std::string> SimProject::property(const std::string& section, const std::string& key) const {
    auto it = properties_.find(propertyKey(section, key));
    if (it == properties_.end()) {
        return std::nullopt;
    }
    return it->second;
}

} // namespace sim

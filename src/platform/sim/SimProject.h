// SimProject: a simulated VB project with its components and its add-in properties.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/VBProject.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

class SimComponent;
class SimDataEnvironment;
class SimVBComponents;

class SimProject : public vbide::VBProject, public std::enable_shared_from_this<SimProject> {
public:
    SimProject(std::shared_ptr<Journal> journal, std::string name, std::string fileName);

    // vbide::VBProject
    std::string Name() override;
    std::string FileName() override;
    std::shared_ptr<vbide::VBComponents> VBComponents() override;
    std::string ReadProperty(const std::string& section, const std::string& key) override;
    void WriteProperty(const std::string& section, const std::string& key, const std::string& value) override;

    // Builder. Components with code (every type but resource files and related documents) get a
    // code module holding lines.
    std::shared_ptr<SimComponent> addComponent(const std::string& name, int32_t type,
                                               const std::vector<std::string>& lines = {});
    std::shared_ptr<SimComponent> addModule(const std::string& name, const std::vector<std::string>& lines = {});
    // A component of type 11 with DesignerID "DEDesigner.DataEnvironment" and its designer.
    std::shared_ptr<SimDataEnvironment> addDataEnvironment(const std::string& name);
    // An ActiveX designer of another kind.
    std::shared_ptr<SimComponent> addDesigner(const std::string& name, const std::string& designerId,
                                              std::shared_ptr<vb::Object> designer = nullptr);
    void setName(const std::string& name) { *name_ = name; }
    void setFileName(const std::string& fileName) { fileName_ = fileName; }
    void setProperty(const std::string& section, const std::string& key, const std::string& value);

    // Inspection (no journal entries).
    const std::string& name() const { return *name_; }
    const std::string& fileName() const { return fileName_; }
    std::vector<std::shared_ptr<SimComponent>> components() const;
    std::shared_ptr<SimComponent> component(const std::string& name) const;  // Nothing when unknown
    std::optional<std::string> property(const std::string& section, const std::string& key) const;

private:
    std::shared_ptr<Journal> journal_;
    std::shared_ptr<std::string> name_;  // shared with the components collection, which names its owner by it
    std::string fileName_;
    std::shared_ptr<SimVBComponents> components_;
    std::map<std::pair<std::string, std::string>, std::string> properties_;
};

} // namespace sim

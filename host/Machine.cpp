#include "Machine.h"

#include "HostError.h"

#include "platform/registry/Registry.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/sim/MemorySourceSafe.h"
#include "platform/sim/SimCodeModule.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimDECommand.h"
#include "platform/sim/SimDEConnection.h"
#include "platform/sim/SimDataEnvironment.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/vss/SourceSafe.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace host {

namespace fs = std::filesystem;

namespace {

constexpr char engineFileSection[] = "KALNIMB_WK";
constexpr char engineFileKey[] = "KALNIMB_WKFILENAME";

void writeText(const fs::path& target, const std::string& text) {
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out << text;
    if (!out) throw HostError("cannot write " + target.string());
}

} // namespace

Machine::Machine(const Workspace& workspace, DriveMap drives, const fs::path& workspaceFolder)
    : drives_(std::move(drives)),
      workspaceFolder_(fs::absolute(workspaceFolder)),
      loaded_(workspace),
      registry_(std::make_shared<sim::MemoryRegistry>()),
      sourceSafe_(sim::MemorySourceSafe::create()),
      ide_(sim::SimVBE::create()) {
    putFiles(workspace, workspaceFolder);
    fillRegistry(workspace);
    fillSourceSafe(workspace);
    fillIde(workspace);
    registry::install(registry_);
    sourceSafe_->install();
    watchedProperties_.emplace_back(engineFileSection, engineFileKey);
    for (const auto& p : workspace.projects)
        for (const auto& prop : p.properties) {
            std::pair<std::string, std::string> key{prop.section, prop.key};
            if (std::find(watchedProperties_.begin(), watchedProperties_.end(), key) == watchedProperties_.end())
                watchedProperties_.push_back(key);
        }
}

Machine::~Machine() {
    registry::install(nullptr);
    vss::install(nullptr);
}

void Machine::putFiles(const Workspace& w, const fs::path& workspaceFolder) {
    for (const auto& f : w.files) {
        fs::path target = drives_.hostPath(f.path);
        try {
            if (f.text) {
                writeText(target, *f.text);
            } else if (f.copy.empty()) {
                fs::create_directories(target);
            } else {
                fs::path source = workspaceFolder / f.copy;
                if (!fs::exists(source)) throw HostError(source.string() + " does not exist");
                fs::create_directories(fs::is_directory(source) ? target : target.parent_path());
                fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
            }
        } catch (const std::exception& e) {
            throw HostError("workspace: cannot put " + f.path + " on its drive: " + e.what());
        }
    }
}

void Machine::fillRegistry(const Workspace& w) {
    using registry::HKEY_CURRENT_USER;
    using registry::HKEY_LOCAL_MACHINE;
    if (w.sourceSafeInstalled)
        registry_->setString(HKEY_LOCAL_MACHINE, sourceSafeKey, "SCCServerPath", drives_.toSystem(w.sccServerPath));
    if (!w.sourceSafeDatabases.empty()) registry_->createKey(HKEY_LOCAL_MACHINE, sourceSafeDatabasesKey);
    for (const auto& db : w.sourceSafeDatabases)
        registry_->setString(HKEY_LOCAL_MACHINE, sourceSafeDatabasesKey, db.name, drives_.toSystem(db.folder));
    for (const auto& a : w.addIns) {
        std::string key = std::string(addInsKey) + "\\" + a.progId;
        registry_->setString(HKEY_CURRENT_USER, key, "FriendlyName", a.friendlyName);
        registry_->setString(HKEY_CURRENT_USER, key, "Description", a.description);
        registry_->setDword(HKEY_CURRENT_USER, key, "LoadBehavior", static_cast<uint32_t>(a.loadBehavior));
    }
}

void Machine::fillSourceSafe(const Workspace& w) {
    for (const auto& db : w.sourceSafe) {
        std::string folder = drives_.toSystem(db.folder);
        sourceSafe_->addDatabase(folder);
        for (const auto& u : db.users) sourceSafe_->addUser(folder, u.name, u.password);
        for (const auto& p : db.projects) sourceSafe_->addProject(folder, p);
        for (const auto& f : db.files) sourceSafe_->addFile(folder, f.spec, f.checkedOutBy);
    }
}

void Machine::fillIde(const Workspace& w) {
    for (const auto& p : w.projects) {
        auto project = ide_->addProject(p.name, drives_.toSystem(p.fileName));
        for (const auto& prop : p.properties) project->setProperty(prop.section, prop.key, drives_.toSystem(prop.value));
        for (const auto& c : p.components) {
            if (c.dataEnvironment) {
                auto de = project->addDataEnvironment(c.name);
                for (const auto& x : c.connections) de->addConnection(x.name, x.source);
                for (const auto& x : c.commands) de->addCommand(x.name, x.commandType, x.text, x.connection);
                if (!c.code.empty()) project->component(c.name)->code()->setLines(c.code);
            } else if (c.type == vbide::vbext_ct_ActiveXDesigner) {
                auto component = project->addDesigner(c.name, c.designerId);
                component->code()->setLines(c.code);
            } else {
                project->addComponent(c.name, c.type, c.code);
            }
        }
    }
    if (!w.activeProject.empty()) ide_->setActiveProject(ide_->project(w.activeProject));
    if (w.selectedComponent)
        ide_->setSelectedComponent(ide_->project(w.selectedComponent->project)->component(w.selectedComponent->component));
    ide_->setLastUsedPath(drives_.toSystem(w.lastUsedPath));
    ide_->mainWindow()->setState(w.mainWindowState);
}

Workspace Machine::capture() const {
    auto shown = [&](const std::string& s) { return drives_.toDisplay(s); };
    Workspace w = loaded_;
    w.projects.clear();
    for (const auto& project : ide_->projects()) {
        Workspace::Project p{project->name(), shown(project->fileName()), {}, {}};
        for (const auto& [section, key] : watchedProperties_)
            if (auto value = project->property(section, key)) p.properties.push_back({section, key, shown(*value)});
        for (const auto& component : project->components()) {
            Workspace::Component c;
            c.name = component->name();
            c.type = component->type();
            if (component->code()) c.code = component->code()->lines();
            if (auto de = std::dynamic_pointer_cast<sim::SimDataEnvironment>(component->designer())) {
                c.dataEnvironment = true;
                for (const auto& x : de->connections()) c.connections.push_back({x->name(), x->source()});
                for (const auto& x : de->commands())
                    c.commands.push_back({x->name(), x->commandType(), x->commandText(), x->connectionName()});
            } else if (c.type == vbide::vbext_ct_ActiveXDesigner) {
                c.designerId = component->designerId();
            }
            p.components.push_back(std::move(c));
        }
        w.projects.push_back(std::move(p));
    }
    w.activeProject = ide_->activeProject() ? ide_->activeProject()->name() : "";
    w.selectedComponent.reset();
    if (const auto& selected = ide_->selectedComponent())
        for (const auto& project : ide_->projects())
            if (project->component(selected->name()) == selected)
                w.selectedComponent = Workspace::Selection{project->name(), selected->name()};
    w.lastUsedPath = shown(ide_->lastUsedPath());
    w.mainWindowState = ide_->mainWindow()->windowState();

    using registry::HKEY_LOCAL_MACHINE;
    auto server = registry_->getString(HKEY_LOCAL_MACHINE, sourceSafeKey, "SCCServerPath");
    w.sourceSafeInstalled = server.has_value();
    w.sccServerPath = shown(server.value_or(""));
    w.sourceSafeDatabases.clear();
    for (const auto& name : registry_->valueNames(HKEY_LOCAL_MACHINE, sourceSafeDatabasesKey))
        w.sourceSafeDatabases.push_back(
            {name, shown(registry_->getString(HKEY_LOCAL_MACHINE, sourceSafeDatabasesKey, name).value_or(""))});
    captureSourceSafe(w);
    return w;
}

void Machine::captureSourceSafe(Workspace& w) const {
    for (auto& db : w.sourceSafe) {
        std::string folder = drives_.toSystem(db.folder);
        db.projects.clear();
        db.files.clear();
        // A project's files before its subprojects', as a workspace lists them.
        auto walk = [&](auto& self, const std::string& spec) -> void {
            std::vector<std::string> subprojects;
            for (const auto& name : sourceSafe_->children(folder, spec)) {
                std::string child = (spec == "$/" ? spec : spec + "/") + name;
                if (sourceSafe_->isProject(folder, child)) subprojects.push_back(child);
                else db.files.push_back({child, sourceSafe_->checkedOutBy(folder, child)});
            }
            for (const auto& child : subprojects) {
                db.projects.push_back(child);
                self(self, child);
            }
        };
        walk(walk, "$/");
    }
}

} // namespace host

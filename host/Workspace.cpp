#include "Workspace.h"

#include "HostError.h"

#include "platform/vbide/Constants.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <initializer_list>
#include <set>
#include <utility>

namespace host {

using json = nlohmann::ordered_json;

namespace {

constexpr char formatName[] = "nimbide-workspace 1";

const std::array<std::pair<const char*, int32_t>, 11> componentTypes{{
    {"module", vbide::vbext_ct_StdModule},
    {"class", vbide::vbext_ct_ClassModule},
    {"msform", vbide::vbext_ct_MSForm},
    {"resfile", vbide::vbext_ct_ResFile},
    {"form", vbide::vbext_ct_VBForm},
    {"mdiform", vbide::vbext_ct_VBMDIForm},
    {"propertyPage", vbide::vbext_ct_PropPage},
    {"userControl", vbide::vbext_ct_UserControl},
    {"userDocument", vbide::vbext_ct_DocObject},
    {"relatedDocument", vbide::vbext_ct_RelatedDocument},
    {"designer", vbide::vbext_ct_ActiveXDesigner},
}};

const std::array<std::pair<const char*, int32_t>, 3> windowStates{{
    {"normal", vbide::vbext_ws_Normal},
    {"minimized", vbide::vbext_ws_Minimize},
    {"maximized", vbide::vbext_ws_Maximize},
}};

// A place in the JSON document with the path that names it in error messages.
class Node {
public:
    Node(const json& value, std::string where) : value_(value), where_(std::move(where)) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw HostError("workspace: " + (where_.empty() ? std::string("/") : where_) + ": " + what);
    }

    // An object whose keys are all among allowed.
    const Node& object(std::initializer_list<const char*> allowed) const {
        if (!value_.is_object()) fail("expected an object");
        for (const auto& [key, _] : value_.items())
            if (std::none_of(allowed.begin(), allowed.end(), [&](const char* k) { return key == k; }))
                fail("unknown key \"" + key + "\"");
        return *this;
    }
    bool has(const char* key) const { return value_.contains(key); }
    Node at(const char* key) const {
        if (!has(key)) fail("the key \"" + std::string(key) + "\" is missing");
        return Node(value_.at(key), where_ + "/" + key);
    }
    std::vector<Node> items() const {
        if (!value_.is_array()) fail("expected an array");
        std::vector<Node> out;
        for (std::size_t i = 0; i < value_.size(); ++i) out.emplace_back(value_[i], where_ + "/" + std::to_string(i));
        return out;
    }
    std::vector<Node> items(const char* key) const { return has(key) ? at(key).items() : std::vector<Node>{}; }

    std::string str() const {
        if (!value_.is_string()) fail("expected a string");
        return value_.get<std::string>();
    }
    std::string str(const char* key, const std::string& otherwise = {}) const {
        return has(key) ? at(key).str() : otherwise;
    }
    std::string name(const char* key) const {
        std::string s = at(key).str();
        if (s.empty()) at(key).fail("must not be empty");
        return s;
    }
    int32_t integer() const {
        if (!value_.is_number_integer()) fail("expected a whole number");
        auto n = value_.get<int64_t>();
        if (n < INT32_MIN || n > INT32_MAX) fail("the number is out of range");
        return static_cast<int32_t>(n);
    }
    int32_t integer(const char* key, int32_t otherwise) const { return has(key) ? at(key).integer() : otherwise; }
    bool boolean(const char* key, bool otherwise) const {
        if (!has(key)) return otherwise;
        Node n = at(key);
        if (!n.value_.is_boolean()) n.fail("expected true or false");
        return n.value_.get<bool>();
    }
    const json& value() const { return value_; }

private:
    const json& value_;
    std::string where_;
};

template <class T>
void requireUnique(const Node& list, const std::vector<T>& entries, std::string T::*field, const char* what) {
    std::set<std::string> seen;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!seen.insert(entries[i].*field).second)
            list.items()[i].fail("a second " + std::string(what) + " named \"" + entries[i].*field + "\"");
}

Workspace::Component readComponent(const Node& n) {
    n.object({"name", "type", "designerId", "code", "connections", "commands"});
    Workspace::Component c;
    c.name = n.name("name");
    Node type = n.at("type");
    if (type.value().is_string() && type.str() == "dataEnvironment") {
        c.type = vbide::vbext_ct_ActiveXDesigner;
        c.dataEnvironment = true;
    } else if (type.value().is_string()) {
        c.type = componentTypeNumber(type.str());
        if (c.type == 0) type.fail("unknown component type \"" + type.str() + "\"");
    } else {
        c.type = type.integer();
        if (c.type < vbide::vbext_ct_StdModule || c.type > vbide::vbext_ct_ActiveXDesigner)
            type.fail("component types are 1 to 11");
    }
    c.designerId = n.str("designerId");
    if (!c.designerId.empty() && c.type != vbide::vbext_ct_ActiveXDesigner)
        n.at("designerId").fail("only designers have a designer id");
    if (c.type == vbide::vbext_ct_ActiveXDesigner && !c.dataEnvironment && c.designerId.empty())
        n.fail("a designer needs a designerId (or the type dataEnvironment)");
    for (const auto& line : n.items("code")) c.code.push_back(line.str());
    if (!c.dataEnvironment && (n.has("connections") || n.has("commands")))
        n.fail("only a dataEnvironment has connections and commands");
    for (const auto& x : n.items("connections")) {
        x.object({"name", "source"});
        c.connections.push_back({x.name("name"), x.str("source")});
    }
    for (const auto& x : n.items("commands")) {
        x.object({"name", "commandType", "text", "connection"});
        c.commands.push_back({x.name("name"), x.integer("commandType", 1), x.str("text"), x.str("connection")});
    }
    if (n.has("connections")) requireUnique(n.at("connections"), c.connections, &Workspace::DEConnection::name, "connection");
    if (n.has("commands")) requireUnique(n.at("commands"), c.commands, &Workspace::DECommand::name, "command");
    return c;
}

Workspace::Project readProject(const Node& n) {
    n.object({"name", "fileName", "properties", "components"});
    Workspace::Project p;
    p.name = n.name("name");
    p.fileName = n.str("fileName");
    for (const auto& x : n.items("properties")) {
        x.object({"section", "key", "value"});
        p.properties.push_back({x.name("section"), x.name("key"), x.at("value").str()});
    }
    for (const auto& x : n.items("components")) p.components.push_back(readComponent(x));
    if (n.has("components")) requireUnique(n.at("components"), p.components, &Workspace::Component::name, "component");
    return p;
}

void readIde(const Node& n, Workspace& w) {
    n.object({"projects", "activeProject", "selectedComponent", "lastUsedPath", "mainWindow"});
    for (const auto& x : n.items("projects")) w.projects.push_back(readProject(x));
    if (n.has("projects")) requireUnique(n.at("projects"), w.projects, &Workspace::Project::name, "project");
    auto project = [&](const std::string& name) {
        return std::find_if(w.projects.begin(), w.projects.end(), [&](const auto& p) { return p.name == name; });
    };
    w.activeProject = n.str("activeProject");
    if (!w.activeProject.empty() && project(w.activeProject) == w.projects.end())
        n.at("activeProject").fail("no project is named \"" + w.activeProject + "\"");
    if (n.has("selectedComponent")) {
        Node s = n.at("selectedComponent");
        s.object({"project", "component"});
        Workspace::Selection sel{s.name("project"), s.name("component")};
        auto p = project(sel.project);
        if (p == w.projects.end()) s.at("project").fail("no project is named \"" + sel.project + "\"");
        if (std::none_of(p->components.begin(), p->components.end(), [&](const auto& c) { return c.name == sel.component; }))
            s.at("component").fail(sel.project + " has no component named \"" + sel.component + "\"");
        w.selectedComponent = sel;
    }
    w.lastUsedPath = n.str("lastUsedPath");
    if (n.has("mainWindow")) {
        w.mainWindowState = windowStateNumber(n.at("mainWindow").str());
        if (w.mainWindowState < 0) n.at("mainWindow").fail("expected normal, minimized or maximized");
    }
}

void readRegistry(const Node& n, Workspace& w) {
    n.object({"sourceSafe", "addIns"});
    if (n.has("sourceSafe")) {
        Node s = n.at("sourceSafe");
        s.object({"installed", "serverPath", "databases"});
        w.sourceSafeInstalled = s.boolean("installed", false);
        w.sccServerPath = s.str("serverPath", w.sourceSafeInstalled ? "C:\\Program Files\\VSS\\win32\\SSSCC.DLL" : "");
        for (const auto& x : s.items("databases")) {
            x.object({"name", "folder"});
            w.sourceSafeDatabases.push_back({x.name("name"), x.at("folder").str()});
        }
    }
    for (const auto& x : n.items("addIns")) {
        x.object({"progId", "friendlyName", "description", "loadBehavior"});
        w.addIns.push_back({x.name("progId"), x.str("friendlyName"), x.str("description"), x.integer("loadBehavior", 0)});
    }
}

void readSourceSafe(const Node& n, Workspace& w) {
    for (const auto& x : n.items()) {
        x.object({"folder", "users", "projects", "files"});
        Workspace::SourceSafeDatabase db;
        db.folder = x.name("folder");
        for (const auto& u : x.items("users")) {
            u.object({"name", "password"});
            db.users.push_back({u.name("name"), u.str("password")});
        }
        for (const auto& p : x.items("projects")) {
            db.projects.push_back(p.str());
            if (db.projects.back().rfind("$/", 0) != 0) p.fail("a SourceSafe project starts with $/");
        }
        for (const auto& f : x.items("files")) {
            f.object({"spec", "checkedOutBy"});
            db.files.push_back({f.name("spec"), f.str("checkedOutBy")});
            if (db.files.back().spec.rfind("$/", 0) != 0) f.at("spec").fail("a SourceSafe file starts with $/");
        }
        w.sourceSafe.push_back(std::move(db));
    }
}

void readFiles(const Node& n, Workspace& w) {
    for (const auto& x : n.items()) {
        x.object({"path", "copy", "text"});
        Workspace::DriveFile f{x.name("path"), x.str("copy"), std::nullopt};
        if (x.has("text")) f.text = x.at("text").str();
        if (!f.copy.empty() && f.text) x.fail("give either copy or text, not both");
        w.files.push_back(std::move(f));
    }
}

template <class Table>
int32_t numberOf(const Table& table, const std::string& name, int32_t otherwise) {
    for (const auto& [n, v] : table)
        if (name == n) return v;
    return otherwise;
}

template <class Table>
std::string nameOf(const Table& table, int32_t value) {
    for (const auto& [n, v] : table)
        if (v == value) return n;
    return std::to_string(value);
}

json componentJson(const Workspace::Component& c) {
    json j = {{"name", c.name}};
    j["type"] = c.dataEnvironment ? "dataEnvironment" : componentTypeName(c.type);
    if (!c.designerId.empty()) j["designerId"] = c.designerId;
    if (!c.code.empty()) j["code"] = c.code;
    if (c.dataEnvironment) {
        j["connections"] = json::array();
        for (const auto& x : c.connections) j["connections"].push_back({{"name", x.name}, {"source", x.source}});
        j["commands"] = json::array();
        for (const auto& x : c.commands)
            j["commands"].push_back(
                {{"name", x.name}, {"commandType", x.commandType}, {"text", x.text}, {"connection", x.connection}});
    }
    return j;
}

} // namespace

int32_t componentTypeNumber(const std::string& name) { return numberOf(componentTypes, name, 0); }
std::string componentTypeName(int32_t type) { return nameOf(componentTypes, type); }
int32_t windowStateNumber(const std::string& name) { return numberOf(windowStates, name, -1); }
std::string windowStateName(int32_t state) { return nameOf(windowStates, state); }

Workspace Workspace::read(const json& document) {
    Node root(document, "");
    root.object({"format", "ide", "registry", "sourceSafe", "files"});
    if (root.has("format") && root.at("format").str() != formatName)
        root.at("format").fail("expected \"" + std::string(formatName) + "\"");
    Workspace w;
    if (root.has("ide")) readIde(root.at("ide"), w);
    if (root.has("registry")) readRegistry(root.at("registry"), w);
    if (root.has("sourceSafe")) readSourceSafe(root.at("sourceSafe"), w);
    if (root.has("files")) readFiles(root.at("files"), w);
    return w;
}

void Workspace::moveCopies(const std::filesystem::path& from, const std::filesystem::path& to) {
    for (auto& f : files) {
        if (f.copy.empty()) continue;
        auto source = (from / f.copy).lexically_normal();
        auto relative = source.lexically_relative(to.lexically_normal());
        f.copy = (relative.empty() ? source : relative).generic_string();
    }
}

Workspace Workspace::readFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw HostError("workspace: cannot read " + path);
    json document = json::parse(in, nullptr, false, true);
    if (document.is_discarded()) throw HostError("workspace: " + path + " is not valid JSON");
    return read(document);
}

json Workspace::toJson() const {
    json ide = {{"projects", json::array()}};
    for (const auto& p : projects) {
        json jp = {{"name", p.name}, {"fileName", p.fileName}, {"properties", json::array()}, {"components", json::array()}};
        for (const auto& x : p.properties) jp["properties"].push_back({{"section", x.section}, {"key", x.key}, {"value", x.value}});
        for (const auto& c : p.components) jp["components"].push_back(componentJson(c));
        ide["projects"].push_back(std::move(jp));
    }
    if (!activeProject.empty()) ide["activeProject"] = activeProject;
    if (selectedComponent) ide["selectedComponent"] = {{"project", selectedComponent->project}, {"component", selectedComponent->component}};
    ide["lastUsedPath"] = lastUsedPath;
    ide["mainWindow"] = windowStateName(mainWindowState);

    json databases = json::array();
    for (const auto& d : sourceSafeDatabases) databases.push_back({{"name", d.name}, {"folder", d.folder}});
    json registry = {{"sourceSafe", {{"installed", sourceSafeInstalled}, {"serverPath", sccServerPath}, {"databases", databases}}},
                     {"addIns", json::array()}};
    for (const auto& a : addIns)
        registry["addIns"].push_back(
            {{"progId", a.progId}, {"friendlyName", a.friendlyName}, {"description", a.description}, {"loadBehavior", a.loadBehavior}});

    json vss = json::array();
    for (const auto& db : sourceSafe) {
        json jd = {{"folder", db.folder}, {"users", json::array()}, {"projects", db.projects}, {"files", json::array()}};
        for (const auto& u : db.users) jd["users"].push_back({{"name", u.name}, {"password", u.password}});
        for (const auto& f : db.files) jd["files"].push_back({{"spec", f.spec}, {"checkedOutBy", f.checkedOutBy}});
        vss.push_back(std::move(jd));
    }
    json drive = json::array();
    for (const auto& f : files) {
        json jf = {{"path", f.path}};
        if (!f.copy.empty()) jf["copy"] = f.copy;
        if (f.text) jf["text"] = *f.text;
        drive.push_back(std::move(jf));
    }
    return {{"format", formatName}, {"files", drive}, {"ide", ide}, {"registry", registry}, {"sourceSafe", vss}};
}

} // namespace host

#include "platform/sim/MemorySourceSafe.h"

#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/sim/names.h"
#include "platform/vss/SourceSafe.h"
#include "platform/vss/VSSErrors.h"
#include "platform/vss/VSSItem.h"
#include "platform/vss/VSSItems.h"

#include <algorithm>
#include <functional>
#include <map>

namespace sim {

struct MemorySourceSafe::Node {
    std::string name;
    std::string spec;
    bool project;
    std::vector<std::shared_ptr<Node>> children;
    std::string checkedOutBy;
    std::string checkoutLocal;

    std::shared_ptr<Node> child(const std::string& childName) const {
        auto it = std::find_if(children.begin(), children.end(),
                               [&](const auto& c) { return names::equalNoCase(c->name, childName); });
        return it == children.end() ? nullptr : *it;
    }
    std::shared_ptr<Node> addChild(const std::string& childName, bool isProject) {
        auto node = std::make_shared<Node>();
        node->name = childName;
        node->spec = (spec == "$/" ? spec : spec + "/") + childName;
        node->project = isProject;
        children.push_back(node);
        return node;
    }
};

struct MemorySourceSafe::Database {
    std::string folder;
    std::map<std::string, std::string> passwords;  // by lower-case user name
    std::shared_ptr<Node> root;
};

namespace {

using Node = MemorySourceSafe::Node;
using Database = MemorySourceSafe::Database;

std::string withoutTrailingSeparators(std::string path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
        path.pop_back();
    }
    return path;
}

[[noreturn]] void raise(int32_t number, const std::string& description) {
    throw vb::VBError(number, description, "SourceSafe");
}

// The names along a spec: "$/A/b.sql" gives A, b.sql; "$/" gives none.
std::vector<std::string> specParts(const std::string& spec) {
    if (spec.rfind("$/", 0) != 0) {
        raise(vss::errSpecSyntax, "Invalid SourceSafe syntax: \"" + spec + "\"");
    }
    std::string rest = spec.substr(2);
    if (!rest.empty() && rest.back() == '/') {
        rest.pop_back();
    }
    if (rest.empty()) {
        return {};
    }
    auto parts = names::split(rest, '/');
    if (std::any_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty(); })) {
        raise(vss::errSpecSyntax, "Invalid SourceSafe syntax: \"" + spec + "\"");
    }
    return parts;
}

std::shared_ptr<Node> lookUp(const Database& db, const std::string& spec) {
    auto node = db.root;
    for (const auto& part : specParts(spec)) {
        node = node->project ? node->child(part) : nullptr;
        if (!node) {
            raise(vss::errItemNotFound, "File \"" + spec + "\" not found");
        }
    }
    return node;
}

bool validName(const std::string& name) {
    return !name.empty() && name.front() != '$' && name.find_first_of("/\\") == std::string::npos;
}

// What a database session knows: the server's journal, the open database and who opened it.
struct Session {
    std::shared_ptr<Journal> journal;
    std::shared_ptr<Database> database;
    std::string user;
};

class MemoryVSSItem;

class MemoryVSSItems : public vss::VSSItems {
public:
    MemoryVSSItems(std::shared_ptr<Session> session, std::vector<std::shared_ptr<vss::VSSItem>> items, std::string spec)
        : session_(std::move(session)), items_(std::move(items)), spec_(std::move(spec)) {}

    int32_t Count() override {
        session_->journal->enter("VSSItems.Count", spec_);
        return static_cast<int32_t>(items_.size());
    }
    std::shared_ptr<vss::VSSItem> Item(int32_t index) override {
        session_->journal->enter("VSSItems.Item", spec_, {std::to_string(index)});
        if (index < 1 || index > static_cast<int32_t>(items_.size())) {
            throw vb::VBError(vb::err::SubscriptOutOfRange, "Subscript out of range");
        }
        return items_[static_cast<std::size_t>(index - 1)];
    }
    std::vector<std::shared_ptr<vss::VSSItem>> items() override {
        session_->journal->enter("VSSItems.items", spec_);
        return items_;
    }

private:
    std::shared_ptr<Session> session_;
    std::vector<std::shared_ptr<vss::VSSItem>> items_;
    std::string spec_;
};

class MemoryVSSItem : public vss::VSSItem {
public:
    MemoryVSSItem(std::shared_ptr<Session> session, std::shared_ptr<Node> node)
        : session_(std::move(session)), node_(std::move(node)) {}

    std::string Name() override {
        enter("Name");
        return node_->name;
    }
    std::string Spec() override {
        enter("Spec");
        return node_->spec;
    }
    int32_t Type() override {
        enter("Type");
        return node_->project ? vss::VSSITEM_PROJECT : vss::VSSITEM_FILE;
    }
    std::shared_ptr<vss::VSSItems> Items(bool includeDeleted) override {
        // Nothing is ever deleted here, so includeDeleted changes nothing.
        enter("Items", {includeDeleted ? "True" : "False"});
        wantProject();
        std::vector<std::shared_ptr<vss::VSSItem>> children;
        for (const auto& child : node_->children) {
            children.push_back(std::make_shared<MemoryVSSItem>(session_, child));
        }
        return std::make_shared<MemoryVSSItems>(session_, std::move(children), node_->spec);
    }
    std::shared_ptr<vss::VSSItem> NewSubproject(const std::string& name, const std::string& comment) override {
        enter("NewSubproject", {name, comment});
        return std::make_shared<MemoryVSSItem>(session_, addChild(name, true, "project"));
    }
    std::shared_ptr<vss::VSSItem> Add(const std::string& local, const std::string& comment, int32_t flags) override {
        enter("Add", {local, comment, std::to_string(flags)});
        const std::string name = local.substr(local.find_last_of('\\') + 1);
        return std::make_shared<MemoryVSSItem>(session_, addChild(name, false, "file"));
    }
    void Checkout(const std::string& comment, const std::string& local, int32_t flags) override {
        enter("Checkout", {comment, local, std::to_string(flags)});
        wantFile();
        if (!node_->checkedOutBy.empty()) {
            raise(vss::errAlreadyCheckedOut, "Cannot check out " + node_->name + ". It is already checked out by " +
                                                 node_->checkedOutBy + ".");
        }
        node_->checkedOutBy = session_->user;
        node_->checkoutLocal = local;
    }
    void Checkin(const std::string& comment, const std::string& local, int32_t flags) override {
        enter("Checkin", {comment, local, std::to_string(flags)});
        wantFile();
        if (node_->checkedOutBy.empty()) {
            raise(vss::errNotCheckedOut, "File " + node_->name + " is not checked out");
        }
        if (!names::equalNoCase(node_->checkedOutBy, session_->user)) {
            raise(vss::errCheckedOutByOther,
                  "File " + node_->name + " is currently checked out by " + node_->checkedOutBy);
        }
        node_->checkedOutBy.clear();
        node_->checkoutLocal.clear();
    }
    int32_t IsCheckedOut() override {
        enter("IsCheckedOut");
        if (node_->project || node_->checkedOutBy.empty()) {
            return vss::VSSFILE_NOTCHECKEDOUT;
        }
        return names::equalNoCase(node_->checkedOutBy, session_->user) ? vss::VSSFILE_CHECKEDOUT_ME
                                                                        : vss::VSSFILE_CHECKEDOUT;
    }

private:
    void enter(const std::string& member, std::vector<std::string> args = {}) {
        session_->journal->enter("VSSItem." + member, node_->spec, std::move(args));
    }
    void wantProject() const {
        if (!node_->project) {
            raise(vss::errWantProject, "This command only works on projects.");
        }
    }
    void wantFile() const {
        if (node_->project) {
            raise(vss::errWantFile, "This command only works on files.");
        }
    }
    std::shared_ptr<Node> addChild(const std::string& name, bool project, const std::string& kind) {
        wantProject();
        if (!validName(name)) {
            raise(vss::errInvalidName, "\"" + name + "\" is an invalid " + kind + " name");
        }
        if (node_->child(name)) {
            // The automation refuses a second file of a name through its item collection's key
            // check; a second project of a name is SourceSafe's own "already exists".
            if (project) {
                raise(vss::errItemExists, "An item with the name " + name + " already exists");
            }
            raise(vss::errDuplicateFile, "Key is not unique in collection");
        }
        return node_->addChild(name, project);
    }

    std::shared_ptr<Session> session_;
    std::shared_ptr<Node> node_;
};

class MemoryVSSDatabase : public vss::VSSDatabase {
public:
    using Finder = std::function<std::shared_ptr<Database>(const std::string& folder)>;

    MemoryVSSDatabase(std::shared_ptr<Journal> journal, Finder find)
        : session_(std::make_shared<Session>(Session{std::move(journal), nullptr, {}})), find_(std::move(find)) {}

    void Open(const std::string& srcSafeIni, const std::string& username, const std::string& password) override {
        session_->journal->enter("VSSDatabase.Open", "", {srcSafeIni, username});
        // A failed Open leaves the session closed, whatever it had open before.
        session_ = std::make_shared<Session>(Session{session_->journal, nullptr, {}});
        ini_.clear();
        const auto cut = srcSafeIni.find_last_of('\\');
        const std::string file = cut == std::string::npos ? srcSafeIni : srcSafeIni.substr(cut + 1);
        auto database = cut == std::string::npos ? nullptr : find_(srcSafeIni.substr(0, cut));
        if (!database || !names::equalNoCase(file, "srcsafe.ini")) {
            raise(vss::errIniNotFound, "File \"" + srcSafeIni + "\" not found");
        }
        auto user = database->passwords.find(names::lower(username));
        if (user == database->passwords.end()) {
            raise(vss::errUserNotFound, "User \"" + username + "\" not found");
        }
        if (user->second != password) {
            raise(vss::errBadPassword, "Invalid password");
        }
        session_->database = database;
        session_->user = username;
        ini_ = srcSafeIni;
    }
    std::shared_ptr<vss::VSSItem> VSSItem(const std::string& spec, bool deleted) override {
        session_->journal->enter("VSSDatabase.VSSItem", "", {spec, deleted ? "True" : "False"});
        if (!session_->database) {
            raise(vss::errPermissionDenied, "Permission denied");
        }
        return std::make_shared<MemoryVSSItem>(session_, lookUp(*session_->database, spec));
    }
    std::string SrcSafeIni() override {
        session_->journal->enter("VSSDatabase.SrcSafeIni", "");
        return ini_;
    }
    std::string Username() override {
        session_->journal->enter("VSSDatabase.Username", "");
        return session_->user;
    }

private:
    std::shared_ptr<Session> session_;
    Finder find_;
    std::string ini_;
};

} // namespace

std::shared_ptr<MemorySourceSafe> MemorySourceSafe::create() {
    return std::shared_ptr<MemorySourceSafe>(new MemorySourceSafe());
}

MemorySourceSafe::MemorySourceSafe() : journal_(std::make_shared<Journal>()) {}

std::shared_ptr<MemorySourceSafe::Database> MemorySourceSafe::database(const std::string& folder) const {
    const std::string wanted = withoutTrailingSeparators(folder);
    for (const auto& db : databases_) {
        if (names::equalNoCase(db->folder, wanted)) {
            return db;
        }
    }
    return nullptr;
}

MemorySourceSafe::Database& MemorySourceSafe::databaseOrThrow(const std::string& folder) const {
    auto db = database(folder);
    if (!db) {
        throw vb::VBError(vb::err::InvalidProcedureCall, "No SourceSafe database in " + folder);
    }
    return *db;
}

void MemorySourceSafe::addDatabase(const std::string& folder) {
    if (database(folder)) {
        return;
    }
    auto root = std::make_shared<Node>();
    root->spec = "$/";
    root->project = true;
    databases_.push_back(std::make_shared<Database>(Database{withoutTrailingSeparators(folder), {}, root}));
}

void MemorySourceSafe::addUser(const std::string& folder, const std::string& user, const std::string& password) {
    databaseOrThrow(folder).passwords[names::lower(user)] = password;
}

namespace {

// Makes every missing item along the item path; the last one is a project or a file.
std::shared_ptr<Node> make(Node& root, const std::string& spec, bool lastIsProject) {
    auto parts = specParts(spec);
    Node* node = &root;
    std::shared_ptr<Node> made;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        made = node->child(parts[i]);
        if (!made) {
            made = node->addChild(parts[i], i + 1 < parts.size() || lastIsProject);
        }
        node = made.get();
    }
    return made;
}

} // namespace

void MemorySourceSafe::addProject(const std::string& folder, const std::string& spec) {
    make(*databaseOrThrow(folder).root, spec, true);
}

void MemorySourceSafe::addFile(const std::string& folder, const std::string& spec, const std::string& checkedOutBy) {
    auto file = make(*databaseOrThrow(folder).root, spec, false);
    if (file) {
        file->checkedOutBy = checkedOutBy;
    }
}

bool MemorySourceSafe::exists(const std::string& folder, const std::string& spec) const {
    return vb::silently([&] { lookUp(databaseOrThrow(folder), spec); });
}

std::string MemorySourceSafe::checkedOutBy(const std::string& folder, const std::string& spec) const {
    return lookUp(databaseOrThrow(folder), spec)->checkedOutBy;
}

std::string MemorySourceSafe::checkoutLocal(const std::string& folder, const std::string& spec) const {
    return lookUp(databaseOrThrow(folder), spec)->checkoutLocal;
}

bool MemorySourceSafe::isProject(const std::string& folder, const std::string& spec) const {
    return lookUp(databaseOrThrow(folder), spec)->project;
}

std::vector<std::string> MemorySourceSafe::children(const std::string& folder, const std::string& spec) const {
    std::vector<std::string> result;
    for (const auto& child : lookUp(databaseOrThrow(folder), spec)->children) {
        result.push_back(child->name);
    }
    return result;
}

std::shared_ptr<vss::VSSDatabase> MemorySourceSafe::newSession() {
    std::weak_ptr<MemorySourceSafe> self = weak_from_this();
    return std::make_shared<MemoryVSSDatabase>(journal_, [self](const std::string& folder) {
        auto server = self.lock();
        return server ? server->database(folder) : nullptr;
    });
}

void MemorySourceSafe::install() {
    std::weak_ptr<MemorySourceSafe> self = weak_from_this();
    vss::install([self]() -> std::shared_ptr<vss::VSSDatabase> {
        auto server = self.lock();
        return server ? server->newSession() : nullptr;
    });
}

} // namespace sim

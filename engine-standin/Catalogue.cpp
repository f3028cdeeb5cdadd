#include "Catalogue.h"
#include "Caseless.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace standin {

using namespace nimb::VSAConstants;

namespace {

size_t folderIndex(int32_t folderType) {
    auto it = std::find(folderTypes.begin(), folderTypes.end(), folderType);
    if (it == folderTypes.end())
        throw std::invalid_argument("not a folder type");
    return static_cast<size_t>(it - folderTypes.begin());
}

template <class Taken> std::string firstFree(const std::string& stem, Taken taken) {
    if (!taken(stem))
        return stem;
    for (int n = 2;; ++n) {
        std::string candidate = stem + "_" + std::to_string(n);
        if (!taken(candidate))
            return candidate;
    }
}

} // namespace

bool DbObject::hasSource() const {
    return type == WK_OBJ_PROCEDURE || type == WK_OBJ_FUNCTION || type == WK_OBJ_TRIGGER;
}

std::string DbObject::qualifiedName() const {
    return schema.empty() ? name : schema + "." + name;
}

bool Folder::shows(const DbObject& object) const {
    return !filtered || !startsCaseless(object.schema, "SYS");
}

Connection::Connection() {
    for (size_t i = 0; i < folders.size(); ++i) {
        folders[i] = std::make_shared<Folder>();
        folders[i]->type = folderTypes[i];
        folders[i]->connection = this;
    }
}

Folder& Connection::folder(int32_t folderType) const {
    return *folders[folderIndex(folderType)];
}

bool isFolderType(int32_t type) {
    return std::find(folderTypes.begin(), folderTypes.end(), type) != folderTypes.end();
}

bool isObjectType(int32_t type) {
    return isFolderType(type - 1);
}

const char* folderWord(int32_t folderType) {
    static const char* const words[] = {"procedures", "functions", "triggers", "tables", "views"};
    return words[folderIndex(folderType)];
}

const char* objectWord(int32_t objectType) {
    static const char* const words[] = {"procedure", "function", "trigger", "table", "view"};
    return words[folderIndex(objectType - 1)];
}

int32_t Located::hdl() const {
    if (object)
        return object->hdl;
    if (folder)
        return folder->hdl;
    if (connection)
        return connection->hdl;
    return project ? project->hdl : 0;
}

void Catalogue::install(std::shared_ptr<Project> p) {
    close();
    project_ = std::move(p);
    project_->hdl = handles_.add(project_);
    for (auto& connection : project_->connections)
        registerConnection(connection);
}

void Catalogue::close() {
    if (!project_)
        return;
    for (auto& connection : project_->connections)
        retireConnection(*connection);
    handles_.retire(project_->hdl);
    project_.reset();
}

void Catalogue::addConnection(const std::shared_ptr<Connection>& connection) {
    project_->connections.push_back(connection);
    registerConnection(connection);
}

void Catalogue::removeConnection(const Connection& connection) {
    retireConnection(connection);
    auto& list = project_->connections;
    list.erase(std::remove_if(list.begin(), list.end(), [&](auto& c) { return c.get() == &connection; }),
               list.end());
}

void Catalogue::addObject(Folder& folder, const std::shared_ptr<DbObject>& object) {
    object->type = folder.objectType();
    object->folder = &folder;
    object->hdl = handles_.add(object);
    folder.objects.push_back(object);
    ++folder.generation;
}

void Catalogue::removeObject(const DbObject& object) {
    if (!object.folder)
        return;
    handles_.retire(object.hdl);
    auto& list = object.folder->objects;
    list.erase(std::remove_if(list.begin(), list.end(), [&](auto& o) { return o.get() == &object; }),
               list.end());
    ++object.folder->generation;
}

std::vector<std::shared_ptr<DbObject>>
Catalogue::replaceObjects(Folder& folder, std::vector<std::shared_ptr<DbObject>> objects,
                          const std::vector<std::shared_ptr<DbObject>>& entering) {
    for (auto& object : entering) {
        object->type = folder.objectType();
        object->folder = &folder;
        if (handles_.find<DbObject>(object->hdl) != object)
            object->hdl = handles_.add(object);
    }
    std::swap(folder.objects, objects);
    ++folder.generation;
    return objects;
}

void Catalogue::admit(Folder& folder, const std::shared_ptr<DbObject>& object) {
    object->type = folder.objectType();
    object->folder = &folder;
    object->hdl = handles_.add(object);
}

void Catalogue::retireObjects(const std::vector<std::shared_ptr<DbObject>>& leaving) {
    for (auto& object : leaving)
        if (handles_.find<DbObject>(object->hdl) == object)
            handles_.retire(object->hdl);
}

void Catalogue::registerConnection(const std::shared_ptr<Connection>& connection) {
    connection->project = project_.get();
    connection->hdl = handles_.add(connection);
    for (auto& folder : connection->folders) {
        folder->connection = connection.get();
        folder->hdl = handles_.add(folder);
        for (auto& object : folder->objects) {
            object->type = folder->objectType();
            object->folder = folder.get();
            object->hdl = handles_.add(object);
        }
    }
}

void Catalogue::retireConnection(const Connection& connection) {
    for (auto& folder : connection.folders) {
        for (auto& object : folder->objects)
            handles_.retire(object->hdl);
        handles_.retire(folder->hdl);
    }
    handles_.retire(connection.hdl);
}

std::optional<Located> Catalogue::locate(int32_t hdl) const {
    if (!project_)
        return std::nullopt;
    Located at;
    at.project = project_;
    if ((at.object = handles_.find<DbObject>(hdl))) {
        at.type = at.object->type;
        at.folder = handles_.find<Folder>(at.object->folder->hdl);
    } else if ((at.folder = handles_.find<Folder>(hdl))) {
        at.type = at.folder->type;
    } else if ((at.connection = handles_.find<Connection>(hdl))) {
        at.type = WK_OBJ_CONNECTION;
    } else if (handles_.find<Project>(hdl)) {
        at.type = WK_OBJ_PROJECT;
    } else {
        return std::nullopt;
    }
    if (at.folder)
        at.connection = handles_.find<Connection>(at.folder->connection->hdl);
    return at;
}

std::string Catalogue::uniqueName(const Folder& folder, const std::string& stem) {
    return firstFree(stem, [&](const std::string& name) {
        return std::any_of(folder.objects.begin(), folder.objects.end(),
                           [&](auto& o) { return o->name == name; });
    });
}

std::string Catalogue::uniqueDatabase(const Project& project, const std::string& stem) {
    return firstFree(stem, [&](const std::string& name) {
        return std::any_of(project.connections.begin(), project.connections.end(),
                           [&](auto& c) { return c->database == name; });
    });
}

} // namespace standin

#include "ProjectStore.h"

#include "FileSystem.h"
#include "WkvFormat.h"

namespace standin::ProjectStore {

namespace {

template <class F> void eachObject(const Project& project, F fn) {
    for (auto& connection : project.connections)
        for (auto& folder : connection->folders)
            for (auto& object : folder->objects)
                fn(*object);
}

} // namespace

std::shared_ptr<Project> load(const std::string& path) {
    std::shared_ptr<Project> project;
    try {
        project = WkvFormat::parse(FileSystem::readFile(path));
    } catch (const std::runtime_error& e) {
        throw Error(e.what());
    }
    project->path = path;
    eachObject(*project, [&](DbObject& object) {
        std::string source = sourcePath(path, object);
        if (source.empty() || !FileSystem::exists(source))
            return;
        try {
            object.source = FileSystem::readFile(source);
        } catch (const FileSystem::Error&) {
            object.source.reset(); // an unreadable source reads as a missing one
        }
    });
    return project;
}

std::shared_ptr<Project> createEmpty(const std::string& path) {
    auto project = std::make_shared<Project>();
    std::string file = FileSystem::fileNameOf(path);
    size_t dot = file.rfind('.');
    project->name = dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
    if (project->name.empty())
        project->name = "Project";
    project->path = path;
    return project;
}

void save(const Project& project, const std::string& path) {
    try {
        eachObject(project, [&](const DbObject& object) {
            std::string source = sourcePath(path, object);
            if (!source.empty() && object.source)
                FileSystem::writeFileAtomic(source, *object.source);
        });
        FileSystem::writeFileAtomic(path, WkvFormat::format(project));
    } catch (const FileSystem::Error& e) {
        throw Error(e.what());
    }
}

std::string sourcePath(const std::string& projectPath, const DbObject& object) {
    if (!object.hasSource() || object.fileName.empty())
        return {};
    return FileSystem::join(FileSystem::directoryOf(projectPath), object.fileName);
}

} // namespace standin::ProjectStore

#include "scc/VSSAPI.h"

#include "engine/ansi.h"
#include "engine/wkutil.h"
#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/registry/Registry.h"
#include "platform/ui/MsgBox.h"
#include "platform/vss/SourceSafe.h"
#include "platform/vss/VSSErrors.h"
#include "platform/vss/VSSItems.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>

namespace nimb::VSSAPI {

using wkutil::getString;
using wkutil::getStringP1;

ModuleState& moduleState() {
    static ModuleState state;
    return state;
}

void resetModuleState() { moduleState() = ModuleState{}; }

namespace {

constexpr const char* sourceSafeKey = "Software\\Microsoft\\SourceSafe";
constexpr const char* databasesKey = "Software\\Microsoft\\SourceSafe\\Databases";
constexpr const char* iniFileName = "srcsafe.ini";
constexpr registry::DWORD registryBufferSize = 2048;
constexpr const char* crlf = "\r\n";

template <class T>
T& objectOf(const std::shared_ptr<T>& object) {
    if (!object) throw vb::VBError(vb::err::ObjectVariableNotSet, "Object variable or With block variable not set");
    return *object;
}

vss::VSSDatabase& database() { return objectOf(moduleState().vssDatabase); }

// VB's On Error GoTo: fn runs; an error it raises goes to handler and is cleared afterwards.
void onError(const std::function<void()>& fn, const std::function<void(const vb::VBError&)>& handler) {
    try {
        fn();
    } catch (...) {
        handler(vb::currentError());
    }
}

void showExclamation(const std::string& text) { ui::MsgBox(text, ui::mb::Exclamation, messageTitle); }

bool equalNoCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

// Whether the last part of path is a srcsafe.ini.
bool namesIniFile(const std::string& path) { return equalNoCase(fileNameOfPath(path), iniFileName); }

// The srcsafe.ini to open for the database text of the login form. A registered name gives its
// folder (the last entry of that name wins; registry names ignore letter case). A text that names
// no registered database is what a person types instead: the database's folder, or the path of its
// srcsafe.ini.
std::string iniPathFor(const std::string& dbName, const DatabaseList& dbList) {
    std::optional<std::string> folder;
    for (const auto& entry : dbList) {
        if (equalNoCase(entry.name, dbName)) folder = entry.folder;
    }
    if (folder) return *folder + "\\" + iniFileName;
    if (namesIniFile(dbName)) return dbName;
    std::string typedFolder = dbName;
    while (!typedFolder.empty() && typedFolder.back() == '\\') typedFolder.pop_back();
    return typedFolder + "\\" + iniFileName;
}

void readValue(registry::HKEY key, int32_t index, std::string& name, std::string& data) {
    std::string nameBuffer(registryBufferSize, '\0');
    std::string dataBuffer(registryBufferSize, '\0');
    registry::DWORD nameLength = registryBufferSize;
    registry::DWORD dataLength = registryBufferSize;
    registry::DWORD type = 0;
    const auto status = registry::RegEnumValueA(key, static_cast<registry::DWORD>(index), nameBuffer.data(),
                                                &nameLength, nullptr, &type,
                                                reinterpret_cast<registry::BYTE*>(dataBuffer.data()), &dataLength);
    if (status != registry::ERROR_SUCCESS) return;
    // The lengths are believed only inside the buffers; the data's last byte is its terminating zero.
    name = ansi::fromAnsi(nameBuffer.substr(0, std::min(nameLength, registryBufferSize)));
    const registry::DWORD dataChars = std::min(dataLength, registryBufferSize);
    data = dataChars == 0 ? std::string() : ansi::fromAnsi(dataBuffer.substr(0, dataChars - 1));
}

enum class FileCommand { Add, CheckOut, CheckIn };

// What the file commands show for a SourceSafe error; nullopt: nothing.
std::optional<std::string> fileCommandMessage(FileCommand command, const std::string& filePath,
                                              const vb::VBError& error) {
    // 35602 (a key not unique in a collection) passes without a message.
    if (error.number() == vb::err::KeyNotUnique) return std::nullopt;
    if (command == FileCommand::Add) return getStringP1(675, filePath) + crlf + error.description();
    if (error.number() == vss::errItemNotFound || error.number() == vss::errAlreadyCheckedOut) {
        return error.description();
    }
    return getStringP1(command == FileCommand::CheckOut ? 677 : 676, filePath) + crlf + error.description();
}

// False, after saying so, when nobody has logged in yet.
bool loggedIn(const std::string& filePath) {
    if (moduleState().vssDatabase) return true;
    ui::MsgBox(getStringP1(675, filePath) + crlf + getString(682));
    return false;
}

void runFileCommand(FileCommand command, const std::string& filePath, const std::function<void()>& fn) {
    if (!loggedIn(filePath)) return;
    onError(fn, [&](const vb::VBError& error) {
        if (auto message = fileCommandMessage(command, filePath, error)) showExclamation(*message);
    });
}

// The file's item in the current project.
std::shared_ptr<vss::VSSItem> fileItem(const std::string& filePath) {
    const std::string spec =
        "$/" + objectOf(moduleState().vssCurrentProject).Name() + "/" + fileNameOfPath(filePath);
    return database().VSSItem(spec, false);
}

} // namespace

bool isVSSInstalled() {
    bool installed = false;
    vb::silently([&] {
        registry::HKEY key = 0;
        if (registry::RegOpenKeyExA(registry::HKEY_LOCAL_MACHINE, sourceSafeKey, 0, registry::KEY_READ, &key) !=
            registry::ERROR_SUCCESS) {
            return;
        }
        std::string buffer(registryBufferSize, '\0');
        registry::DWORD size = registryBufferSize;
        registry::DWORD type = registry::REG_SZ;
        installed = registry::RegQueryValueExA(key, "SCCServerPath", nullptr, &type,
                                               reinterpret_cast<registry::BYTE*>(buffer.data()),
                                               &size) == registry::ERROR_SUCCESS;
        registry::RegCloseKey(key);
    });
    return installed;
}

void enumRegValue(registry::HKEY rootKey, const std::string& subKey, int32_t index, std::array<std::string, 2>& result) {
    std::string name;
    std::string data = notFound;
    registry::HKEY key = 0;
    // A registry that fails in a way the return codes do not cover still leaves a result.
    vb::silently([&] {
        if (registry::RegOpenKeyA(rootKey, subKey.c_str(), &key) != registry::ERROR_SUCCESS) return;
        readValue(key, index, name, data);
        registry::RegCloseKey(key);
    });
    result = {name, data};
}

bool getVSSDatabases(DatabaseList& dbList) {
    std::array<std::string, 2> value;
    enumRegValue(registry::HKEY_LOCAL_MACHINE, databasesKey, 0, value);
    if (value[1] == notFound) return false;
    return vb::silently([&] {
        dbList.clear();
        for (int32_t k = 1; value[1] != notFound; ++k) {
            dbList.push_back({value[0], value[1]});
            enumRegValue(registry::HKEY_LOCAL_MACHINE, databasesKey, k, value);
        }
    });
}

bool openVSSDatabase(const std::string& userName, const std::string& password, const std::string& dbName,
                     const DatabaseList& dbList) {
    auto& state = moduleState();
    return vb::reportTo(
        [&] {
            state.vssDatabase = nullptr;
            state.vssDatabase = vss::createVSSDatabase();
            state.vssIniPath = iniPathFor(dbName, dbList);
            database().Open(state.vssIniPath, userName, password);
        },
        [](const vb::VBError& error) { return error.description(); });
}

bool getVSSProjects(std::vector<std::string>& projList) {
    return vb::silently([&] {
        auto& state = moduleState();
        state.vssCurrentProject = database().VSSItem("$/", false);
        auto items = objectOf(state.vssCurrentProject).Items(false);
        const int32_t count = objectOf(items).Count();
        if (count <= 0) throw vb::VBError(vb::err::SubscriptOutOfRange, "Subscript out of range");
        std::vector<std::string> names(static_cast<std::size_t>(count));
        std::size_t k = 0;
        for (const auto& item : items->items()) {
            if (k == names.size()) throw vb::VBError(vb::err::SubscriptOutOfRange, "Subscript out of range");
            names[k++] = objectOf(item).Name();
        }
        projList = std::move(names);
    });
}

void setVSSProject(const std::string& projName) {
    onError([&] { moduleState().vssCurrentProject = database().VSSItem("$/" + projName, false); },
            [&](const vb::VBError& error) {
                showExclamation(getStringP1(678, "") + projName + "." + crlf + error.description());
            });
}

void createVSSProject(const std::string& projName) {
    onError(
        [&] {
            auto& state = moduleState();
            state.vssCurrentProject = database().VSSItem("$/", false);
            objectOf(state.vssCurrentProject).NewSubproject(projName, "");
            setVSSProject(projName);
        },
        [&](const vb::VBError& error) {
            if (error.number() == vss::errItemExists) return setVSSProject(projName);
            showExclamation(getStringP1(679, "") + projName + "." + crlf + error.description());
        });
}

void vssAddFile(const std::string& filePath) {
    runFileCommand(FileCommand::Add, filePath, [&] {
        auto& state = moduleState();
        // The project is looked up afresh: another session may have changed it since the login.
        const std::string name = objectOf(state.vssCurrentProject).Name();
        state.vssCurrentProject = database().VSSItem("$/" + name, false);
        objectOf(state.vssCurrentProject).Add(filePath, "", 0);
    });
}

void vssCheckOut(const std::string& filePath) {
    runFileCommand(FileCommand::CheckOut, filePath, [&] { objectOf(fileItem(filePath)).Checkout("", filePath, 0); });
}

void vssCheckIn(const std::string& filePath) {
    runFileCommand(FileCommand::CheckIn, filePath, [&] { objectOf(fileItem(filePath)).Checkin("", filePath, 0); });
}

std::string fileNameOfPath(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace nimb::VSSAPI

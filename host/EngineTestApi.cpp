#include "EngineTestApi.h"

#include "HostError.h"

#include "standin_api.h"

#include <cstdlib>
#include <functional>
#include <vector>

namespace host {

namespace {

constexpr char engineVariable[] = "NIMB_ENGINE_LIBRARY";

#ifdef _WIN32
void setVariable(const std::string& value) { _putenv_s(engineVariable, value.c_str()); }
#else
void setVariable(const std::string& value) { setenv(engineVariable, value.c_str(), 1); }
#endif

int32_t whole(const std::string& field, const std::string& value) {
    try {
        std::size_t used = 0;
        long n = std::stol(value, &used);
        if (used == value.size()) return static_cast<int32_t>(n);
    } catch (const std::exception&) {
    }
    throw HostError("the field " + field + " takes a whole number, not \"" + value + "\"");
}

wkBool flag(const std::string& field, const std::string& value) {
    if (value == "true") return WK_TRUE;
    if (value == "false") return WK_FALSE;
    throw HostError("the field " + field + " takes true or false, not \"" + value + "\"");
}

// WKSI_ObjectFields filled from name=value pairs; the strings live as long as this object.
class ObjectFields {
public:
    explicit ObjectFields(const std::map<std::string, std::string>& values) : values_(values) {
        using Text = const char* WKSI_ObjectFields::*;
        using Whole = int32_t WKSI_ObjectFields::*;
        using Flag = wkBool WKSI_ObjectFields::*;
        const std::map<std::string, Text> texts = {
            {"schema", &WKSI_ObjectFields::strSchema},         {"name", &WKSI_ObjectFields::strName},
            {"specific", &WKSI_ObjectFields::strSpecific},     {"parameters", &WKSI_ObjectFields::strParameters},
            {"result", &WKSI_ObjectFields::strResult},         {"language", &WKSI_ObjectFields::strLanguage},
            {"sqlPackage", &WKSI_ObjectFields::strSQLPackage}, {"comment", &WKSI_ObjectFields::strComment},
            {"file", &WKSI_ObjectFields::strFileName},         {"tableSchema", &WKSI_ObjectFields::strTableSchema},
            {"tableName", &WKSI_ObjectFields::strTableName},   {"tableSpace", &WKSI_ObjectFields::strTableSpace},
        };
        const std::map<std::string, Whole> wholes = {{"resultSets", &WKSI_ObjectFields::lResultSets},
                                                     {"tableType", &WKSI_ObjectFields::lTableType}};
        const std::map<std::string, Flag> flags = {{"fenced", &WKSI_ObjectFields::bIsFenced},
                                                   {"dirty", &WKSI_ObjectFields::bIsDirty},
                                                   {"canDebug", &WKSI_ObjectFields::bCanDebug}};
        for (const auto& [field, value] : values_) {
            if (auto t = texts.find(field); t != texts.end()) {
                fields_.*(t->second) = value.c_str();
            } else if (auto w = wholes.find(field); w != wholes.end()) {
                fields_.*(w->second) = whole(field, value);
            } else if (auto f = flags.find(field); f != flags.end()) {
                fields_.*(f->second) = flag(field, value);
            } else {
                throw HostError("objects have no field " + field);
            }
        }
    }
    const WKSI_ObjectFields* get() const { return &fields_; }

private:
    std::map<std::string, std::string> values_;
    WKSI_ObjectFields fields_{};
};

} // namespace

EngineTestApi::EngineTestApi(const std::string& path) : path_(path) { setVariable(path); }

bool EngineTestApi::available() const { return unavailableReason().empty(); }

std::string EngineTestApi::unavailableReason() const {
    if (!library_) library_ = std::make_unique<Library>(path_);
    if (!library_->loaded()) return "the engine " + path_ + " cannot be loaded: " + library_->error();
    if (!library_->symbol("WKSI_Reset")) return "the engine " + path_ + " has no test API (WKSI_ functions)";
    return {};
}

void* EngineTestApi::need(const char* name) const {
    if (auto reason = unavailableReason(); !reason.empty()) throw HostError(reason);
    void* address = library_->symbol(name);
    if (!address) throw HostError("the engine " + path_ + " has no " + name);
    return address;
}

void EngineTestApi::letWorkFinish(int32_t milliseconds) const {
    if (!available()) return;
    if (auto* wait = reinterpret_cast<decltype(WKSI_WaitIdle)*>(library_->symbol("WKSI_WaitIdle"))) wait(milliseconds);
}

std::string EngineTestApi::journal() const {
    auto* get = fn<decltype(WKSI_GetJournal)>("WKSI_GetJournal");
    int32_t size = get(nullptr, 0);
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    get(buffer.data(), size + 1);
    return std::string(buffer.data());
}

void EngineTestApi::clearJournal() const { fn<decltype(WKSI_ClearJournal)>("WKSI_ClearJournal")(); }

int32_t EngineTestApi::pendingNotifications() const {
    return fn<decltype(WKSI_PendingNotifications)>("WKSI_PendingNotifications")();
}

void EngineTestApi::injectNotification(int32_t kind, int32_t project, int32_t connection, int32_t objectType,
                                       int32_t object) const {
    fn<decltype(WKSI_InjectNotification)>("WKSI_InjectNotification")(kind, project, connection, objectType, object);
}

int32_t EngineTestApi::injectText(int32_t textType, const std::string& text, const std::string& buttons) const {
    return fn<decltype(WKSI_InjectText)>("WKSI_InjectText")(textType, text.c_str(), buttons.c_str());
}

int32_t EngineTestApi::injectSQLText(const std::string& project, const std::string& file, int32_t fromLine,
                                     int32_t fromColumn, int32_t toLine, int32_t toColumn,
                                     const std::string& text) const {
    return fn<decltype(WKSI_InjectSQLText)>("WKSI_InjectSQLText")(project.c_str(), file.c_str(), fromLine, fromColumn,
                                                                  toLine, toColumn, text.c_str());
}

int32_t EngineTestApi::injectADOText(const std::string& project, const std::string& file,
                                     const std::string& text) const {
    return fn<decltype(WKSI_InjectADOText)>("WKSI_InjectADOText")(project.c_str(), file.c_str(), text.c_str());
}

int32_t EngineTestApi::injectDEConnection(const std::string& project, const std::string& dataEnv,
                                          const std::string& connection, const std::string& connectionString) const {
    return fn<decltype(WKSI_InjectDEConnection)>("WKSI_InjectDEConnection")(project.c_str(), dataEnv.c_str(),
                                                                            connection.c_str(), connectionString.c_str());
}

int32_t EngineTestApi::injectDECommand(const std::string& project, const std::string& dataEnv,
                                       const std::string& connection, const std::string& command,
                                       const std::string& commandText, int32_t commandType, bool hasParameters) const {
    return fn<decltype(WKSI_InjectDECommand)>("WKSI_InjectDECommand")(
        project.c_str(), dataEnv.c_str(), connection.c_str(), command.c_str(), commandText.c_str(), commandType,
        hasParameters ? WK_TRUE : WK_FALSE);
}

int32_t EngineTestApi::injectObjectAdded(int32_t folder, const std::map<std::string, std::string>& fields) const {
    ObjectFields record(fields);
    return fn<decltype(WKSI_InjectObjectAdded)>("WKSI_InjectObjectAdded")(folder, record.get());
}

int32_t EngineTestApi::injectObjectChanged(int32_t object, const std::map<std::string, std::string>& fields) const {
    ObjectFields record(fields);
    return fn<decltype(WKSI_InjectObjectChanged)>("WKSI_InjectObjectChanged")(object, record.get());
}

int32_t EngineTestApi::injectObjectRemoved(int32_t object) const {
    return fn<decltype(WKSI_InjectObjectRemoved)>("WKSI_InjectObjectRemoved")(object);
}

int32_t EngineTestApi::generateObjects(int32_t folder, int32_t objectType, int32_t count) const {
    return fn<decltype(WKSI_GenerateObjects)>("WKSI_GenerateObjects")(folder, objectType, count);
}

int32_t EngineTestApi::findHandle(int32_t objectType, const std::string& name) const {
    return fn<decltype(WKSI_FindHandle)>("WKSI_FindHandle")(objectType, name.c_str());
}

} // namespace host

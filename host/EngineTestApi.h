// EngineTestApi: the stand-in engine's own functions (engine-standin/standin_api.h), found in the
// same library the add-in loads, so that both talk to one engine. The add-in never calls them; an
// engine without them simply has no test API, and every operation then raises HostError.
#pragma once

#include "Library.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace host {

class EngineTestApi {
public:
    // The engine the add-in will load: NIMB_ENGINE_LIBRARY is set to path.
    explicit EngineTestApi(const std::string& path);

    // Whether the library loads and has the test API; why not in unavailableReason().
    bool available() const;
    std::string unavailableReason() const;

    // Lets the work the engine does in the background (on live databases) finish, at most
    // milliseconds, so that a poll in virtual time sees its answers however fast the machine is.
    // Nothing to wait for with an engine that has no test API.
    void letWorkFinish(int32_t milliseconds) const;

    std::string journal() const;
    void clearJournal() const;
    int32_t pendingNotifications() const;

    void injectNotification(int32_t kind, int32_t project, int32_t connection, int32_t objectType, int32_t object) const;
    int32_t injectText(int32_t textType, const std::string& text, const std::string& buttons) const;
    int32_t injectSQLText(const std::string& project, const std::string& file, int32_t fromLine, int32_t fromColumn,
                          int32_t toLine, int32_t toColumn, const std::string& text) const;
    int32_t injectADOText(const std::string& project, const std::string& file, const std::string& text) const;
    int32_t injectDEConnection(const std::string& project, const std::string& dataEnv, const std::string& connection,
                               const std::string& connectionString) const;
    int32_t injectDECommand(const std::string& project, const std::string& dataEnv, const std::string& connection,
                            const std::string& command, const std::string& commandText, int32_t commandType,
                            bool hasParameters) const;
    // fields by the names of WKSI_ObjectFields without their prefix: schema, name, language, file,
    // resultSets, dirty, canDebug ...; HostError for an unknown field or a value of the wrong kind.
    int32_t injectObjectAdded(int32_t folder, const std::map<std::string, std::string>& fields) const;
    int32_t injectObjectChanged(int32_t object, const std::map<std::string, std::string>& fields) const;
    int32_t injectObjectRemoved(int32_t object) const;
    int32_t generateObjects(int32_t folder, int32_t objectType, int32_t count) const;
    int32_t findHandle(int32_t objectType, const std::string& name) const;

private:
    void* need(const char* name) const;
    template <class F>
    F* fn(const char* name) const {
        return reinterpret_cast<F*>(need(name));
    }

    std::string path_;
    mutable std::unique_ptr<Library> library_;  // loaded on first use, as the add-in loads it
};

} // namespace host

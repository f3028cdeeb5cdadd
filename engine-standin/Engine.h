// Engine: the stand-in engine's state and the work behind each exported function except the
// object actions (ActionDispatcher): start and stop, opening and saving engine projects, the
// current folder, the notification protocol, enumerations, code and Data Environment requests,
// tool launches. One instance per loaded library; the exports hold its lock for every call.
#pragma once

#include "AdoCodeGen.h"
#include "Catalogue.h"
#include "HandleRegistry.h"
#include "Journal.h"
#include "LiveWork.h"
#include "NotificationQueue.h"
#include "engine/wkabi.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace standin {

class Engine {
  public:
    static Engine& instance();
    static std::recursive_mutex& mutex();

    // The engine lock as a call from the add-in (or a test) holds it. The caller is counted while it
    // waits, so that a lane in long work on the catalogue steps aside for it (LiveWork::pause): a
    // mutex does not queue its waiters, and a thread that lets go and takes it again at once would
    // keep it.
    class CallLock {
      public:
        CallLock();
        CallLock(const CallLock&) = delete;
        CallLock& operator=(const CallLock&) = delete;

      private:
        std::unique_lock<std::recursive_mutex> lock_;
    };
    // Whether a call waits for the engine lock.
    static bool callWaiting();

    HandleRegistry handles;
    Catalogue catalogue{handles};
    NotificationQueue queue{handles};
    Journal journal;
    std::shared_ptr<DbObject> clipboard; // the object the last Copy took
    // Questions the add-in has been given and not answered yet, oldest first; an entry without an
    // action is a question whose answer changes nothing.
    std::deque<std::optional<PendingAction>> asked;
    // What live connections do on their databases; a connection that starts or stops working is
    // shown changed.
    LiveWork work{[this](Connection& connection) {
        if (auto at = catalogue.locate(connection.hdl); at && at->connection.get() == &connection)
            notify(6, *at);
    }};

    // A fresh engine: no project, nothing queued, an empty journal, handles numbered anew.
    void reset();
    void initialize(const std::string& directory);
    void terminate();

    // The open project goes (its live work called off, its databases closed in the background).
    void closeProject();
    void removeConnection(const std::shared_ptr<Connection>& connection);

    void projectAccess(const std::string& name, const std::string& path, int32_t accessCode);
    bool saveProject(const std::string& path); // reports the outcome as a message
    void setCurrentFolder(int32_t hdl);

    // The next notification, or a record of kind 0 when none waits; more tells whether others wait.
    bool nextNotification(twkNotify_abi& record, bool& more);
    void answer(int32_t result);

    // Starts walking a folder of folderType (or, for type 5, a project's connections); 0 when the
    // handle is no such thing or it holds nothing.
    int32_t beginEnumeration(int32_t hdl, int32_t folderType, bool& filtered);
    int32_t beginParameterEnumeration(int32_t routineHdl);
    // The next item's handle of an enumeration of itemType; 0 at the end or for a wrong handle.
    int32_t nextEnumerated(int32_t enumHdl, int32_t itemType);
    const AdoCodeGen::RoutineParameter* nextParameter(int32_t enumHdl);
    bool endEnumeration(int32_t enumHdl);

    void requestADO(int32_t hdl, int32_t language, const std::string& project, const std::string& component);
    void requestDEConnection(int32_t hdl, const std::string& project, const std::string& dataEnv,
                             const std::string& name);
    void requestDECommand(int32_t hdl, const std::string& project, const std::string& dataEnv,
                          const std::string& connection, const std::string& name);
    void launch(int32_t tool, const std::string& args);

    // Queues a notification of kind about the thing at.
    void notify(int32_t kind, const Located& at);
    void message(std::string text) { queue.message(std::move(text)); }
    // The path a record shows for a routine's source file.
    std::string sourcePathOf(const DbObject& object) const;
    // The located handle, or nullopt after queueing the "does not exist" message.
    std::optional<Located> locateOrReport(int32_t hdl);

  private:
    std::string fullPath(const std::string& name, const std::string& path) const;
    void open(const std::string& file);
    void announce();

    std::string directory_; // the engine project folder given at start
};

} // namespace standin

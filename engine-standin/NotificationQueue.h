// NotificationQueue: what the engine has to tell the add-in, in order. Notifications that carry
// more than handles (texts, generated code, Data Environment requests) get a payload under a handle
// of its own; the add-in reads a payload while it handles the notification, so a payload is kept
// for a while after delivery and then retired.
#pragma once

#include "HandleRegistry.h"
#include "engine/wkabi.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_set>

namespace standin {

// What the engine does when the user answers a question with Yes.
struct PendingAction {
    int32_t actionCode = 0;
    int32_t targetHdl = 0;
};

struct TextItem {
    std::string text;
    int32_t type = 3; // 1 command word or question, 3 plain message
    std::string buttons;
    std::optional<PendingAction> onYes;

    bool isQuestion() const { return type == 1 && !buttons.empty(); }
};

struct SQLItem {
    std::string project, file;
    int32_t fromLine = 0, fromColumn = 0, toLine = 0, toColumn = 0;
    std::string text;
};

struct ADOItem {
    std::string project, file, text;
};

struct DEConnectionItem {
    std::string project, dataEnv, connection, connectionString;
};

struct DECommandItem {
    std::string project, dataEnv, connection, command, commandText;
    int32_t commandType = 1;
    bool hasParameters = false;
};

class NotificationQueue {
  public:
    // How many delivered payloads stay readable; older ones are retired.
    static constexpr size_t retainedPayloads = 64;

    explicit NotificationQueue(HandleRegistry& handles) : handles_(handles) {}

    void push(const twkNotify_abi& record);
    // Each queues its kind (2, 3, 4, 9, 10) with the payload's handle and returns that handle.
    int32_t pushText(TextItem item);
    int32_t pushSQL(SQLItem item);
    int32_t pushADO(ADOItem item, int32_t projectHdl);
    int32_t pushDEConnection(DEConnectionItem item, int32_t projectHdl, int32_t connectionHdl);
    int32_t pushDECommand(DECommandItem item, int32_t projectHdl, int32_t connectionHdl);

    void message(std::string text);
    void command(std::string word);

    // Whether a notification of that kind about that object waits in the queue.
    bool pending(int32_t kind, int32_t objectHdl) const;

    std::optional<twkNotify_abi> pop();
    size_t size() const { return queue_.size(); }
    void clear();

  private:
    int32_t pushPayload(HandleRegistry::Target payload, int32_t kind, int32_t projectHdl,
                        int32_t connectionHdl);

    HandleRegistry& handles_;
    std::deque<twkNotify_abi> queue_;
    std::unordered_set<int32_t> payloads_; // handles this queue gave out, queued or delivered
    std::deque<int32_t> delivered_;
};

} // namespace standin

#include "NotificationQueue.h"

#include <algorithm>
#include <memory>

namespace standin {

void NotificationQueue::push(const twkNotify_abi& record) {
    queue_.push_back(record);
}

bool NotificationQueue::pending(int32_t kind, int32_t objectHdl) const {
    return std::any_of(queue_.begin(), queue_.end(), [&](const twkNotify_abi& n) {
        return n.lNotifyType == kind && n.lObjectHdl == objectHdl;
    });
}

int32_t NotificationQueue::pushPayload(HandleRegistry::Target payload, int32_t kind, int32_t projectHdl,
                                       int32_t connectionHdl) {
    int32_t hdl = handles_.add(std::move(payload));
    payloads_.insert(hdl);
    push({kind, projectHdl, connectionHdl, 0, hdl});
    return hdl;
}

int32_t NotificationQueue::pushText(TextItem item) {
    return pushPayload(std::make_shared<TextItem>(std::move(item)), 2, 0, 0);
}

int32_t NotificationQueue::pushSQL(SQLItem item) {
    return pushPayload(std::make_shared<SQLItem>(std::move(item)), 3, 0, 0);
}

int32_t NotificationQueue::pushADO(ADOItem item, int32_t projectHdl) {
    return pushPayload(std::make_shared<ADOItem>(std::move(item)), 4, projectHdl, 0);
}

int32_t NotificationQueue::pushDEConnection(DEConnectionItem item, int32_t projectHdl,
                                            int32_t connectionHdl) {
    return pushPayload(std::make_shared<DEConnectionItem>(std::move(item)), 9, projectHdl, connectionHdl);
}

int32_t NotificationQueue::pushDECommand(DECommandItem item, int32_t projectHdl, int32_t connectionHdl) {
    return pushPayload(std::make_shared<DECommandItem>(std::move(item)), 10, projectHdl, connectionHdl);
}

void NotificationQueue::message(std::string text) {
    pushText({std::move(text), 3, "", std::nullopt});
}

void NotificationQueue::command(std::string word) {
    pushText({std::move(word), 1, "", std::nullopt});
}

std::optional<twkNotify_abi> NotificationQueue::pop() {
    if (queue_.empty())
        return std::nullopt;
    twkNotify_abi record = queue_.front();
    queue_.pop_front();
    if (payloads_.count(record.lObjectHdl)) {
        delivered_.push_back(record.lObjectHdl);
        if (delivered_.size() > retainedPayloads) {
            handles_.retire(delivered_.front());
            payloads_.erase(delivered_.front());
            delivered_.pop_front();
        }
    }
    return record;
}

void NotificationQueue::clear() {
    for (int32_t hdl : payloads_)
        handles_.retire(hdl);
    payloads_.clear();
    delivered_.clear();
    queue_.clear();
}

} // namespace standin

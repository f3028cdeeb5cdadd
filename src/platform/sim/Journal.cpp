#include "platform/sim/Journal.h"

namespace sim {

std::string Call::text() const {
    std::string s = member;
    if (!object.empty()) {
        s += "[" + object + "]";
    }
    s += "(";
    for (std::size_t i = 0; i < args.size(); ++i) {
        s += (i ? ", " : "") + args[i];
    }
    return s + ")";
}

void Journal::enter(const std::string& member, const std::string& object, std::vector<std::string> args) {
    calls_.push_back({member, object, std::move(args)});
    if (calls_.size() > maxCalls) {
        calls_.pop_front();
    }
    const Call& call = calls_.back();
    for (auto it = rules_.begin(); it != rules_.end(); ++it) {
        if (!matches(it->member, call)) {
            continue;
        }
        if (it->passLeft > 0) {
            --it->passLeft;
            continue;
        }
        vb::VBError error = it->error;
        if (it->failLeft > 0 && --it->failLeft == 0) {
            rules_.erase(it);
        }
        throw error;
    }
}

void Journal::failNext(const std::string& member, const vb::VBError& error, int32_t times) {
    if (times > 0) {
        rules_.push_back({member, 0, times, error});
    }
}

void Journal::failAfter(const std::string& member, int32_t okCalls, const vb::VBError& error) {
    rules_.push_back({member, okCalls < 0 ? 0 : okCalls, -1, error});
}

void Journal::clearFailures() {
    rules_.clear();
}

std::vector<Call> Journal::callsTo(const std::string& member) const {
    std::vector<Call> found;
    for (const auto& call : calls_) {
        if (matches(member, call)) {
            found.push_back(call);
        }
    }
    return found;
}

std::vector<std::string> Journal::callTexts() const {
    std::vector<std::string> texts;
    for (const auto& call : calls_) {
        texts.push_back(call.text());
    }
    return texts;
}

bool Journal::matches(const std::string& pattern, const Call& call) {
    return pattern == call.member || pattern == call.member + "[" + call.object + "]";
}

} // namespace sim

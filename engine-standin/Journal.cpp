#include "Journal.h"

namespace standin {

namespace {

// Long arguments (source texts, generated code) would drown the journal; their start is enough.
constexpr size_t maxShown = 200;

} // namespace

void Journal::record(std::string entry) {
    if (entries_.size() == maxEntries)
        entries_.pop_front();
    entries_.push_back(std::move(entry));
}

std::string Journal::text() const {
    std::string all;
    for (auto& entry : entries_)
        all += entry + "\n";
    return all;
}

void CallText::next() {
    text_ += first_ ? "(" : ", ";
    first_ = false;
}

CallText& CallText::number(int64_t value) {
    next();
    text_ += std::to_string(value);
    return *this;
}

CallText& CallText::text(const char* value) {
    next();
    if (!value) {
        text_ += "NULL";
        return *this;
    }
    text_ += '"';
    size_t shown = 0;
    for (const char* p = value; *p && shown < maxShown; ++p, ++shown) {
        if (*p == '\n')
            text_ += "\\n";
        else if (*p == '\r')
            text_ += "\\r";
        else if (*p == '"' || *p == '\\')
            text_ += std::string("\\") + *p;
        else
            text_ += *p;
    }
    text_ += value[shown] ? "...\"" : "\"";
    return *this;
}

CallText& CallText::out() {
    next();
    text_ += "out";
    return *this;
}

} // namespace standin

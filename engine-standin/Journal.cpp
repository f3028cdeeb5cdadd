#include "Journal.h"

namespace standin {

namespace {

// Long arguments (source texts, generated code) would drown the journal; their start is enough.
constexpr size_t maxShown = 200;

} // namespace

void Journal::record(std::string entry) {
    if (size_ == maxEntries) {
        if (--runs_.front().count == 0)
            runs_.pop_front();
        --size_;
    }
    if (!runs_.empty() && runs_.back().entry == entry)
        ++runs_.back().count;
    else
        runs_.push_back({std::move(entry), 1});
    ++size_;
}

std::string Journal::text() const {
    std::string all;
    for (const auto& run : runs_)
        for (size_t i = 0; i < run.count; ++i)
            all += run.entry + "\n";
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

// Journal: every call the engine received, one line each ("WKObjectDoAction(1012, 18)"), so tests
// and the simulated IDE can see exactly what the add-in asked for. The oldest lines go when the
// journal is full. A run of identical lines (the Next calls of an enumeration) is kept once with its
// count: listing a folder of 200,000 objects must not fill the process with 200,000 strings.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace standin {

class Journal {
  public:
    static constexpr size_t maxEntries = 100000;

    void record(std::string entry);
    // All entries, each followed by a line feed.
    std::string text() const;
    void clear() {
        runs_.clear();
        size_ = 0;
    }

  private:
    struct Run {
        std::string entry;
        size_t count;
    };
    std::deque<Run> runs_;
    size_t size_ = 0; // entries, repeats included
};

// One journal line: the function's name and its arguments as the engine saw them.
class CallText {
  public:
    explicit CallText(const char* function) : text_(function) {}
    CallText& number(int64_t value);
    CallText& text(const char* value); // quoted; a null pointer shows as NULL
    CallText& out();                   // a pointer the engine fills
    std::string str() const { return text_ + (first_ ? "()" : ")"); }

  private:
    void next();

    std::string text_;
    bool first_ = true;
};

} // namespace standin

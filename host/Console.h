// Console: where the host writes what a person would see. Every line passes through the drive map,
// so paths appear as the person knows them ("C:\Work\...") whatever folder holds the drives.
#pragma once

#include "DriveMap.h"

#include <ostream>
#include <string>
#include <vector>

namespace host {

class Console {
public:
    Console(std::ostream& out, const DriveMap& drives) : out_(out), drives_(drives) {}

    // Writes text (which may hold several lines) and a line feed.
    void line(const std::string& text) {
        out_ << drives_.toDisplay(text) << '\n';
        ++written_;
    }
    void lines(const std::vector<std::string>& texts) {
        for (const auto& t : texts) line(t);
    }
    // Writes text without a line feed (a prompt) and flushes.
    void prompt(const std::string& text) { out_ << drives_.toDisplay(text) << std::flush; }
    void flush() { out_.flush(); }

    const DriveMap& drives() const { return drives_; }
    // How many lines were written so far.
    std::size_t written() const { return written_; }

private:
    std::ostream& out_;
    const DriveMap& drives_;
    std::size_t written_ = 0;
};

} // namespace host

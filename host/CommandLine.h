// CommandLine: one line of a script or of the shell cut into words. Words are separated by blanks;
// a word in double quotes may hold blanks, and inside quotes \" \\ \n and \t are escapes (any other
// backslash stays as it is, so C:\Work needs no quotes at all). A '#' that starts a word outside
// quotes starts a comment that runs to the end of the line.
#pragma once

#include <string>
#include <vector>

namespace host {

struct CommandLine {
    std::vector<std::string> words;
    // HostError for a quote that is not closed.
    static CommandLine parse(const std::string& line);
    bool empty() const { return words.empty(); }
};

} // namespace host

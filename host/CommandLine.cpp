#include "CommandLine.h"

#include "HostError.h"

#include <cctype>

namespace host {

namespace {

char escaped(char c) {
    switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    default: return c;
    }
}

} // namespace

CommandLine CommandLine::parse(const std::string& line) {
    CommandLine out;
    std::size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;
        std::string word;
        bool quoted = false;
        while (i < line.size() && (quoted || !std::isspace(static_cast<unsigned char>(line[i])))) {
            char c = line[i++];
            if (c == '"') {
                quoted = !quoted;
            } else if (quoted && c == '\\' && i < line.size() && std::string("\"\\nt").find(line[i]) != std::string::npos) {
                word += escaped(line[i++]);
            } else {
                word += c;
            }
        }
        if (quoted) throw HostError("a quote is not closed");
        out.words.push_back(std::move(word));
    }
    return out;
}

} // namespace host

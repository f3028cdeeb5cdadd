#include "ConnectionString.h"
#include "Caseless.h"

#include <algorithm>
#include <cctype>

namespace standin::ConnectionString {

namespace {

// One KEY=value pair: where its value starts and ends in the text (braces included).
struct Pair {
    std::string key; // upper case, blanks trimmed
    size_t valueBegin = 0, valueEnd = 0;
};

std::string trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// The pairs in the driver manager's grammar: a value in braces may hold ';' and a doubled '}'.
std::vector<Pair> pairs(const std::string& text) {
    std::vector<Pair> out;
    size_t at = 0;
    while (at < text.size()) {
        size_t equals = text.find('=', at);
        size_t semicolon = text.find(';', at);
        if (equals == std::string::npos || (semicolon != std::string::npos && semicolon < equals)) {
            at = semicolon == std::string::npos ? text.size() : semicolon + 1;
            continue;
        }
        Pair pair{upper(trimmed(text.substr(at, equals - at))), equals + 1, equals + 1};
        size_t value = text.find_first_not_of(" \t", equals + 1);
        if (value != std::string::npos && text[value] == '{') {
            size_t end = value + 1;
            while (end < text.size() &&
                   !(text[end] == '}' && (end + 1 >= text.size() || text[end + 1] != '}')))
                end += text[end] == '}' ? 2 : 1;
            pair.valueEnd = std::min(end + 1, text.size());
            semicolon = text.find(';', pair.valueEnd);
        } else {
            pair.valueEnd = semicolon == std::string::npos ? text.size() : semicolon;
        }
        out.push_back(pair);
        at = semicolon == std::string::npos ? text.size() : semicolon + 1;
    }
    return out;
}

// A value as the driver manager reads it: blanks trimmed, braces taken off, '}}' made '}'.
std::string valueOf(const std::string& text, const Pair& pair) {
    std::string value = trimmed(text.substr(pair.valueBegin, pair.valueEnd - pair.valueBegin));
    if (value.size() < 2 || value.front() != '{' || value.back() != '}')
        return value;
    std::string inner;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        inner += value[i];
        if (value[i] == '}' && value[i + 1] == '}')
            ++i;
    }
    return inner;
}

} // namespace

std::string refusal(const std::string& connectionString, const std::vector<std::string>& registeredDrivers) {
    for (const Pair& pair : pairs(connectionString)) {
        std::string value = valueOf(connectionString, pair);
        if (pair.key == "FILEDSN" || pair.key == "SAVEFILE")
            return pair.key +
                   "= is not accepted from a project file: name a registered driver or a DSN instead.";
        if (pair.key != "DRIVER")
            continue;
        if (value.find_first_of("/\\") != std::string::npos)
            return "DRIVER=" + value +
                   " is a path; a project file may only name a driver registered with the ODBC driver "
                   "manager.";
        bool registered =
            std::any_of(registeredDrivers.begin(), registeredDrivers.end(),
                        [&](const std::string& driver) { return upper(driver) == upper(value); });
        if (!registered)
            return "DRIVER=" + value + " is not a driver registered with the ODBC driver manager.";
    }
    return {};
}

std::string driverOf(const std::string& connectionString,
                     const std::map<std::string, std::string>& dataSources) {
    for (const Pair& pair : pairs(connectionString)) {
        if (pair.key == "DRIVER")
            return valueOf(connectionString, pair);
        if (pair.key == "DSN") {
            auto source = dataSources.find(upper(valueOf(connectionString, pair)));
            return source == dataSources.end() ? std::string() : source->second;
        }
    }
    return {};
}

std::string withOptions(const std::string& connectionString,
                        const std::vector<std::pair<std::string, std::string>>& options) {
    auto given = pairs(connectionString);
    std::string out = connectionString;
    for (const auto& [key, value] : options) {
        if (std::any_of(given.begin(), given.end(), [&](const Pair& pair) { return pair.key == upper(key); }))
            continue;
        if (!out.empty() && out.back() != ';')
            out += ';';
        out += key + "=" + value;
    }
    return out;
}

std::string withoutPassword(const std::string& connectionString) {
    std::string out = connectionString;
    auto all = pairs(connectionString);
    // From the back, so the positions in front stay valid.
    for (auto pair = all.rbegin(); pair != all.rend(); ++pair)
        if (pair->key == "PWD" || pair->key == "PASSWORD")
            out.replace(pair->valueBegin, pair->valueEnd - pair->valueBegin, "****");
    return out;
}

} // namespace standin::ConnectionString

#include "DriveMap.h"

#include "HostError.h"

#include <cctype>
#include <random>

namespace host {

namespace fs = std::filesystem;

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::string withSeparators(std::string text, char separator) {
    for (char& c : text)
        if (isSeparator(c)) c = separator;
    return text;
}

// Replaces every "<root><separator><letter>" that ends a path or goes on with a separator by
// "<letter>:". separator is how the root's own separators are written in root.
std::string replaceDriveFolders(const std::string& text, const std::string& root, const std::string& separator) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(root); at != std::string::npos; at = text.find(root, at + 1)) {
        std::size_t letter = at + root.size() + separator.size();
        bool drive = letter < text.size() && text.compare(at + root.size(), separator.size(), separator) == 0 &&
                     std::isupper(static_cast<unsigned char>(text[letter])) &&
                     (letter + 1 == text.size() || !std::isalnum(static_cast<unsigned char>(text[letter + 1])));
        if (!drive || at < from) continue;
        out.append(text, from, at - from);
        out += text[letter];
        out += ':';
        from = letter + 1;
    }
    out.append(text, from, std::string::npos);
    return out;
}

} // namespace

DriveMap::DriveMap(const fs::path& root)
    : root_(fs::absolute(root).lexically_normal()),
      windowsRoot_(withSeparators(root_.string(), '\\')),
      hostRoot_(withSeparators(root_.string(), '/')) {
    while (windowsRoot_.size() > 1 && isSeparator(windowsRoot_.back())) windowsRoot_.pop_back();
    while (hostRoot_.size() > 1 && isSeparator(hostRoot_.back())) hostRoot_.pop_back();
}

bool DriveMap::isDrivePath(const std::string& text) {
    return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' &&
           (text.size() == 2 || isSeparator(text[2]));
}

std::string DriveMap::toSystem(const std::string& path) const {
    if (!isDrivePath(path)) return path;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    return windowsRoot_ + '\\' + letter + withSeparators(path.substr(2), '\\');
}

// Also the form with doubled backslashes, as escaped strings in journals and JSON show it.
std::string DriveMap::toDisplay(const std::string& text) const {
    std::string escapedRoot;
    for (char c : windowsRoot_) escapedRoot += c == '\\' ? std::string("\\\\") : std::string(1, c);
    std::string out = replaceDriveFolders(text, escapedRoot, "\\\\");
    out = replaceDriveFolders(out, windowsRoot_, "\\");
    return replaceDriveFolders(out, hostRoot_, "/");
}

fs::path DriveMap::hostPath(const std::string& path) const {
    if (!isDrivePath(path)) throw HostError("\"" + path + "\" is not a path on a drive (such as C:\\Work)");
    fs::path out = root_ / std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
    std::string rest = withSeparators(path.substr(2), '/');
    std::size_t start = 0;
    while (start < rest.size()) {
        std::size_t end = rest.find('/', start);
        if (end == std::string::npos) end = rest.size();
        std::string part = rest.substr(start, end - start);
        if (part == "..") throw HostError("\"" + path + "\" leaves its drive");
        if (!part.empty() && part != ".") out /= part;
        start = end + 1;
    }
    return out;
}

fs::path makeTemporaryDriveRoot() {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("nimbide-" + std::to_string(random() % 1000000000u));
        if (fs::create_directory(candidate)) return candidate;
    }
    throw HostError("cannot make a folder for the drives below " + fs::temp_directory_path().string());
}

} // namespace host

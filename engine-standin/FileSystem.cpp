#include "FileSystem.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace standin::FileSystem {

namespace fs = std::filesystem;

namespace {

size_t lastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}

// The one platform difference: Windows has to be asked explicitly to replace an existing file.
bool replaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

} // namespace

std::string nativePath(std::string_view path) {
    std::string native(path);
#ifndef _WIN32
    if (native.size() > 1 && native[1] == ':')
        throw Error("the path " + native + " names a drive this system does not have");
    for (char& c : native)
        if (c == '\\')
            c = '/';
#endif
    return native;
}

bool exists(std::string_view path) {
    std::error_code ec;
    try {
        return fs::is_regular_file(fs::path(nativePath(path)), ec);
    } catch (const Error&) {
        return false;
    }
}

std::string readFile(std::string_view path) {
    std::string native = nativePath(path);
    std::error_code ec;
    auto size = fs::file_size(fs::path(native), ec);
    if (ec)
        throw Error("the file cannot be opened");
    if (size > maxFileSize)
        throw Error("the file is larger than " + std::to_string(maxFileSize) + " bytes");
    std::ifstream in(native, std::ios::binary);
    if (!in)
        throw Error("the file cannot be opened");
    std::string contents{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw Error("the file cannot be read");
    return contents;
}

void writeFileAtomic(std::string_view path, std::string_view contents) {
    std::string native = nativePath(path);
    std::string dir = directoryOf(native);
    std::error_code ec;
    if (!dir.empty())
        fs::create_directories(fs::path(dir), ec);
    if (ec)
        throw Error("the folder " + dir + " cannot be created");
    std::string temp = native + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(fs::path(temp), ec);
            throw Error("the file " + native + " cannot be written");
        }
    }
    if (!replaceFile(temp, native)) {
        fs::remove(fs::path(temp), ec);
        throw Error("the file " + native + " cannot be replaced");
    }
}

std::string directoryOf(std::string_view path) {
    size_t at = lastSeparator(path);
    return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at));
}

std::string fileNameOf(std::string_view path) {
    size_t at = lastSeparator(path);
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string join(std::string_view dir, std::string_view relative) {
    char sep =
        dir.find('/') != std::string_view::npos && dir.find('\\') == std::string_view::npos ? '/' : '\\';
    std::string out(dir);
    if (!out.empty() && out.back() != '\\' && out.back() != '/')
        out += sep;
    for (char c : relative)
        out += c == '/' ? sep : c;
    return out;
}

} // namespace standin::FileSystem

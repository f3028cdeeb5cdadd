// FileSystem: the engine's few file operations. Paths come from the add-in in Windows form
// (backslashes); elsewhere they are mapped to the host's separators before the file is touched.
// Files are replaced atomically, so a failed or interrupted save leaves the old file whole.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace standin::FileSystem {

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The largest file the engine reads; anything bigger is refused rather than loaded.
constexpr size_t maxFileSize = 16 * 1024 * 1024;

// Error for a path with a drive letter where there are no drives: it would otherwise land in a
// folder named "C:" below the current one.
std::string nativePath(std::string_view path);
bool exists(std::string_view path);
// The whole file; Error when it cannot be read or is larger than maxFileSize.
std::string readFile(std::string_view path);
// Writes a temporary file beside path and moves it over path; creates missing folders first.
void writeFileAtomic(std::string_view path, std::string_view contents);

// The text before the last separator ('\' or '/'); empty when there is none.
std::string directoryOf(std::string_view path);
// The text after the last separator.
std::string fileNameOf(std::string_view path);
// dir and a relative '/'-separated path, joined with the separator dir already uses ('\' when it
// has none).
std::string join(std::string_view dir, std::string_view relative);

} // namespace standin::FileSystem

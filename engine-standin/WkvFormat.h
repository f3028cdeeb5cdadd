// WkvFormat: the engine project file as text and back (docs/wkv-format.md). Reading is strict - an
// unknown key, a bad value or a misplaced section is an error naming the line - and builds the
// whole project before handing it out, so a bad file never leaves half a project behind.
#pragma once

#include "Catalogue.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace standin::WkvFormat {

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The project the text describes, without handles and without routine sources (those live in
// their own files; fileName says where).
std::shared_ptr<Project> parse(std::string_view text);
std::string format(const Project& project);

// A source file name as a .wkv may hold it: relative, inside the project's folder, '/'-separated.
// Backslashes are accepted and turned into '/'; Error for anything that could leave the folder.
std::string checkedSourcePath(std::string_view path);

} // namespace standin::WkvFormat

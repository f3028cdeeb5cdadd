// HostError: what goes wrong on the host's side of the simulation - a bad workspace, a command that
// cannot be carried out, a question nobody answered. The add-in's own errors are vb::VBError.
#pragma once

#include <stdexcept>
#include <string>

namespace host {

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace host

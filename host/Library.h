// Library: a shared library the host loads at run time - the add-in module and the engine. The one
// place that knows how this platform loads libraries. A library stays loaded until the process
// ends: the add-in's objects and the engine's state live in it.
#pragma once

#include <string>

namespace host {

class Library {
public:
    // Loads the library at path; loaded() tells whether that worked and error() why not.
    explicit Library(const std::string& path);
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }
    // The exported symbol, or nullptr.
    void* symbol(const char* name) const;

    template <class F>
    F* function(const char* name) const {
        return reinterpret_cast<F*>(symbol(name));
    }

private:
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace host

// DynamicLibrary: a shared library loaded at run time, the way a VB Declare finds its DLL. The one
// place that knows how the platform loads libraries and looks up their exports.
#pragma once

#include <string>

namespace nimb {

class DynamicLibrary {
public:
    // Loads the library at path. A bare name is searched for as the platform searches for it; on
    // Windows the folder of the module holding this code (the add-in's DLL) comes first.
    // When that fails, isLoaded() is false and loadError() holds the platform's reason.
    explicit DynamicLibrary(const std::string& path);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool isLoaded() const { return handle_ != nullptr; }
    const std::string& loadError() const { return loadError_; }
    const std::string& path() const { return path_; }

    // The address of the exported function name; nullptr when the library exports none or is not loaded.
    void* symbol(const char* name) const;

    // The platform's file name of the library called base: "base.dll" or "libbase.so".
    static std::string fileNameFor(const std::string& base);

private:
    std::string path_;
    void* handle_ = nullptr;
    std::string loadError_;
};

} // namespace nimb

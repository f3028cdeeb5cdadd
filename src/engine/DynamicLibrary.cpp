#include "engine/DynamicLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace nimb {

namespace {

#ifdef _WIN32
std::string lastErrorText() {
    char* text = nullptr;
    DWORD code = GetLastError();
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = n ? std::string(text, n) : "error " + std::to_string(code);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' ')) result.pop_back();
    return result;
}

void* openLibrary(const std::string& path) { return reinterpret_cast<void*>(LoadLibraryA(path.c_str())); }
void closeLibrary(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }
void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
std::string platformFileName(const std::string& base) { return base + ".dll"; }
#else
std::string lastErrorText() {
    const char* text = dlerror();
    return text ? text : "unknown reason";
}

void* openLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }
void closeLibrary(void* handle) { dlclose(handle); }
void* findSymbol(void* handle, const char* name) { return dlsym(handle, name); }
std::string platformFileName(const std::string& base) { return "lib" + base + ".so"; }
#endif

} // namespace

DynamicLibrary::DynamicLibrary(const std::string& path) : path_(path), handle_(openLibrary(path)) {
    if (!handle_) loadError_ = lastErrorText();
}

DynamicLibrary::~DynamicLibrary() {
    if (handle_) closeLibrary(handle_);
}

void* DynamicLibrary::symbol(const char* name) const { return handle_ ? findSymbol(handle_, name) : nullptr; }

std::string DynamicLibrary::fileNameFor(const std::string& base) { return platformFileName(base); }

} // namespace nimb

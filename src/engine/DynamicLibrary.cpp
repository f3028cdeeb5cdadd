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

// The folder, with its closing backslash, of the module this code is linked into: the add-in's DLL,
// wherever the IDE that loaded it runs from. Empty when Windows cannot say.
std::wstring ownFolder() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ownFolder), &self)) {
        return {};
    }
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);  // cut short: try again with room for a longer path
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// A library named without a folder is looked for beside the add-in first, then as Windows looks
// for it: the IDE's own folder and PATH know nothing of where the add-in was installed. Its own
// dependencies are looked for beside it too.
void* openLibrary(const std::string& path) {
    if (path.find_first_of("\\/:") == std::string::npos) {
        const std::wstring folder = ownFolder();
        const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
        if (!folder.empty() && n > 1) {
            std::wstring name(static_cast<size_t>(n), L'\0');
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, name.data(), n);
            name.resize(static_cast<size_t>(n - 1));
            if (HMODULE beside = LoadLibraryExW((folder + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
                return reinterpret_cast<void*>(beside);
            }
        }
    }
    return reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
}
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

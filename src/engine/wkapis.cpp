#include "engine/wkapis.h"

#include "engine/DynamicLibrary.h"
#include "platform/error.h"

#include <cstdlib>
#include <memory>

namespace nimb::wkapis {

namespace {

// Where calls go: the in-process table, or the library with the entries resolved from it so far.
struct Engine {
    bool inProcess = false;
    FunctionTable entries;
    std::unique_ptr<DynamicLibrary> library;
};

Engine& engine() {
    static Engine state;
    return state;
}

[[noreturn]] void missingEntry(const char* name, const std::string& where) {
    throw vb::VBError(vb::err::EntryPointNotFound, "Can't find DLL entry point " + std::string(name) + " in " + where,
                      errorSource);
}

// Loads the library on the first call that needs it; a failed load is retried on the next call.
DynamicLibrary& loadedLibrary() {
    Engine& e = engine();
    if (!e.library) {
        auto library = std::make_unique<DynamicLibrary>(libraryName());
        if (!library->isLoaded()) {
            throw vb::VBError(vb::err::FileNotFound,
                              "File not found: " + library->path() + " (" + library->loadError() + ")", errorSource);
        }
        e.library = std::move(library);
    }
    return *e.library;
}

template <class Fn>
Fn entry(Fn& slot, const char* name) {
    if (slot) return slot;
    if (engine().inProcess) missingEntry(name, "the in-process engine table");
    DynamicLibrary& library = loadedLibrary();
    void* address = library.symbol(name);
    if (!address) missingEntry(name, library.path());
    slot = reinterpret_cast<Fn>(address);
    return slot;
}

} // namespace

void useTable(const FunctionTable& table) {
    Engine& e = engine();
    e.library.reset();
    e.entries = table;
    e.inProcess = true;
}

void useLibrary() {
    Engine& e = engine();
    e.library.reset();
    e.entries = FunctionTable{};
    e.inProcess = false;
}

std::string libraryName() {
    const char* configured = std::getenv("NIMB_ENGINE_LIBRARY");
    if (configured && *configured) return configured;
    return DynamicLibrary::fileNameFor("nimbvsadd");
}

#define NIMB_WK_DEFINE(ret, name, params, args) \
    ret name params { return entry(engine().entries.name, #name) args; }
NIMB_WK_FUNCTIONS(NIMB_WK_DEFINE)
#undef NIMB_WK_DEFINE

} // namespace nimb::wkapis

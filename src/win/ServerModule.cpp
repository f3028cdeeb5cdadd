#include "win/ServerModule.h"

#include "platform/error.h"
#include "platform/win/com/EventSink.h"

#include <atomic>

namespace nimb::win {

namespace {
std::atomic<long> objects{0};
std::atomic<long> locks{0};
HINSTANCE handle = nullptr;
} // namespace

void ServerModule::objectCreated() { ++objects; }
void ServerModule::objectDestroyed() { --objects; }
void ServerModule::lock() { ++locks; }
void ServerModule::unlock() { --locks; }
// The IDE may hold an event sink past its Unadvise: the sink's code lives in this module's platform
// library, which goes when the module does.
bool ServerModule::canUnload() { return objects.load() == 0 && locks.load() == 0 && com::orphanedSinks() == 0; }

void ServerModule::setHandle(HINSTANCE module) { handle = module; }

std::wstring ServerModule::path() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(handle, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) throw vb::VBError(vb::err::FileNotFound, "The module's own file name is not known");
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        if (buffer.size() >= 32768) throw vb::VBError(vb::err::FileNotFound, "The module's file name is too long");
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace nimb::win

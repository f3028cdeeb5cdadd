// The COM mode on Windows (host/ComMode.h).
#include "ComMode.h"

#include "AddinHost.h"
#include "ComAddinInstance.h"
#include "HostError.h"
#include "Machine.h"
#include "RegistryCopy.h"
#include "addinObjects.h"

#include "platform/sim/MemorySourceSafe.h"
#include "platform/sim/com/SimServer.h"
#include "platform/sim/com/SourceSafeClass.h"
#include "platform/sim/com/ToolWindowSite.h"
#include "platform/vbide/ClassRegistry.h"
#include "platform/vss/SourceSafe.h"
#include "platform/win/com/DispatchServer.h"

#include <fmt/format.h>

#include <objbase.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <vector>

namespace host {

namespace {

std::vector<std::string> systemSubkeys(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

// Runs regsvr32 silently on the module and waits for it; its exit status, or nothing when it did
// not start.
std::optional<DWORD> regsvr32(const std::filesystem::path& module) {
    std::wstring command = L"regsvr32.exe /s \"" + module.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return std::nullopt;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

class ComSession final : public ComMode {
public:
    explicit ComSession(Machine& machine) : machine_(machine) {
        HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(hr)) throw HostError(fmt::format("COM cannot start here (0x{:08X})", static_cast<uint32_t>(hr)));
        try {
            takeOver(machine);
        } catch (...) {
            sourceSafe_.reset();
            CoUninitialize();
            throw;
        }
    }

    ~ComSession() override {
        for (const auto& progId : classes_) vbide::ClassRegistry::instance().unregisterClass(progId);
        vss::install(nullptr);
        sourceSafe_.reset();
        CoUninitialize();
    }

    void registerModule(const std::string& given) override {
        std::filesystem::path path = std::filesystem::absolute(given).make_preferred();
        auto status = regsvr32(path);
        if (!status) throw HostError("cannot run regsvr32 for " + given);
        if (*status != 0) throw HostError(fmt::format("regsvr32 {} failed with {}", given, *status));
        // The Add-In Manager lists what the registry's Addins key holds.
        for (const auto& progId : systemSubkeys(HKEY_CURRENT_USER, addInsKey)) {
            listAddIn(machine_, progId);
            vbide::ClassRegistry::instance().registerClass(progId, "", [progId] { return ComAddinInstance::create(progId); });
            classes_.push_back(progId);
        }
    }

    std::string check() override {
        CoFreeUnusedLibrariesEx(0, 0);
        // The add-in's own: its served objects (those that are not the host's) and its adapters.
        long here = simcom::servedObjects();
        long addIn = com::liveObjects() - here + static_cast<long>(liveAdapters());
        bool loaded = GetModuleHandleW(L"nimbvbadd.dll") != nullptr;
        return fmt::format("{} live objects here, {} in the add-in; the add-in module {}", here, addIn,
                           loaded ? "still loaded" : "unloaded");
    }

private:
    void takeOver(Machine& machine) {
        // What an earlier run left in the system's registry is no part of this machine.
        RegDeleteTreeA(HKEY_CURRENT_USER, addInsKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, sourceSafeKey);
        copyWorkspaceKeys(machine);
        installSystemRegistry();

        std::weak_ptr<sim::MemorySourceSafe> server = machine.sourceSafe().weak_from_this();
        sourceSafe_.emplace(simcom::testSourceSafeProgId, [server]() -> std::shared_ptr<vss::VSSDatabase> {
            auto s = server.lock();
            return s ? s->newSession() : nullptr;
        });
        useSourceSafeServer(simcom::testSourceSafeProgId);
    }

    Machine& machine_;
    std::optional<simcom::SourceSafeClass> sourceSafe_;
    std::vector<std::string> classes_;
};

} // namespace

std::unique_ptr<ComMode> startComMode(Machine& machine) { return std::make_unique<ComSession>(machine); }

} // namespace host

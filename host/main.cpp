// nimbide: the simulated VB IDE. It builds the machine a workspace describes, loads the add-in
// module and registers it, points the add-in at the engine, and then runs a script or the
// interactive shell (docs/host.md).
#include "AddinHost.h"
#include "ComMode.h"
#include "CommandRunner.h"
#include "Console.h"
#include "DriveMap.h"
#include "EngineTestApi.h"
#include "HostError.h"
#include "HostUser.h"
#include "Machine.h"
#include "RealWindows.h"
#include "Shell.h"
#include "Workspace.h"

#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/User.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

struct Options {
    std::string workspace;
    std::string script;
    std::string addin;
    std::string engine;
    std::string engineProject;
    std::string drives;
    bool com = false;
    bool windows = false;
    std::string shots;
};

// What the platform calls the modules, where it says this program's file is, and how the
// transcript's lines end (a line feed everywhere, so that one transcript fits every platform).
#ifdef _WIN32
// The add-in built to share this program's runtime library, so that the script's person and
// virtual time reach it (the shipped module shares nothing and brings its own).
constexpr char addinFile[] = "win/hosted/nimbvbadd.dll";
constexpr char engineFile[] = "nimbvsadd.dll";
fs::path executable(const char* argv0) {
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return fs::absolute(argv0);
    buffer.resize(length);
    return fs::path(buffer);
}
void plainLineEnds() { _setmode(_fileno(stdout), _O_BINARY); }
#else
constexpr char addinFile[] = "libnimbvbadd.so";
constexpr char engineFile[] = "libnimbvsadd.so";
fs::path executable(const char* argv0) {
    std::error_code ec;
    fs::path self = fs::canonical("/proc/self/exe", ec);
    return ec ? fs::absolute(argv0) : self;
}
void plainLineEnds() {}
#endif

// The build tree the executable sits in: host/ beside src/ and engine-standin/.
fs::path buildTree(const char* argv0) { return executable(argv0).parent_path().parent_path(); }

// The drives' folder, removed at the end unless the person named it.
class DriveRoot {
public:
    explicit DriveRoot(const std::string& given) {
        if (given.empty()) {
            path_ = host::makeTemporaryDriveRoot();
            temporary_ = true;
        } else {
            path_ = given;
            fs::create_directories(path_);
        }
    }
    ~DriveRoot() {
        std::error_code ec;
        if (temporary_) fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
    bool temporary_ = false;
};

// A path of the simulated machine as given, or a file of this computer as a root-relative Windows
// path, which the engine maps back to the same file.
std::string engineProjectPath(const std::string& given) {
    if (host::DriveMap::isDrivePath(given)) return given;
    std::string out = fs::absolute(given).lexically_normal().string();
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

int run(const Options& options, const char* argv0) {
    host::Workspace workspace = options.workspace.empty() ? host::Workspace{} : host::Workspace::readFile(options.workspace);
    fs::path workspaceFolder = options.workspace.empty() ? fs::current_path() : fs::absolute(options.workspace).parent_path();
    DriveRoot driveRoot(options.drives);
    host::Machine machine(workspace, host::DriveMap(driveRoot.path()), workspaceFolder);
    host::Console console(std::cout, machine.drives());

    if (!options.engineProject.empty()) {
        auto active = machine.ide().activeProject();
        if (!active) throw host::HostError("--engine-project needs an open project to store it in");
        active->setProperty("KALNIMB_WK", "KALNIMB_WKFILENAME", machine.drives().toSystem(engineProjectPath(options.engineProject)));
    }

    fs::path tree = buildTree(argv0);
    host::EngineTestApi engine(options.engine.empty() ? (tree / "engine-standin" / engineFile).string() : options.engine);

    const bool script = !options.script.empty();
    std::ifstream scriptFile;
    if (script && options.script != "-") {
        scriptFile.open(options.script);
        if (!scriptFile) throw host::HostError("cannot read the script " + options.script);
    }
    std::istream& input = script && options.script != "-" ? static_cast<std::istream&>(scriptFile) : std::cin;

    // The person's lines, commands and answers alike, come through one reader in the shell.
    std::unique_ptr<host::LineInput> lines = script ? nullptr : std::make_unique<host::LineInput>(input);
    auto user = std::make_shared<host::HostUser>(
        console, script ? nullptr : std::make_shared<host::TerminalUser>(console, *lines));
    ui::User::install(user);
    ui::EventLoop::reset();
    ui::EventLoop::setDriven(true);  // time moves when the script or the person says advance

    std::unique_ptr<host::ComMode> comMode = options.com ? host::startComMode(machine) : nullptr;
    // The tool windows are real only when the IDE is served over COM, as the add-in's document is
    // then a COM object that a container can show in place.
    if (options.windows && !comMode) throw host::HostError("--windows needs --com");
    std::unique_ptr<host::RealWindows> windows =
        options.windows ? host::startRealWindows(machine, *user, options.shots) : nullptr;
    host::AddinHost addins(machine.ide(), machine.registry());
    auto before = addins.registered();
    std::string module = options.addin.empty() ? (tree / "src" / addinFile).string() : options.addin;
    if (comMode) comMode->registerModule(module);
    else addins.loadModule(module);
    for (const auto& a : addins.registered())
        if (std::none_of(before.begin(), before.end(), [&](const auto& b) { return b.progId == a.progId; }))
            console.line("[IDE] registered " + a.progId + " \"" + a.friendlyName + "\"");

    host::CommandRunner runner({console, machine, addins, engine, *user, options.workspace, windows.get()},
                               script ? host::CommandRunner::Mode::Script : host::CommandRunner::Mode::Shell);
    int status = 0;
    if (script) {
        std::string line;
        for (int number = 1; std::getline(input, line); ++number) {
            if (windows) windows->beforeCommand();
            auto outcome = runner.run(line, number);
            if (outcome == host::CommandRunner::Outcome::Quit) break;
            if (outcome == host::CommandRunner::Outcome::Failed) {
                status = 1;
                break;
            }
        }
        if (!runner.finish()) status = 1;
    } else {
        status = host::runShell(runner, console, *lines);
    }
    ui::Forms::unloadAll();
    windows.reset();
    ui::User::install(nullptr);
    // Said on the error stream, so that the transcript stays the same in both modes.
    if (comMode) std::cerr << "nimbide: COM check: " << comMode->check() << std::endl;
    return status;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"nimbide: the simulated VB IDE host of the NIMB add-in (see docs/host.md)"};
    Options options;
    app.add_option("-w,--workspace", options.workspace, "workspace file (docs/workspace-format.md)");
    app.add_option("-s,--script", options.script, "run the commands of this file (- for standard input) instead of the shell");
    app.add_option("--addin", options.addin, "the add-in module (default: the one of this build tree)");
    app.add_option("--engine", options.engine, "the engine library (default: the stand-in engine of this build tree)");
    app.add_option("--engine-project", options.engineProject,
                   "engine project file stored in the active VB project (C:\\... on the simulated drives, else a file here)");
    app.add_option("--drives", options.drives, "keep the simulated drives in this folder (default: a temporary one)");
    app.add_flag("--com", options.com,
                 "register the add-in with regsvr32 and reach it only over COM, the IDE served as COM objects (Windows)");
    auto* windows = app.add_flag("--windows", options.windows,
                                 "with --com: show the IDE, its tool windows and the add-in's forms as real windows");
    app.add_option("--shots", options.shots,
                   "with --windows: write a PNG of the screen after each command that changes it, into this folder")
        ->needs(windows);
    CLI11_PARSE(app, argc, argv);
    // The shell watches the standard input for lines while the clock runs, which needs the
    // stream's own buffer (shared with C's stdio it would hide lines read ahead).
    if (options.script.empty()) std::ios::sync_with_stdio(false);
    plainLineEnds();
    try {
        return run(options, argv[0]);
    } catch (const std::exception& e) {
        std::cerr << "nimbide: " << e.what() << '\n';
        return 2;
    }
}

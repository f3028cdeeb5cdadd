// CommandRunner: carries out the host's commands (docs/host.md), one line at a time, the same in a
// script and in the shell. After each command it sizes new tool windows' documents as the IDE
// does, writes what changed (ChangeWatch), and collects the questions nobody answered: in a script
// they are errors that stop it, in the shell they are only reported.
#pragma once

#include "AddinHost.h"
#include "ChangeWatch.h"
#include "Console.h"
#include "EngineTestApi.h"
#include "HostUser.h"
#include "Machine.h"
#include "RealWindows.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sim {
class SimCommandBarControl;
class SimWindow;
} // namespace sim

namespace host {

struct ServerView;

class CommandRunner {
public:
    enum class Mode { Script, Shell };
    enum class Outcome { Done, Failed, Quit };

    struct Parts {
        Console& console;
        Machine& machine;
        AddinHost& addins;
        EngineTestApi& engine;
        HostUser& user;
        std::string workspaceFile;  // where save writes by default; may be empty
        RealWindows* windows = nullptr;  // the real windows (nimbide --windows), or none
    };

    CommandRunner(Parts parts, Mode mode);

    // One line (comments and blank lines do nothing). In a script the command is echoed first.
    Outcome run(const std::string& line, int lineNumber);
    // Time really gone while the shell waits for a line: the add-in's timers run, and what they
    // changed in the IDE is reported as after a command.
    void pass(int64_t milliseconds);
    // The end of a script or shell: answers still queued are reported (an error in a script); then
    // the IDE closes, disconnecting the add-ins still connected. Returns false on an error.
    bool finish();

    // One line per command: its form and what it does.
    static const std::vector<std::string>& help();

private:
    using Args = std::vector<std::string>;
    using Handler = void (CommandRunner::*)(const Args& args);
    struct Command {
        Handler handler;
        std::size_t minArgs;
        std::size_t maxArgs;  // SIZE_MAX: any number
        const char* usage;
    };
    static const std::map<std::string, Command>& commands();

    std::string errorPrefix(int lineNumber) const;
    void afterCommand(const Args& words);
    void adoptToolWindows();
    bool reportProblems(int lineNumber);
    ServerView serverView() const;
    std::function<std::string(const sim::SimCommandBarControl&)> fieldNamer() const;
    int32_t handleOf(const std::string& reference, bool listItem) const;
    std::string shown(const std::string& text) const { return parts_.machine.drives().toDisplay(text); }
    std::string system(const std::string& text) const { return parts_.machine.drives().toSystem(text); }

    // The commands; each throws HostError for misuse.
    void addinsCmd(const Args& a);
    void connectCmd(const Args& a);
    void disconnectCmd(const Args& a);
    void clickCmd(const Args& a);
    void dblclickCmd(const Args& a);
    void rightclickCmd(const Args& a);
    void expandCmd(const Args& a);
    void collapseCmd(const Args& a);
    void columnCmd(const Args& a);
    void mouseCmd(const Args& a);
    void resizeCmd(const Args& a);
    void advanceCmd(const Args& a);
    void chooseCmd(const Args& a);
    void answerCmd(const Args& a);
    void formCmd(const Args& a);
    void openCmd(const Args& a);
    void closeCmd(const Args& a);
    void activateCmd(const Args& a);
    void selectCmd(const Args& a);
    void addCmd(const Args& a);
    void propertyCmd(const Args& a);
    void lastpathCmd(const Args& a);
    void fileCmd(const Args& a);
    void failCmd(const Args& a);
    void engineCmd(const Args& a);
    void showCmd(const Args& a);
    void dumpCmd(const Args& a);
    void saveCmd(const Args& a);
    void echoCmd(const Args& a);
    void screenshotCmd(const Args& a);
    void helpCmd(const Args& a);
    void quitCmd(const Args& a);

    void engineObjectCmd(const std::string& verb, const Args& a);

    Parts parts_;
    Mode mode_;
    ChangeWatch watch_;
    std::vector<std::weak_ptr<sim::SimWindow>> adopted_;
    bool quit_ = false;
};

} // namespace host

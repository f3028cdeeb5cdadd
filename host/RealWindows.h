// RealWindows: the host's real-windows mode (nimbide --com --windows), Windows only. The IDE's main
// window is a real frame window with its menu bar and toolbars, and its tool windows host the
// add-in's document; the add-in shows its own forms as windows, as it does in any IDE. Between
// commands the message loop runs so that the windows paint; time stays virtual (advance), so the
// transcript is the same as without windows. Modal dialogs are still answered by the script: while
// its steps run, the add-in's window of the dialog is on the screen, so that a picture can show it.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace host {

class Machine;
class HostUser;

class RealWindows {
public:
    virtual ~RealWindows() = default;

    // Before a command: runs what a person did since (clicks, keys, a tool window's close box), so
    // the command and its transcript come after it.
    virtual void beforeCommand() = 0;
    // After a command: lets every window paint, and with a
    // pictures folder writes what the screen shows when the command changed it (words: the command).
    virtual void afterCommand(const std::vector<std::string>& words) = 0;
    // Writes a picture of a window as a PNG and returns its size as "WIDTHxHEIGHT". what: "ide",
    // "toolwindow" (name: its caption; empty: the only visible one) or "form" (name: the form's
    // Name). HostError when there is no such window or the file cannot be written.
    virtual std::string screenshot(const std::string& file, const std::string& what, const std::string& name) = 0;
};

// Starts the real windows for machine's IDE; questions of user's modal dialogs are shown while
// they are answered. shotsFolder: where afterCommand writes its pictures (empty: none). HostError
// on a platform without windows or when the windows cannot be made.
std::unique_ptr<RealWindows> startRealWindows(Machine& machine, HostUser& user, const std::string& shotsFolder);

} // namespace host

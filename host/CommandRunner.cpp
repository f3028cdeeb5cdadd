#include "CommandRunner.h"

#include "CommandLine.h"
#include "DialogSteps.h"
#include "HostError.h"
#include "ServerView.h"
#include "StateJson.h"
#include "TextRenderer.h"

#include "platform/error.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/sim/MemorySourceSafe.h"
#include "platform/sim/SimAddIn.h"
#include "platform/sim/SimCodeModule.h"
#include "platform/sim/SimCommandBarControl.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimDataEnvironment.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/ui/ColumnHeaders.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Form.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/UserControl.h"
#include "platform/vbide/Constants.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace host {

namespace {

constexpr int64_t pollMilliseconds = 100;
// The longest a poll in virtual time waits for the engine's background work: longer than any one
// action on a live database can take before the engine gives it up.
constexpr int32_t workBound = 120000;
constexpr std::size_t any = SIZE_MAX;

int32_t whole(const std::string& text, const std::string& what) {
    try {
        std::size_t used = 0;
        const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;  // HRESULTs read best in hex
        long long n = std::stoll(text, &used, hex ? 16 : 10);
        if (used == text.size() && n >= INT32_MIN && n <= UINT32_MAX) return static_cast<int32_t>(n);
    } catch (const std::logic_error&) {
    }
    throw HostError(what + " must be a whole number, not \"" + text + "\"");
}

int32_t resultNumber(const std::string& answer) {
    static const std::map<std::string, int32_t> names = {{"ok", ui::mb::OK}, {"cancel", ui::mb::Cancel}, {"abort", 3},
                                                         {"retry", 4},       {"ignore", 5},              {"yes", ui::mb::Yes},
                                                         {"no", ui::mb::No}};
    std::string lower;
    for (char c : answer) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (auto it = names.find(lower); it != names.end()) return it->second;
    int32_t n = whole(answer, "a message box answer (OK, Cancel, Abort, Retry, Ignore, Yes, No or 1 to 7)");
    if (n < 1 || n > 7) throw HostError("message box answers are 1 to 7");
    return n;
}

std::string joined(const std::vector<std::string>& words, std::size_t from = 0) {
    std::string out;
    for (std::size_t i = from; i < words.size(); ++i) out += (i > from ? " " : "") + words[i];
    return out;
}

std::string trimmed(const std::string& line) {
    auto first = line.find_first_not_of(" \t\r");
    auto last = line.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : line.substr(first, last - first + 1);
}

void requireShown(const ui::Node& node) {
    for (auto parent = node.Parent(); parent; parent = parent->Parent())
        if (!parent->Expanded())
            throw HostError("the node " + node.Text() + " is hidden: " + parent->Text() + " is collapsed (expand node " +
                            parent->Key() + " first)");
}

// A point of the control where nothing is hit, searched from the bottom right.
template <class View>
std::pair<int32_t, int32_t> emptySpot(const View& view) {
    constexpr int32_t step = 60;
    for (int32_t y = view.Height() - 1; y > 0; y -= step)
        for (int32_t x = view.Width() - 1; x > 0; x -= step)
            if (!view.HitTest(x, y)) return {x, y};
    throw HostError(view.Name() + " has no empty spot to click");
}

sim::SimProject& projectNamed(const sim::SimVBE& ide, const std::string& name) {
    auto p = ide.project(name);
    if (!p) throw HostError("no project is named " + name);
    return *p;
}

std::shared_ptr<sim::SimProject> sharedProject(const sim::SimVBE& ide, const std::string& name) {
    auto p = ide.project(name);
    if (!p) throw HostError("no project is named " + name);
    return p;
}

} // namespace

const std::map<std::string, CommandRunner::Command>& CommandRunner::commands() {
    static const std::map<std::string, Command> table = {
        {"addins", {&CommandRunner::addinsCmd, 0, 0, "addins - the registered add-ins, as the Add-In Manager lists them"}},
        {"connect", {&CommandRunner::connectCmd, 0, 1, "connect [PROGID] - load an add-in (nimbvbadd.Connect)"}},
        {"disconnect", {&CommandRunner::disconnectCmd, 0, 1, "disconnect [PROGID] - unload an add-in"}},
        {"click", {&CommandRunner::clickCmd, 1, 2,
                   "click CONTROL | click node NODE | click item ITEM - a command-bar control by the add-in's field "
                   "name or by caption path (Menu Bar/Add-Ins/...), a tree node, a list item"}},
        {"dblclick", {&CommandRunner::dblclickCmd, 2, 2, "dblclick node NODE - double-click a tree node"}},
        {"rightclick", {&CommandRunner::rightclickCmd, 1, 3,
                        "rightclick node NODE [ITEM|none] | rightclick item ITEM [ITEM|none] | rightclick list [ITEM|none]"
                        " | rightclick tree [ITEM|none] - and choose ITEM of the popup menu that opens"}},
        {"expand", {&CommandRunner::expandCmd, 2, 2, "expand node NODE - open a node of the tree"}},
        {"collapse", {&CommandRunner::collapseCmd, 2, 2, "collapse node NODE"}},
        {"column", {&CommandRunner::columnCmd, 2, 2, "column N WIDTH - drag column N of the list to WIDTH twips"}},
        {"mouse", {&CommandRunner::mouseCmd, 3, 4,
                   "mouse move X Y [left] | mouse move tree|list X Y | mouse up X Y - the mouse over the server view"}},
        {"resize", {&CommandRunner::resizeCmd, 2, 2, "resize WIDTH HEIGHT - the server view's tool window, in twips"}},
        {"advance", {&CommandRunner::advanceCmd, 0, 1, "advance [N] - let N polls of 100 ms pass (1)"}},
        {"choose", {&CommandRunner::chooseCmd, 1, 1, "choose ITEM|none - the item to take in the next popup menu"}},
        {"answer", {&CommandRunner::answerCmd, 2, any,
                    "answer msgbox OK|Cancel|Yes|No|... | answer file PATH|cancel | answer dialog FORM STEP... - "
                    "queue the answer to the next question"}},
        {"form", {&CommandRunner::formCmd, 2, any, "form FORM STEP... - act on a form that is shown (form WKfrmAbout press cmdClose)"}},
        {"open", {&CommandRunner::openCmd, 2, 3, "open project NAME [FILE] - open a new, empty project"}},
        {"close", {&CommandRunner::closeCmd, 1, 2,
                   "close project NAME | close window - a project; the server view's tool window, by its close box"}},
        {"activate", {&CommandRunner::activateCmd, 1, 1, "activate PROJECT - make it the active project"}},
        {"select", {&CommandRunner::selectCmd, 1, 2, "select PROJECT COMPONENT | select none - the selected component"}},
        {"add", {&CommandRunner::addCmd, 3, 3, "add module|class|form|dataenv PROJECT NAME - a new component"}},
        {"property", {&CommandRunner::propertyCmd, 4, 4, "property PROJECT SECTION KEY VALUE - store an add-in property"}},
        {"lastpath", {&CommandRunner::lastpathCmd, 1, 1, "lastpath PATH - the IDE's last used folder"}},
        {"file", {&CommandRunner::fileCmd, 3, 4, "file close|remove PROJECT NAME [dirty] - the IDE's file events"}},
        {"fail", {&CommandRunner::failCmd, 1, 4,
                  "fail MEMBER NUMBER DESCRIPTION [TIMES] | fail clear - the IDE raises that error on its next calls of "
                  "MEMBER (Class.Member or Class.Member[object])"}},
        {"engine", {&CommandRunner::engineCmd, 1, any,
                    "engine text|notify|sql|ado|deconnection|decommand|add|change|remove|generate|handle|journal [all|clear]|pending "
                    "... - the stand-in engine's test API"}},
        {"show", {&CommandRunner::showCmd, 1, 3,
                  "show menus|toolbars|windows|tree|list|view|menu NAME|projects|code P C|de P N|forms|addins|registry|"
                  "sourcesafe|journal|answers|all"}},
        {"dump", {&CommandRunner::dumpCmd, 0, 1, "dump [FILE] - the whole state as JSON"}},
        {"save", {&CommandRunner::saveCmd, 0, 1, "save [FILE] - write the workspace (to the file it came from)"}},
        {"echo", {&CommandRunner::echoCmd, 0, any, "echo TEXT - write a line"}},
        {"screenshot", {&CommandRunner::screenshotCmd, 1, 3,
                        "screenshot FILE [ide|toolwindow [CAPTION]|form NAME] - a real window as a PNG (nimbide.exe --com "
                        "--windows)"}},
        {"help", {&CommandRunner::helpCmd, 0, 1, "help [COMMAND]"}},
        {"quit", {&CommandRunner::quitCmd, 0, 0, "quit - end the shell"}},
    };
    return table;
}

const std::vector<std::string>& CommandRunner::help() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> out;
        for (const auto& [_, c] : commands()) out.push_back(c.usage);
        return out;
    }();
    return lines;
}

CommandRunner::CommandRunner(Parts parts, Mode mode)
    : parts_(std::move(parts)), mode_(mode),
      watch_(parts_.console, parts_.machine.ide(), parts_.machine.watchedProperties()) {
    watch_.take();
}

std::string CommandRunner::errorPrefix(int lineNumber) const {
    return mode_ == Mode::Script ? fmt::format("error: line {}: ", lineNumber) : "error: ";
}

CommandRunner::Outcome CommandRunner::run(const std::string& line, int lineNumber) {
    auto& console = parts_.console;
    CommandLine words;
    try {
        words = CommandLine::parse(line);
    } catch (const HostError& e) {
        console.line(errorPrefix(lineNumber) + e.what());
        return mode_ == Mode::Script ? Outcome::Failed : Outcome::Done;
    }
    if (words.empty()) return Outcome::Done;
    // echo is the script's own narration: its text is enough.
    if (mode_ == Mode::Script && words.words[0] != "echo") console.line("> " + trimmed(line));
    bool failed = false;
    try {
        const auto& table = commands();
        auto it = table.find(words.words[0]);
        if (it == table.end()) throw HostError("unknown command " + words.words[0] + " (help lists the commands)");
        Args args(words.words.begin() + 1, words.words.end());
        if (args.size() < it->second.minArgs || args.size() > it->second.maxArgs)
            throw HostError(std::string("usage: ") + it->second.usage);
        (this->*(it->second.handler))(args);
    } catch (const HostError& e) {
        console.line(errorPrefix(lineNumber) + e.what());
        failed = true;
    } catch (const vb::VBError& e) {
        // An error the add-in left unhandled reaches the IDE, which shows it as a run-time error.
        console.line(fmt::format("[IDE] run-time error {}: {}", e.number(), e.description()));
    } catch (const std::exception& e) {
        console.line(errorPrefix(lineNumber) + e.what());
        failed = true;
    }
    afterCommand(words.words);
    failed = !reportProblems(lineNumber) || failed;
    console.flush();
    if (quit_) return Outcome::Quit;
    return failed && mode_ == Mode::Script ? Outcome::Failed : Outcome::Done;
}

void CommandRunner::pass(int64_t milliseconds) {
    ui::EventLoop::advance(milliseconds);
    adoptToolWindows();
    watch_.report();
    reportProblems(0);
}

void CommandRunner::afterCommand(const Args& words) {
    adoptToolWindows();
    watch_.report();
    if (parts_.windows) parts_.windows->afterCommand(words);
}

bool CommandRunner::reportProblems(int lineNumber) {
    auto problems = parts_.user.takeProblems();
    for (const auto& p : problems)
        parts_.console.line(mode_ == Mode::Script ? errorPrefix(lineNumber) + p : "note: " + p);
    return problems.empty() || mode_ == Mode::Shell;
}

bool CommandRunner::finish() {
    bool ok = true;
    for (const auto& p : parts_.user.unusedAnswers()) {
        parts_.console.line((mode_ == Mode::Script ? "error: " : "note: ") + p);
        ok = mode_ == Mode::Shell;
    }
    auto& ide = parts_.machine.ide();
    const auto addIns = ide.addIns();
    bool connected = std::any_of(addIns.begin(), addIns.end(), [](const auto& a) { return a->connected(); });
    if (connected) {
        parts_.console.line("> (the IDE closes)");
        try {
            ide.endSession();
        } catch (const vb::VBError& e) {
            parts_.console.line(fmt::format("[IDE] run-time error {}: {}", e.number(), e.description()));
        }
        afterCommand({"the-IDE-closes"});
        if (!reportProblems(0)) ok = false;
    }
    return ok;
}

// The IDE keeps a tool window's document the size of the window.
void CommandRunner::adoptToolWindows() {
    for (const auto& window : parts_.machine.ide().toolWindows()) {
        bool known = std::any_of(adopted_.begin(), adopted_.end(), [&](const auto& w) { return w.lock() == window; });
        if (known) continue;
        adopted_.push_back(window);
        std::weak_ptr<ui::Control> document = std::dynamic_pointer_cast<ui::Control>(window->document());
        window->onResize([document](int32_t width, int32_t height) {
            if (auto doc = document.lock()) doc->Move(0, 0, width, height);
        });
        if (auto doc = document.lock()) doc->Move(0, 0, window->width(), window->height());
    }
}

ServerView CommandRunner::serverView() const {
    auto view = ServerView::find(parts_.machine.ide());
    if (!view) throw HostError("there is no server view (start the add-in first)");
    return view;
}

std::function<std::string(const sim::SimCommandBarControl&)> CommandRunner::fieldNamer() const {
    std::map<const void*, std::string> names;
    if (parts_.addins.connected(defaultAddIn))
        for (const auto& field : AddinHost::controlFields()) {
            try {
                names[parts_.addins.control(defaultAddIn, field).get()] = field;
            } catch (const HostError&) {
            }
        }
    return [names](const sim::SimCommandBarControl& c) {
        auto it = names.find(static_cast<const vbide::CommandBarControl*>(&c));
        return it == names.end() ? std::string() : it->second;
    };
}

int32_t CommandRunner::handleOf(const std::string& reference, bool listItem) const {
    if (!reference.empty() && (std::isdigit(static_cast<unsigned char>(reference[0])) || reference[0] == '-'))
        return whole(reference, "a handle");
    std::string key = reference;
    if (!isNodeKey(reference)) key = listItem ? serverView().item(reference)->Key() : serverView().node(reference)->Key();
    return whole(key.substr(1), "a key's handle");
}

// ---- Add-ins and command bars --------------------------------------------------------------------

void CommandRunner::addinsCmd(const Args&) {
    auto all = parts_.addins.registered();
    parts_.console.line("Add-In Manager:");
    if (all.empty()) parts_.console.line("  no add-ins are registered");
    std::vector<std::vector<std::string>> rows;
    for (const auto& a : all)
        rows.push_back({a.progId, "\"" + a.friendlyName + "\"", fmt::format("load behavior {}", a.loadBehavior),
                        parts_.addins.connected(a.progId) ? "loaded" : "not loaded"});
    parts_.console.lines(text::table(rows));
}

void CommandRunner::connectCmd(const Args& a) {
    std::string progId = a.empty() ? defaultAddIn : a[0];
    parts_.addins.connect(progId);
    parts_.console.line("[IDE] " + progId + " loaded");
}

void CommandRunner::disconnectCmd(const Args& a) {
    std::string progId = a.empty() ? defaultAddIn : a[0];
    parts_.addins.disconnect(progId);
    parts_.console.line("[IDE] " + progId + " unloaded");
}

void CommandRunner::clickCmd(const Args& a) {
    if (a[0] == "node" || a[0] == "item") {
        if (a.size() != 2) throw HostError("usage: click node NODE | click item ITEM");
        auto view = serverView();
        if (a[0] == "node") {
            auto node = view.node(a[1]);
            requireShown(*node);
            view.tree->click(node);
        } else {
            view.list->click(view.item(a[1]));
        }
        return;
    }
    if (a.size() != 1) throw HostError("usage: click CONTROL");
    auto& ide = parts_.machine.ide();
    std::shared_ptr<vbide::CommandBarControl> control;
    if (a[0].find('/') != std::string::npos) {
        control = ide.findByPath(a[0]);
        if (!control) throw HostError("no command-bar control at " + a[0]);
    } else {
        control = parts_.addins.control(defaultAddIn, a[0]);
    }
    if (!ide.click(control))
        throw HostError(a[0] + " cannot be clicked: it, or a menu or bar it is on, is hidden or disabled");
}

void CommandRunner::dblclickCmd(const Args& a) {
    if (a[0] != "node") throw HostError("usage: dblclick node NODE");
    auto view = serverView();
    auto node = view.node(a[1]);
    requireShown(*node);
    view.tree->dblclick(node);
}

void CommandRunner::rightclickCmd(const Args& a) {
    const std::string& what = a[0];
    std::size_t choice = what == "list" || what == "tree" ? 1 : 2;
    if ((what != "list" && what != "tree" && what != "node" && what != "item") || a.size() < choice ||
        a.size() > choice + 1)
        throw HostError(std::string("usage: ") + commands().at("rightclick").usage);
    auto view = serverView();
    // Everything is looked up before the choice is queued, so a wrong name leaves nothing queued.
    std::function<void()> act;
    if (what == "node") {
        auto node = view.node(a[1]);
        requireShown(*node);
        act = [view, node] { view.tree->rightclick(node); };
    } else if (what == "item") {
        auto item = view.item(a[1]);
        act = [view, item] { view.list->rightclick(item); };
    } else if (what == "list") {
        auto [x, y] = emptySpot(*view.list);
        act = [view, x, y] { view.list->clickAt(ui::vbRightButton, x, y); };
    } else {
        auto [x, y] = emptySpot(*view.tree);
        act = [view, x, y] { view.tree->clickAt(ui::vbRightButton, x, y); };
    }
    if (a.size() > choice) chooseCmd({a[choice]});
    act();
}

void CommandRunner::expandCmd(const Args& a) {
    if (a[0] != "node") throw HostError("usage: expand node NODE");
    auto node = serverView().node(a[1]);
    requireShown(*node);
    node->setExpanded(true);
}

void CommandRunner::collapseCmd(const Args& a) {
    if (a[0] != "node") throw HostError("usage: collapse node NODE");
    auto node = serverView().node(a[1]);
    requireShown(*node);
    node->setExpanded(false);
}

void CommandRunner::columnCmd(const Args& a) {
    auto view = serverView();
    int32_t index = whole(a[0], "the column");
    auto& columns = view.list->ColumnHeaders();
    if (index < 1 || index > columns.Count())
        throw HostError(fmt::format("the list has {} columns, not a column {}", columns.Count(), index));
    int32_t width = whole(a[1], "the width");
    if (width < 0) throw HostError("a column cannot be narrower than nothing");
    columns.Item(index)->setWidth(static_cast<float>(width));
}

void CommandRunner::mouseCmd(const Args& a) {
    auto view = serverView();
    if (a[0] == "move" && (a[1] == "tree" || a[1] == "list")) {
        if (a.size() != 4) throw HostError("usage: mouse move tree|list X Y");
        int32_t x = whole(a[2], "X"), y = whole(a[3], "Y");
        if (a[1] == "tree") view.tree->mouseMove(0, 0, x, y);
        else view.list->mouseMove(0, 0, x, y);
        return;
    }
    int32_t x = whole(a[1], "X"), y = whole(a[2], "Y");
    bool left = a.size() == 4;
    if (left && a[3] != "left") throw HostError("the only button the mouse holds here is left");
    if (a[0] == "move") view.control->mouseMove(left ? ui::vbLeftButton : 0, 0, x, y);
    else if (a[0] == "up") view.control->mouseUp(ui::vbLeftButton, 0, x, y);
    else throw HostError(std::string("usage: ") + commands().at("mouse").usage);
}

void CommandRunner::resizeCmd(const Args& a) {
    auto view = serverView();
    int32_t width = whole(a[0], "the width"), height = whole(a[1], "the height");
    if (width < 0 || height < 0) throw HostError("a window cannot be smaller than nothing");
    view.window->setWidth(width);
    view.window->setHeight(height);
}

void CommandRunner::advanceCmd(const Args& a) {
    int32_t polls = a.empty() ? 1 : whole(a[0], "the number of polls");
    if (polls < 1 || polls > 100000) throw HostError("advance takes 1 to 100000 polls");
    for (int32_t i = 0; i < polls; ++i) {
        parts_.engine.letWorkFinish(workBound);
        ui::EventLoop::advance(pollMilliseconds);
    }
}

// ---- Answers and forms ---------------------------------------------------------------------------

void CommandRunner::chooseCmd(const Args& a) {
    auto& popups = parts_.user.queue(HostUser::Kind::Popup);
    if (a[0] == "none") popups.dismissPopup();
    else popups.choosePopupItem(a[0]);
}

void CommandRunner::answerCmd(const Args& a) {
    auto& user = parts_.user;
    if (a[0] == "msgbox") {
        if (a.size() != 2) throw HostError("usage: answer msgbox OK|Cancel|Abort|Retry|Ignore|Yes|No");
        user.queue(HostUser::Kind::MsgBox).answerMsgBox(resultNumber(a[1]));
    } else if (a[0] == "file") {
        if (a.size() != 2) throw HostError("usage: answer file PATH|cancel");
        if (a[1] == "cancel") user.queue(HostUser::Kind::FileDialog).cancelFileDialog();
        else user.queue(HostUser::Kind::FileDialog).answerFileDialog(system(a[1]));
    } else if (a[0] == "dialog") {
        user.queue(HostUser::Kind::Modal).expectModal(a[1], parseDialogSteps(Args(a.begin() + 2, a.end()), parts_.machine.drives()));
    } else {
        throw HostError(std::string("usage: ") + commands().at("answer").usage);
    }
}

void CommandRunner::formCmd(const Args& a) {
    auto form = ui::Forms::find(a[0]);
    if (!form || !form->Visible()) throw HostError("no form " + a[0] + " is shown");
    for (const auto& step : parseDialogSteps(Args(a.begin() + 1, a.end()), parts_.machine.drives())) {
        if (!form->Loaded() || !form->Visible()) throw HostError(a[0] + " was closed before \"" + step.description + "\"");
        try {
            step.fn(*form);
        } catch (const vb::VBError&) {
            throw;
        } catch (const std::exception& e) {
            throw HostError("cannot " + step.description + ": " + e.what());
        }
    }
}

// ---- The IDE's state -----------------------------------------------------------------------------

void CommandRunner::openCmd(const Args& a) {
    if (a[0] != "project") throw HostError("usage: open project NAME [FILE]");
    auto& ide = parts_.machine.ide();
    if (ide.project(a[1])) throw HostError("a project named " + a[1] + " is open already");
    ide.addProject(a[1], a.size() == 3 ? system(a[2]) : "");
}

void CommandRunner::closeCmd(const Args& a) {
    if (a.size() == 1 && a[0] == "window") return serverView().window->closeBox();
    if (a.size() != 2 || a[0] != "project") throw HostError("usage: close project NAME | close window");
    parts_.machine.ide().removeProject(sharedProject(parts_.machine.ide(), a[1]));
}

void CommandRunner::activateCmd(const Args& a) {
    parts_.machine.ide().setActiveProject(sharedProject(parts_.machine.ide(), a[0]));
}

void CommandRunner::selectCmd(const Args& a) {
    auto& ide = parts_.machine.ide();
    if (a.size() == 1) {
        if (a[0] != "none") throw HostError("usage: select PROJECT COMPONENT | select none");
        ide.setSelectedComponent(nullptr);
        return;
    }
    auto component = projectNamed(ide, a[0]).component(a[1]);
    if (!component) throw HostError(a[0] + " has no component " + a[1]);
    ide.setSelectedComponent(component);
}

void CommandRunner::addCmd(const Args& a) {
    auto& project = projectNamed(parts_.machine.ide(), a[1]);
    if (project.component(a[2])) throw HostError(a[1] + " has a component named " + a[2] + " already");
    if (a[0] == "module") project.addModule(a[2]);
    else if (a[0] == "class") project.addComponent(a[2], vbide::vbext_ct_ClassModule);
    else if (a[0] == "form") project.addComponent(a[2], vbide::vbext_ct_VBForm);
    else if (a[0] == "dataenv") project.addDataEnvironment(a[2]);
    else throw HostError("usage: add module|class|form|dataenv PROJECT NAME");
}

void CommandRunner::propertyCmd(const Args& a) {
    projectNamed(parts_.machine.ide(), a[0]).setProperty(a[1], a[2], system(a[3]));
}

void CommandRunner::lastpathCmd(const Args& a) { parts_.machine.ide().setLastUsedPath(system(a[0])); }

void CommandRunner::fileCmd(const Args& a) {
    auto& ide = parts_.machine.ide();
    auto project = sharedProject(ide, a[1]);
    if (a[0] == "close") ide.closeFile(project, 0, system(a[2]), a.size() == 4 && a[3] == "dirty");
    else if (a[0] == "remove" && a.size() == 3) ide.removeFile(project, 0, system(a[2]));
    else throw HostError("usage: file close PROJECT NAME [dirty] | file remove PROJECT NAME");
}

void CommandRunner::failCmd(const Args& a) {
    auto& journal = parts_.machine.ide().journal();
    if (a.size() == 1 && a[0] == "clear") return journal.clearFailures();
    if (a.size() < 3) throw HostError(std::string("usage: ") + commands().at("fail").usage);
    int32_t times = a.size() == 4 ? whole(a[3], "the number of failing calls") : 1;
    journal.failNext(a[0], vb::VBError(whole(a[1], "the error number"), a[2], "Visual Basic"), times);
}

// ---- The engine ----------------------------------------------------------------------------------

void CommandRunner::engineCmd(const Args& a) {
    const auto& engine = parts_.engine;
    const std::string& verb = a[0];
    auto need = [&](std::size_t n, const char* usage) {
        if (a.size() != n + 1) throw HostError(std::string("usage: engine ") + usage);
    };
    auto checked = [&](int32_t handle, const std::string& what) {
        if (handle == 0) throw HostError("the engine refused " + what);
        return handle;
    };
    if (verb == "text") {
        if (a.size() != 3 && a.size() != 4) throw HostError("usage: engine text TYPE TEXT [BUTTONS]");
        checked(engine.injectText(whole(a[1], "the text type"), a[2], a.size() == 4 ? a[3] : ""), "the text");
    } else if (verb == "notify") {
        need(5, "notify KIND PROJECT CONNECTION OBJECTTYPE OBJECT");
        engine.injectNotification(whole(a[1], "KIND"), handleOf(a[2], false), handleOf(a[3], false),
                                  whole(a[4], "OBJECTTYPE"), handleOf(a[5], false));
    } else if (verb == "sql") {
        need(7, "sql PROJECT COMPONENT FROMLINE FROMCOLUMN TOLINE TOCOLUMN TEXT");
        checked(engine.injectSQLText(a[1], a[2], whole(a[3], "FROMLINE"), whole(a[4], "FROMCOLUMN"), whole(a[5], "TOLINE"),
                                     whole(a[6], "TOCOLUMN"), a[7]),
                "the SQL text");
    } else if (verb == "ado") {
        need(3, "ado PROJECT COMPONENT TEXT");
        checked(engine.injectADOText(a[1], a[2], a[3]), "the ADO text");
    } else if (verb == "deconnection") {
        need(4, "deconnection PROJECT DATAENV NAME CONNECTIONSTRING");
        checked(engine.injectDEConnection(a[1], a[2], a[3], a[4]), "the Data Environment connection");
    } else if (verb == "decommand") {
        if (a.size() != 7 && a.size() != 8) throw HostError("usage: engine decommand PROJECT DATAENV CONNECTION NAME TEXT TYPE [parameters]");
        checked(engine.injectDECommand(a[1], a[2], a[3], a[4], a[5], whole(a[6], "TYPE"), a.size() == 8), "the command");
    } else if (verb == "add" || verb == "change" || verb == "remove" || verb == "generate") {
        engineObjectCmd(verb, a);
    } else if (verb == "handle") {
        need(2, "handle OBJECTTYPE NAME");
        int32_t handle = engine.findHandle(whole(a[1], "OBJECTTYPE"), a[2]);
        parts_.console.line(handle ? fmt::format("[engine] handle {} (key K{})", handle, handle) : "[engine] no such object");
    } else if (verb == "journal") {
        if (a.size() == 2 && a[1] == "clear") return engine.clearJournal();
        if (a.size() > 2 || (a.size() == 2 && a[1] != "all")) throw HostError("usage: engine journal [all|clear]");
        // Text lookups are most of the calls and say little; "all" shows them too.
        const bool all = a.size() == 2;
        parts_.console.line(all ? "Engine journal:" : "Engine journal (without text lookups):");
        std::istringstream in(engine.journal());
        for (std::string line; std::getline(in, line);)
            if (all || line.rfind("WKGetString", 0) != 0) parts_.console.line("  " + line);
    } else if (verb == "pending") {
        parts_.console.line(fmt::format("[engine] {} notifications wait", engine.pendingNotifications()));
    } else {
        throw HostError(std::string("usage: ") + commands().at("engine").usage);
    }
}

void CommandRunner::engineObjectCmd(const std::string& verb, const Args& a) {
    const auto& engine = parts_.engine;
    auto fields = [&](std::size_t from) {
        std::map<std::string, std::string> out;
        for (std::size_t i = from; i < a.size(); ++i) {
            auto eq = a[i].find('=');
            if (eq == std::string::npos || eq == 0) throw HostError("fields are given as name=value, not \"" + a[i] + "\"");
            out[a[i].substr(0, eq)] = a[i].substr(eq + 1);
        }
        return out;
    };
    if (a.size() < 2) throw HostError("usage: engine " + verb + " ...");
    if (verb == "add") {
        int32_t handle = engine.injectObjectAdded(handleOf(a[1], false), fields(2));
        if (!handle) throw HostError("the engine refused the new object");
        parts_.console.line(fmt::format("[engine] added K{}", handle));
    } else if (verb == "change") {
        if (!engine.injectObjectChanged(handleOf(a[1], true), fields(2))) throw HostError("the engine refused the change");
    } else if (verb == "remove") {
        if (a.size() != 2) throw HostError("usage: engine remove OBJECT");
        if (!engine.injectObjectRemoved(handleOf(a[1], true))) throw HostError("the engine refused the removal");
    } else {
        if (a.size() != 3) throw HostError("usage: engine generate FOLDER COUNT");
        auto folder = serverView().node(a[1]);
        int32_t type = folder->Tag().toLong() + 1;
        int32_t added = engine.generateObjects(handleOf(folder->Key(), false), type, whole(a[2], "COUNT"));
        parts_.console.line(fmt::format("[engine] generated {} objects", added));
    }
}

// ---- Showing, saving -----------------------------------------------------------------------------

void CommandRunner::showCmd(const Args& a) {
    auto& console = parts_.console;
    auto& ide = parts_.machine.ide();
    const std::string& what = a[0];
    auto arity = [&](std::size_t n) {
        if (a.size() != n + 1) throw HostError("usage: show " + what + (n == 1 ? " NAME" : n == 2 ? " PROJECT NAME" : ""));
    };
    if (what == "menus") {
        arity(0);
        console.lines(text::menuBar(ide, fieldNamer()));
    } else if (what == "toolbars" || what == "toolbar") {
        arity(0);
        console.lines(text::toolbars(ide, fieldNamer()));
    } else if (what == "windows") {
        arity(0);
        console.lines(text::windows(ide));
    } else if (what == "tree") {
        arity(0);
        console.lines(text::tree(*serverView().tree));
    } else if (what == "list") {
        arity(0);
        console.lines(text::list(*serverView().list));
    } else if (what == "view") {
        arity(0);
        auto view = serverView();
        console.lines(text::layout(*view.control));
        console.lines(text::tree(*view.tree));
        console.lines(text::list(*view.list));
    } else if (what == "menu") {
        arity(1);
        console.lines(text::menuState(*serverView().menu(a[1])));
    } else if (what == "projects") {
        arity(0);
        console.lines(text::projects(ide, parts_.machine.watchedProperties()));
    } else if (what == "code") {
        arity(2);
        auto component = projectNamed(ide, a[1]).component(a[2]);
        if (!component || !component->code()) throw HostError(a[1] + " has no component " + a[2] + " with code");
        console.lines(text::codeModule(a[1] + "." + a[2], component->code()->lines()));
    } else if (what == "de") {
        arity(2);
        auto component = projectNamed(ide, a[1]).component(a[2]);
        auto de = component ? std::dynamic_pointer_cast<sim::SimDataEnvironment>(component->designer()) : nullptr;
        if (!de) throw HostError(a[1] + " has no Data Environment " + a[2]);
        console.lines(text::dataEnvironment(a[1] + "." + a[2], *de));
    } else if (what == "forms") {
        arity(0);
        if (ui::Forms::loaded().empty()) console.line("No form is loaded.");
        for (const auto& f : ui::Forms::loaded()) console.lines(text::form(*f, f->Visible() ? "form" : "hidden form"));
    } else if (what == "addins") {
        arity(0);
        addinsCmd({});
    } else if (what == "registry") {
        arity(0);
        auto w = parts_.machine.capture();
        console.line(w.sourceSafeInstalled ? "SourceSafe is installed (SCCServerPath " + w.sccServerPath + ")"
                                           : "SourceSafe is not installed (no SCCServerPath)");
        if (w.sourceSafeDatabases.empty()) console.line("No SourceSafe database is registered.");
        for (const auto& d : w.sourceSafeDatabases) console.line("SourceSafe database " + d.name + ": " + d.folder);
        for (const auto& r : parts_.addins.registered())
            console.line(fmt::format("Add-in {}: \"{}\", load behavior {}", r.progId, r.friendlyName, r.loadBehavior));
    } else if (what == "sourcesafe") {
        arity(0);
        auto w = parts_.machine.capture();
        if (w.sourceSafe.empty()) console.line("No SourceSafe database exists.");
        for (const auto& db : w.sourceSafe) {
            std::string users;
            for (const auto& u : db.users) users += (users.empty() ? "" : ", ") + u.name;
            console.line("SourceSafe database " + db.folder + ", users: " + (users.empty() ? "none" : users));
            for (const auto& p : db.projects) console.line("  project " + p);
            for (const auto& f : db.files) {
                std::string local = f.checkedOutBy.empty() ? "" : parts_.machine.sourceSafe().checkoutLocal(system(db.folder), f.spec);
                console.line("  file " + f.spec + (f.checkedOutBy.empty() ? "" : ", checked out by " + f.checkedOutBy) +
                             (local.empty() ? "" : " to " + local));
            }
        }
    } else if (what == "journal") {
        arity(0);
        engineCmd({"journal"});
    } else if (what == "answers") {
        arity(0);
        console.line(fmt::format("{} answers are queued", parts_.user.queued()));
    } else if (what == "all") {
        arity(0);
        for (const char* part : {"windows", "menus", "toolbars", "projects", "forms"}) showCmd({part});
        if (ServerView::find(ide)) showCmd({"view"});
    } else {
        throw HostError(std::string("usage: ") + commands().at("show").usage);
    }
}

void CommandRunner::dumpCmd(const Args& a) {
    std::string text = stateJson(parts_.machine, parts_.addins, parts_.user, parts_.engine).dump(2);
    if (a.empty()) return parts_.console.line(text);
    std::ofstream out(a[0], std::ios::binary);  // line feeds on every platform
    out << text << '\n';
    if (!out) throw HostError("cannot write " + a[0]);
}

void CommandRunner::saveCmd(const Args& a) {
    std::string file = a.empty() ? parts_.workspaceFile : a[0];
    if (file.empty()) throw HostError("no workspace file to save to: give one (save FILE)");
    auto workspace = parts_.machine.capture();
    workspace.moveCopies(parts_.machine.workspaceFolder(), std::filesystem::absolute(file).parent_path());
    std::ofstream out(file, std::ios::binary);
    out << workspace.toJson().dump(2) << '\n';
    if (!out) throw HostError("cannot write " + file);
    parts_.console.line("[saved the workspace]");
}

void CommandRunner::screenshotCmd(const Args& a) {
    if (!parts_.windows) throw HostError("screenshot needs real windows: nimbide.exe --com --windows (on Windows)");
    const std::string what = a.size() > 1 ? a[1] : "ide";
    const std::string name = a.size() > 2 ? a[2] : "";
    if (what == "form" && name.empty()) throw HostError("usage: screenshot FILE form NAME");
    if (what == "ide" && !name.empty()) throw HostError("usage: screenshot FILE ide");
    const std::string size = parts_.windows->screenshot(a[0], what, name);
    const std::string window = what == "ide" ? "the IDE's main window"
                               : what == "form" ? "the form " + name
                                                : "the tool window" + (name.empty() ? "" : " \"" + name + "\"");
    parts_.console.line("[IDE] picture of " + window + ", " + size + " pixels: " + a[0]);
}

void CommandRunner::echoCmd(const Args& a) { parts_.console.line(joined(a)); }

void CommandRunner::helpCmd(const Args& a) {
    if (a.empty()) return parts_.console.lines(help());
    auto it = commands().find(a[0]);
    if (it == commands().end()) throw HostError("unknown command " + a[0]);
    parts_.console.line(it->second.usage);
}

void CommandRunner::quitCmd(const Args&) { quit_ = true; }

} // namespace host

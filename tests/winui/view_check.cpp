// The server view on real windows under wine64 + Xvfb, driven by scripts/winui:
//   view_check shot N MS   lists N stored procedures, prints READY and the tool window's screen
//                          rectangle, and keeps painting for MS milliseconds (the picture's time)
//   view_check person      whole interactions with real input from outside (see PersonScript):
//                          each prints "PASS name" or "FAIL name: why"; a last line counts them
// This file holds only Win32 code.
#include "PersonScript.h"
#include "ViewWorld.h"

#include "dialogs/fileChooserForm.h"
#include "notify/viewAPIs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Shape.h"
#include "platform/ui/TreeView.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/ui/RealTimeDriver.h"
#include "platform/win/ui/Win32User.h"
#include "serverview/svrViewCtl.h"

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using winviews::ViewWorld;

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 520;

// Runs messages (the real-time driver ticks the poller meanwhile) until done() or 10 s.
bool waitFor(ViewWorld& world, const std::function<bool()>& done) {
    for (int i = 0; i < 200; ++i) {
        if (done()) return true;
        world.pumpFor(50);
    }
    return done();
}

ui::NodePtr nodeOf(ViewWorld& world, int32_t hdl) {
    return world.view().serverTreeView->Nodes().find(nimb::viewAPIs::makeNodeKey(hdl));
}

int shot(int32_t n, int ms) {
    ViewWorld world(kWidth, kHeight);
    const int32_t folder = world.procedureFolder(n);
    (void)folder;
    world.tick();
    world.settle();
    const RECT r = winviews::screenRect(world.toolWindow());
    std::printf("READY %ld %ld %ld %ld listed %d\n", r.left, r.top, r.right, r.bottom,
                world.view().serverDetailsView->ListItems().Count());
    std::fflush(stdout);
    world.pumpFor(ms);
    return 0;
}

// The engine calls of a journal, without the poller's notification fetches.
std::string journalCalls(const std::string& journal) {
    std::string out;
    std::size_t at = 0;
    while (at < journal.size()) {
        const std::size_t end = std::min(journal.find('\n', at), journal.size());
        const std::string line = journal.substr(at, end - at);
        if (line.rfind("WKGetNotification", 0) != 0) out += line + "; ";
        at = end + 1;
    }
    return out;
}

// Only the journal's WKSetCurrentFolder calls, each followed by "; ".
std::string currentFolderCalls(const std::string& calls) {
    std::string out;
    for (std::size_t at = calls.find("WKSetCurrentFolder("); at != std::string::npos;
         at = calls.find("WKSetCurrentFolder(", at + 1))
        out += calls.substr(at, calls.find("; ", at) + 2 - at);
    return out;
}

// A text as the engine's journal quotes it.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// What a file dialog's type list shows for a filter "Text (*.txt)|*.txt|All|*.*": each description,
// in order, followed by "; " (a description whose pattern is missing is listed too).
std::string filterDescriptions(const std::string& filter) {
    std::string out;
    std::size_t at = 0;
    for (bool description = true; at <= filter.size(); description = !description) {
        const std::size_t bar = std::min(filter.find('|', at), filter.size());
        if (description && bar > at)
            out += filter.substr(at, bar - at) + "; ";
        at = bar + 1;
    }
    return out;
}

struct Outcome {
    int passed = 0;
    int failed = 0;
    void check(const char* name, bool ok, const std::string& why) {
        if (ok) ++passed;
        else ++failed;
        winviews::say(ok ? std::string("PASS ") + name : std::string("FAIL ") + name + ": " + why);
    }
};

// A person drops a routine while its connection is not connected: the add-in asks the engine, the
// engine's refusal comes as a real message box with one OK button, the person clicks it, and the
// routine stays in the list.
void dropRefusedWithMessageBox(ViewWorld& world, Outcome& outcome, const std::string& title) {
    auto& list = *world.view().serverDetailsView;
    const int32_t before = list.ListItems().Count();
    auto item = before > 1 ? list.ListItems().Item(2) : nullptr;
    auto rect = item ? world.renderer().screenRectOf(*item) : std::nullopt;
    if (!rect) return outcome.check("drop refused, told in a message box", false, "no row on the screen");
    std::string seen;
    std::atomic<bool> answered = false;
    auto chooser = winviews::chooseFromNextPopup(com::wideFromUtf8(world.view().devObjDropMnuItem->Caption()));
    auto answer = winviews::answerNextMessageBox(com::wideFromUtf8(title), IDOK, seen, answered);
    const int32_t hdl = nimb::viewAPIs::keyToHandle(item->Key());
    winviews::click(winviews::centreOf(*rect), 3);
    const bool done = waitFor(world, [&] { return answered.load(); });
    chooser.join();
    answer.join();
    world.pumpFor(300);
    const std::string journal = journalCalls(world.takeJournal());
    const std::string wanted = "WKObjectDoAction(" + std::to_string(hdl) + ", 22)";
    outcome.check("drop refused, told in a message box",
                  done && seen.find("not connected") != std::string::npos && seen.find("[OK]") != std::string::npos &&
                      journal.find(wanted) != std::string::npos && list.ListItems().Count() == before,
                  "rows " + std::to_string(list.ListItems().Count()) + " of " + std::to_string(before) + ", box: " +
                      seen + ", wanted " + wanted + " in: " + journal);
}

// A person drags the bar between the tree and the list 120 pixels to the right: the tree widens
// by as much, the list starts that much later.
void dragSplitter(ViewWorld& world, Outcome& outcome) {
    auto& view = world.view();
    const auto& dpi = world.renderer().dpi();
    const int32_t treeWidth = view.serverTreeView->Width();
    HWND surface = world.renderer().windowOf(view);
    POINT from{dpi.pixelsX(view.splitPane->Left() + view.splitPane->Width() / 2),
               dpi.pixelsY(view.splitPane->Top() + view.splitPane->Height() / 2)};
    ClientToScreen(surface, &from);
    winviews::drag(from, POINT{from.x + 120, from.y});
    const int32_t wanted = treeWidth + dpi.twipsX(120);
    const bool moved = waitFor(world, [&] { return std::abs(view.serverTreeView->Width() - wanted) <= dpi.twipsX(3); });
    outcome.check("drag the splitter", moved && view.serverDetailsView->Left() > view.serverTreeView->Width(),
                  "tree width " + std::to_string(view.serverTreeView->Width()) + " twips, wanted about " +
                      std::to_string(wanted));
}

// A person drags the right edge of the list's first column header 60 pixels on: the model's column
// is that much wider. Then, with the connection clicked, Left folds it and Right opens it again in
// the model, as the keys do in a tree.
void columnEdgeAndKeys(ViewWorld& world, Outcome& outcome) {
    auto& list = *world.view().serverDetailsView;
    const auto& dpi = world.renderer().dpi();
    HWND header = ListView_GetHeader(world.renderer().windowOf(list));
    RECT edge{};
    if (!header || !Header_GetItemRect(header, 0, &edge))
        return outcome.check("a column's edge and keys", false, "no column header");
    MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&edge), 2);
    const float before = list.ColumnHeaders().Item(1)->Width();
    const POINT from{edge.right - 1, (edge.top + edge.bottom) / 2};
    winviews::drag(from, POINT{from.x + 60, from.y});
    const float wanted = before + static_cast<float>(dpi.twipsX(60));
    const bool widened = waitFor(world, [&] {
        return std::abs(list.ColumnHeaders().Item(1)->Width() - wanted) <= static_cast<float>(dpi.twipsX(3));
    });
    // Clicking the connection shows no folder, and the list loses its columns.
    const float after = list.ColumnHeaders().Item(1)->Width();

    auto node = nodeOf(world, world.connectionHdl());
    auto rect = node ? world.renderer().screenRectOf(*node) : std::nullopt;
    bool folded = false, opened = false;
    if (rect && node->Expanded()) {
        winviews::click(winviews::centreOf(*rect));
        waitFor(world, [&] { return node->Selected(); });
        winviews::key("Left");
        folded = waitFor(world, [&] { return !node->Expanded(); });
        winviews::key("Right");
        opened = waitFor(world, [&] { return node->Expanded(); });
    }
    outcome.check("a column's edge and keys", widened && folded && opened,
                  "column 1 " + std::to_string(after) + " twips, wanted about " + std::to_string(wanted) +
                      "; connection folded by Left " + (folded ? "yes" : "no") + ", opened by Right " +
                      (opened ? "yes" : "no"));
}

// A person right-clicks the connection and chooses Add ADO Connection Object: the real modal
// dialog opens, the person types a name into it and presses OK, and the engine is asked for the
// connection object under that name in the project and Data Environment the dialog offered.
void adoConnectionThroughDialog(ViewWorld& world, Outcome& outcome) {
    auto node = nodeOf(world, world.connectionHdl());
    auto rect = node ? world.renderer().screenRectOf(*node) : std::nullopt;
    if (!rect) return outcome.check("a modal dialog filled and confirmed", false, "the connection is not on the screen");
    world.takeJournal();
    std::atomic<bool> answered = false;
    auto chooser = winviews::chooseFromNextPopup(com::wideFromUtf8(world.view().adoConObjMnuItem->Caption()));
    auto filler = winviews::fillNextDialog(L"Add ADO Connection Object", "OrdersConn", L"OK", answered);
    winviews::click(winviews::centreOf(*rect), 3);
    const std::string wanted = "WKConnectionDoGetDE(" + std::to_string(world.connectionHdl());
    std::string journal;
    const bool asked = waitFor(world, [&] {
        journal += journalCalls(world.takeJournal());
        return answered && journal.find(wanted) != std::string::npos;
    });
    chooser.join();
    filler.join();
    outcome.check("a modal dialog filled and confirmed",
                  asked && journal.find("OrdersConn") != std::string::npos &&
                      journal.find("DataEnvironment1") != std::string::npos,
                  "wanted " + wanted + " with OrdersConn in: " + journal);
}

// A person right-clicks the engine project and chooses Save As: the real save dialog opens with the
// title and file types the add-in gave its CommonDialog, in the folder of the project's file. The
// person types a bare name and clicks Save: the engine is asked to save the project under that
// name, in that folder, with the default extension added, and its report that it did comes as a
// message box, which the person clicks away.
void saveAsThroughFileDialog(ViewWorld& world, Outcome& outcome, const std::string& title) {
    auto node = nodeOf(world, world.projectHdl());
    auto rect = node ? world.renderer().screenRectOf(*node) : std::nullopt;
    if (!rect)
        return outcome.check("save as through the file dialog", false, "the project is not on the screen");
    world.takeJournal();
    std::string seen;
    std::atomic<bool> answered = false;
    auto chooser =
        winviews::chooseFromNextPopup(com::wideFromUtf8(world.view().projSaveAsMnuItem->Caption()));
    auto filler = winviews::fillNextFileDialog("orders", seen, answered);
    std::string box;
    std::atomic<bool> boxAnswered = false;
    auto report = winviews::answerNextMessageBox(com::wideFromUtf8(title), IDOK, box, boxAnswered);
    winviews::click(winviews::centreOf(*rect), 3);
    std::string journal;
    const bool asked = waitFor(world, [&] {
        journal += journalCalls(world.takeJournal());
        return answered && boxAnswered && journal.find("WKProjectDoAccess(") != std::string::npos;
    });
    chooser.join();
    filler.join();
    report.join();
    const auto& dialog = *ui::Forms::instance<nimb::fileChooserForm>()->fileChooserDlg;
    const std::string shown = dialog.DialogTitle() + " | " + filterDescriptions(dialog.Filter());
    const std::string path = dialog.InitDir() + "\\orders." + dialog.DefaultExt();
    const std::string wanted = "WKProjectDoAccess(" + quoted(path) + ", \"\", 4)";
    outcome.check("save as through the file dialog",
                  asked && !dialog.DialogTitle().empty() && seen == shown &&
                      journal.find(wanted) != std::string::npos && box.find(path) != std::string::npos,
                  "box: " + box + "; the dialog showed \"" + seen + "\", the model's \"" + shown +
                      "\"; wanted " + wanted + " in: " + journal);
}

// A person double-clicks the stored-procedure folder: as the scripted double-click does, its first
// click makes the folder the engine's current one (flag 0), the double-click tells the engine again
// with flag -1, and the list then shows the folder's routines once.
void doubleClickFolder(ViewWorld& world, Outcome& outcome, int32_t folder, int32_t routines) {
    auto node = nodeOf(world, folder);
    auto rect = node ? world.renderer().screenRectOf(*node) : std::nullopt;
    if (!rect)
        return outcome.check("double-click a folder node", false, "the folder is not on the screen");
    world.takeJournal();
    winviews::doubleClick(winviews::centreOf(*rect));
    auto& list = *world.view().serverDetailsView;
    const std::string hdl = std::to_string(folder);
    const std::string wanted = "WKSetCurrentFolder(" + hdl + ", 0); WKSetCurrentFolder(" + hdl + ", -1); ";
    std::string journal;
    const bool told = waitFor(world, [&] {
        journal += journalCalls(world.takeJournal());
        return currentFolderCalls(journal) == wanted && list.ListItems().Count() == routines;
    });
    world.pumpFor(300); // a second listing of the same folder would come now
    outcome.check("double-click a folder node",
                  told && list.ListItems().Count() == routines && node->Selected(),
                  "listed " + std::to_string(list.ListItems().Count()) + " of " + std::to_string(routines) +
                      ", wanted " + wanted + " in: " + journal);
}

int person() {
    // A window nobody closes would keep the run waiting for ever: two minutes is the most it takes.
    std::thread([] {
        Sleep(120000);
        std::printf("RESULT failed: the checks did not finish within two minutes\n");
        std::fflush(stdout);
        ExitProcess(1);
    }).detach();
    ViewWorld world(kWidth, kHeight);
    const std::string title = "nimbvbadd";
    ui::User::install(std::make_shared<winui::Win32User>(world.renderer(), world.toolWindow(), title));
    winui::RealTimeDriver driver(50);
    const int32_t routines = 40;
    const int32_t folder = world.procedureFolder(routines);
    world.tick();
    world.settle();
    world.pumpFor(500);
    Outcome outcome;
    dropRefusedWithMessageBox(world, outcome, title);
    dragSplitter(world, outcome);
    columnEdgeAndKeys(world, outcome);
    adoConnectionThroughDialog(world, outcome);
    doubleClickFolder(world, outcome, folder, routines);
    saveAsThroughFileDialog(world, outcome, title);
    ui::User::install(nullptr);
    std::printf("RESULT %d passed, %d failed\n", outcome.passed, outcome.failed);
    return outcome.failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "shot" && argc > 3) return shot(std::atoi(argv[2]), std::atoi(argv[3]));
        if (mode == "person") return person();
        std::fprintf(stderr, "usage: view_check shot N MS | view_check person\n");
        return 2;
    } catch (const std::exception& e) {
        std::printf("RESULT failed: %s\n", e.what());
        return 1;
    }
}

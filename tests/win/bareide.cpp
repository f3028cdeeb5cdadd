// bareide: the add-in in an IDE that gives it nothing but COM objects. This program plays such an
// IDE (BareIde): it shares no library with the add-in - the COM foundation it serves its objects
// with is compiled into it - and installs nothing into it: no person, no clock, no window maker.
// It registers the module with regsvr32, creates nimbvbadd.Connect by its ProgID, connects it,
// clicks its Add-Ins entry through the entry's event connection point, and from then on only runs
// a message loop on the real clock. A person's thread watches the screen through Win32 alone
// (window enumeration, class names, window texts, tree-view messages): the splash screen comes and
// goes, the server view shows the engine project, a toolbar button's engine command raises a real
// message box, which the person answers. Then the IDE disconnects the add-in and checks that none
// of its windows, timers or objects is left and that the module unloads.
//   bareide MODULE ENGINE_PROJECT PICTURES_DIR
// Prints a line per check and "bare-ide: N passed, M failed".
#include "tests/win/BareIde.h"
#include "PersonScript.h"
#include "WindowPicture.h"
#include "engine-standin/standin_api.h"
#include "nimbvbaddLib.h"

#include "platform/win/com/Bstr.h"
#include "platform/win/com/Dispatch.h"

#include <commctrl.h>
#include <ocidl.h>
#include <ole2.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

int passed = 0;
int failed = 0;
std::mutex printing;  // the IDE's thread and the person's both report

// One report a line: a text's line breaks show as " / ".
std::string oneLine(std::string text) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos;) text.replace(at, 1, " / ");
    return text;
}

void check(const std::string& what, bool ok, const std::string& detail = "") {
    std::lock_guard<std::mutex> lock(printing);
    std::printf("%s %s%s%s\n", ok ? "PASS" : "FAIL", what.c_str(), detail.empty() ? "" : ": ", oneLine(detail).c_str());
    std::fflush(stdout);
    (ok ? passed : failed)++;
}

void seen(const std::string& line) {
    std::lock_guard<std::mutex> lock(printing);
    std::printf("SEEN %s\n", oneLine(line).c_str());
    std::fflush(stdout);
}

std::string narrow(const std::wstring& s) { return com::utf8FromWide(s); }

std::string textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 511);
    return narrow(text);
}

std::string classOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 127);
    return narrow(name);
}

// ---- the IDE's thread --------------------------------------------------------------------------

constexpr UINT kRunPosted = WM_APP + 11;
constexpr UINT kRunSent = WM_APP + 12;

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRunPosted) {
        std::unique_ptr<std::function<void()>> fn(reinterpret_cast<std::function<void()>*>(lParam));
        (*fn)();
        return 0;
    }
    if (msg == kRunSent) {
        (*reinterpret_cast<std::function<void()>*>(lParam))();
        return 0;
    }
    if (msg == WM_CLOSE) return 0;  // the IDE stays until the test ends
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND makeMainWindow() {
    WNDCLASSW frame{};
    frame.lpfnWndProc = &frameProc;
    frame.hInstance = GetModuleHandleW(nullptr);
    frame.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    frame.lpszClassName = L"BareIdeMainWindow";
    RegisterClassW(&frame);
    return CreateWindowExW(0, L"BareIdeMainWindow", L"Bare IDE", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                           0, 1200, 760, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Another thread's request, run by the IDE's thread in whatever message loop it is in: posted
// (the caller goes on) or sent (the caller waits for it).
void runOnIde(HWND frame, std::function<void()> fn) {
    PostMessageW(frame, kRunPosted, 0, reinterpret_cast<LPARAM>(new std::function<void()>(std::move(fn))));
}
void callOnIde(HWND frame, std::function<void()> fn) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(frame, kRunSent, 0, reinterpret_cast<LPARAM>(&fn), SMTO_NORMAL, 10000, &ignored);
}

bool runProgram(const std::wstring& commandLine) {
    std::wstring line = commandLine;
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
        return false;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

// Runs the thread's messages for ms; counts the timer messages that went into module's code.
int pumpFor(DWORD ms, HMODULE module = nullptr) {
    int timersIntoModule = 0;
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (module != nullptr && msg.message == WM_TIMER) {
                HMODULE target = nullptr;
                const void* code = msg.lParam
                                       ? reinterpret_cast<const void*>(msg.lParam)
                                       : reinterpret_cast<const void*>(GetWindowLongPtrW(msg.hwnd, GWLP_WNDPROC));
                GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                       GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCWSTR>(code), &target);
                if (target == module) ++timersIntoModule;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return timersIntoModule;
}

// ---- what a person sees --------------------------------------------------------------------------

struct Windows {
    DWORD thread;
    std::vector<HWND> list;
    static BOOL CALLBACK add(HWND window, LPARAM self) {
        reinterpret_cast<Windows*>(self)->list.push_back(window);
        return TRUE;
    }
};

// The top-level windows of the IDE's thread, and with messageOnly its message-only windows too.
std::vector<HWND> windowsOf(DWORD thread, bool messageOnly) {
    Windows found{thread, {}};
    EnumThreadWindows(thread, &Windows::add, reinterpret_cast<LPARAM>(&found));
    if (messageOnly) {
        for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w != nullptr;
             w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
            if (GetWindowThreadProcessId(w, nullptr) == thread) found.list.push_back(w);
    }
    return found.list;
}

bool ofModule(HWND window, HMODULE module) {
    return module != nullptr && reinterpret_cast<HMODULE>(GetClassLongPtrW(window, GCLP_HMODULE)) == module;
}

// The text a window holds, read without asking its thread (which may be busy for a while).
std::string heldText(HWND window) {
    wchar_t text[512] = {};
    InternalGetWindowText(window, text, 511);
    return narrow(text);
}

// The texts of the visible windows inside parent, at any depth: labels' and buttons'.
std::vector<std::string> childTexts(HWND parent) {
    struct Texts {
        std::vector<std::string> list;
        static BOOL CALLBACK visit(HWND w, LPARAM self) {
            const std::string text = heldText(w);
            if (IsWindowVisible(w) && !text.empty()) reinterpret_cast<Texts*>(self)->list.push_back(text);
            return TRUE;
        }
    } texts;
    EnumChildWindows(parent, &Texts::visit, reinterpret_cast<LPARAM>(&texts));
    return texts.list;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : " | ") + p;
    return out;
}

HWND descendantOfClass(HWND parent, const wchar_t* cls) {
    struct Search {
        const wchar_t* cls;
        HWND found = nullptr;
        static BOOL CALLBACK visit(HWND w, LPARAM self) {
            auto& s = *reinterpret_cast<Search*>(self);
            wchar_t name[64] = {};
            GetClassNameW(w, name, 63);
            if (wcscmp(name, s.cls) != 0) return TRUE;
            s.found = w;
            return FALSE;
        }
    } search{cls};
    EnumChildWindows(parent, &Search::visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string itemText(HWND tree, HTREEITEM item) {
    wchar_t text[260] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = 259;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return narrow(text);
}

// The root's text, then its children's.
std::vector<std::string> treeTexts(HWND tree) {
    std::vector<std::string> texts;
    auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (root == nullptr) return texts;
    texts.push_back(itemText(tree, root));
    for (auto c = reinterpret_cast<HTREEITEM>(
             SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
         c != nullptr;
         c = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(c))))
        texts.push_back(itemText(tree, c));
    return texts;
}

template <class F> auto waitFor(DWORD ms, F&& probe) -> decltype(probe()) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        if (auto found = probe()) return found;
        if (GetTickCount64() >= end) return {};
        Sleep(20);
    }
}

// The engine project a person expects to see: its name and its connections' databases, read from
// the file the project stores.
struct EngineProject {
    std::string name;
    std::vector<std::string> databases;
};

EngineProject readEngineProject(const std::string& file) {
    EngineProject project;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto value = [&](const char* key) -> std::optional<std::string> {
            const std::string prefix = std::string(key) + " = ";
            if (line.rfind(prefix, 0) != 0) return std::nullopt;
            return line.substr(prefix.size());
        };
        if (auto v = value("project")) project.name = *v;
        if (auto v = value("database")) project.databases.push_back(*v);
    }
    return project;
}

// The person at the screen, on a thread of their own. Everything about the IDE's objects is asked
// on the IDE's thread (callOnIde); everything on the screen through Win32.
class Person {
public:
    Person(HWND frame, DWORD ideThread, wintest::BareIde& ide, EngineProject expected, std::string pictures)
        : frame_(frame), ideThread_(ideThread), ide_(ide), expected_(std::move(expected)),
          pictures_(std::move(pictures)) {}

    std::atomic<ULONGLONG> clickedAt{0};
    std::atomic<bool> done{false};

    void run(HMODULE addin) {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // the pictures' encoder
        addin_ = addin;
        watchTheStart();
        useAnEngineCommand();
        closeTheAboutBox();
        if (view_ != nullptr) dropARoutine();
        CoUninitialize();
        done = true;
    }

private:
    // An add-in's top-level window on the screen that is not a message box.
    HWND addinWindow() {
        for (HWND w : windowsOf(ideThread_, false))
            if (IsWindowVisible(w) && ofModule(w, addin_)) return w;
        return nullptr;
    }

    HWND messageBox() {
        for (HWND w : windowsOf(ideThread_, false))
            if (IsWindowVisible(w) && classOf(w) == "#32770") return w;
        return nullptr;
    }

    void picture(const std::string& name) {
        RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        try {
            seen("picture " + name + ".png " + host::writeScreenPicture(screen, pictures_ + "\\" + name + ".png"));
        } catch (const std::exception& e) {
            check("a picture of the screen " + name, false, e.what());
        }
    }

    void watchTheStart() {
        waitFor(10000, [&] { return clickedAt.load() != 0; });
        // Read as soon as it is found: the add-in's start may take it down again within a few polls.
        std::string splashClass, caption;
        std::vector<std::string> texts;
        HWND splash = waitFor(10000, [&]() -> HWND {
            HWND w = addinWindow();
            if (w == nullptr) return nullptr;
            splashClass = classOf(w);
            caption = heldText(w);
            texts = childTexts(w);
            return splashClass.empty() ? nullptr : w;  // gone while it was read
        });
        const ULONGLONG splashAt = GetTickCount64();
        check("a window of the add-in appears after the click (the splash screen)", splash != nullptr);
        if (splash != nullptr) {
            seen("splash screen: class " + splashClass + ", caption \"" + caption + "\", texts: " + joined(texts));
            seen("click to splash screen: " + std::to_string(splashAt - clickedAt) + " ms");
            picture("after-click");
            std::vector<std::string> progress;  // what the splash screen says while the add-in starts
            callOnIde(frame_, [&] {
                for (int32_t id = 641; id <= 647; ++id) progress.push_back(engineText(id));
            });
            const bool shown =
                std::find_first_of(texts.begin(), texts.end(), progress.begin(), progress.end()) != texts.end();
            check("the splash screen shows one of the engine's progress texts", shown,
                  shown ? joined(texts) : joined(texts) + " is none of " + joined(progress));
        }
        HWND tree = waitFor(15000, [&] { return serverViewTree(); });
        check("the server view's tree shows the engine project " + expected_.name, tree != nullptr,
              tree ? "" : "no visible tree with that root within 15 s");
        if (tree != nullptr) {
            // When the add-in showed it, as the IDE knows: the person's own look comes later (after
            // the picture above, whose encoding takes its time).
            seen("click to server view: " + std::to_string(shownAt_ - clickedAt) + " ms");
            const auto texts = treeTexts(tree);
            std::vector<std::string> want{expected_.name};
            want.insert(want.end(), expected_.databases.begin(), expected_.databases.end());
            check("the tree reads the project and its connections as the engine project holds them", texts == want,
                  "shown: " + joined(texts) + "; held: " + joined(want));
            picture("server-view");
        }
        if (splash != nullptr) {
            const bool gone = waitFor(5000, [&] { return !IsWindow(splash) || !IsWindowVisible(splash); });
            check("the splash screen goes once the project is loaded", gone);
        }
        checkIdeControls();
    }

    // The visible tree inside a visible tool window whose root is the engine project.
    HWND serverViewTree() {
        std::vector<wintest::BareIde::ToolWindow> windows;
        callOnIde(frame_, [&] { windows = ide_.toolWindows(); });
        for (const auto& w : windows) {
            if (!w.frame || !IsWindowVisible(w.frame)) continue;
            HWND tree = descendantOfClass(w.frame, L"SysTreeView32");
            if (tree && IsWindowVisible(tree)) {
                const auto texts = treeTexts(tree);
                if (!texts.empty() && texts.front() == expected_.name) {
                    view_ = w.frame;
                    shownAt_ = w.shownAt;
                    seen("tool window \"" + w.caption + "\": tree " + joined(texts) + "; list " +
                         (descendantOfClass(w.frame, L"SysListView32") ? "present" : "missing"));
                    return tree;
                }
            }
        }
        return nullptr;
    }

    void checkIdeControls() {
        std::vector<wintest::BareIde::Control> controls;
        std::vector<wintest::BareIde::Toolbar> bars;
        callOnIde(frame_, [&] {
            controls = ide_.controls();
            bars = ide_.toolbars();
        });
        check("the add-in's toolbar is shown", bars.size() == 1 && bars.front().visible,
              std::to_string(bars.size()) + " toolbars");
        if (bars.size() == 1) {
            int faced = 0;
            for (const auto& b : bars.front().buttons) faced += b.facePasted && !b.tooltip.empty();
            check("its seven buttons carry a face and a tooltip", bars.front().buttons.size() == 7 && faced == 7,
                  std::to_string(faced) + " of " + std::to_string(bars.front().buttons.size()));
        }
        int menus = 0, enabled = 0;
        bool entryDisabled = false;
        for (const auto& c : controls) {
            if (c.bar == "&View" || c.bar == "&Tools" || c.bar == "&Help") {
                ++menus;
                enabled += c.enabled;
            }
            if (c.bar == "&Add-Ins") entryDisabled = !c.enabled;
        }
        check("its View, Tools and Help entries are enabled", menus == 3 && enabled == 3,
              std::to_string(enabled) + " of " + std::to_string(menus));
        check("the Add-Ins entry is disabled once started", entryDisabled);
    }

    // The query builder's button: the engine starts the tool and says so in a message box, which
    // the person reads and answers with a click on its OK button.
    void useAnEngineCommand() {
        std::string toolName;
        callOnIde(frame_, [&] {
            for (const auto& c : ide_.controls())  // the menu item of the same tool says its name
                if (c.onAction == "5" && !c.caption.empty()) toolName = c.caption;
        });
        std::string shown;
        std::atomic<bool> answered{false};
        std::thread box = winviews::answerNextMessageBox(L"nimbvbadd", IDOK, shown, answered);
        runOnIde(frame_, [this] {
            const HRESULT hr = ide_.click("5");
            if (hr != S_OK) check("the toolbar button's click reaches the add-in", false, std::to_string(hr));
        });
        box.join();
        seen("message box: " + shown);
        check("the engine's answer is a real message box titled nimbvbadd, naming the tool the menu names, with "
              "the one OK button",
              answered && !toolName.empty() && shown.rfind(toolName, 0) == 0 &&
                  shown.find("(tool 5)") != std::string::npos && shown.ends_with(" | [OK]"),
              "\"" + shown + "\" for \"" + toolName + "\"");
        check("the person's OK closes it", waitFor(5000, [&] { return messageBox() == nullptr; }));
    }

    // The product information box is modeless, so its keys go through the IDE's own message loop,
    // which knows nothing of the add-in's forms: Escape closes it only if the add-in sees the key.
    void closeTheAboutBox() {
        std::vector<std::string> want;
        std::string caption;
        callOnIde(frame_, [&] {
            caption = engineText(600);
            want = {engineText(602) + "\n" + engineText(603), engineText(604),
                    engineText(605) + "\n" + engineText(606) + "\n" + engineText(607), engineText(601)};
        });
        runOnIde(frame_, [this] {
            const HRESULT hr = ide_.click("30");
            if (hr != S_OK) check("the Help menu's About item reaches the add-in", false, std::to_string(hr));
        });
        HWND about = waitFor(5000, [&] {
            HWND w = addinWindow();
            return w != nullptr && textOf(w) == caption ? w : nullptr;
        });
        check("the About item shows a box titled \"" + caption + "\"", about != nullptr);
        if (about == nullptr) return;
        auto texts = childTexts(about);
        seen("about box: class " + classOf(about) + ", caption \"" + textOf(about) + "\", texts: " + joined(texts));
        std::sort(texts.begin(), texts.end());
        std::sort(want.begin(), want.end());
        check("it reads the engine's product texts and its Close button", texts == want,
              texts == want ? "" : joined(texts) + " instead of " + joined(want));
        winviews::key("Escape");
        check("Escape closes it although the IDE's loop does not know the form",
              waitFor(5000, [&] { return !IsWindowVisible(about); }));
    }

    // A routine dropped as a person drops it: the connection opened with a click and the Right key,
    // its first folder (the stored procedures) clicked, the routine's row right-clicked, the drop
    // item chosen from the popup menu and the engine's question answered Yes; the row then goes.
    void dropARoutine() {
        HWND tree = descendantOfClass(view_, L"SysTreeView32");
        HWND list = descendantOfClass(view_, L"SysListView32");
        const std::string routine = "GET_STOCK";
        std::string drop;
        callOnIde(frame_, [&] { drop = engineText(420); });
        // The tree's items are found again by their texts each time: the view may rebuild them.
        const std::string database = expected_.databases.front();
        auto project = [&] { return rootOf(tree); };
        auto connection = [&] { return childNamed(tree, project(), database); };
        const bool opened = open(tree, project, expected_.name) && open(tree, connection, database);
        const std::string folder = opened ? itemText(tree, firstChild(tree, connection())) : "";
        check("clicks and the Right key open the project and its connection " + database, opened && !folder.empty());
        if (folder.empty() || !clickItem(tree, firstChild(tree, connection()), folder)) return;
        const int row = waitFor(5000, [&] { return rowOf(list, routine) + 1; }) - 1;
        check("a click on its first folder lists " + routine, row >= 0, "rows: " + joined(rows(list)));
        if (row < 0) return;
        tabBetween(tree, list);
        const size_t before = rows(list).size();
        std::string question;
        std::atomic<bool> answered{false};
        std::thread menu = winviews::chooseFromNextPopup(com::wideFromUtf8(drop));
        std::thread box = winviews::answerNextMessageBox(com::wideFromUtf8(drop), IDYES, question, answered);
        RECT r{LVIR_LABEL, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
        winviews::click(winviews::centreOf(r), 3);
        menu.join();
        box.join();
        seen("question: " + question);
        check("the engine asks before it drops, in a box titled as the menu item", answered && question.find(routine) != std::string::npos,
              question);
        const bool gone = waitFor(5000, [&] { return rowOf(list, routine) < 0 && rows(list).size() == before - 1; });
        check("after Yes the row goes from the list", gone, "rows: " + joined(rows(list)));
        // The engine may report what it did in a message of its own, which the person reads and closes.
        if (HWND report = waitFor(3000, [&] { return messageBox(); })) {
            Sleep(200);
            seen("the engine's report: " + joined(childTexts(report)));
            PostMessageW(report, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(report, IDOK)));
            check("the person's OK closes the engine's report", waitFor(5000, [&] { return !IsWindow(report); }));
        }
    }

    // Tab and Shift+Tab move between the tree and the list, as in a dialog, although this IDE's
    // loop never hands the document its keys.
    void tabBetween(HWND tree, HWND list) {
        auto focusIs = [this](HWND window) {
            return waitFor(3000, [&] {
                GUITHREADINFO info{};
                info.cbSize = sizeof info;
                return GetGUIThreadInfo(ideThread_, &info) && info.hwndFocus == window;
            });
        };
        const bool onTree = focusIs(tree);
        winviews::key("Tab");
        const bool onList = focusIs(list);
        winviews::key("shift+Tab");
        const bool backOnTree = focusIs(tree);
        check("Tab moves from the tree to the list and Shift+Tab back", onTree && onList && backOnTree,
              std::string("tree ") + (onTree ? "yes" : "no") + ", list " + (onList ? "yes" : "no") + ", back " +
                  (backOnTree ? "yes" : "no"));
    }

    static HTREEITEM next(HWND tree, UINT how, HTREEITEM from) {
        return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    }
    static HTREEITEM rootOf(HWND tree) { return next(tree, TVGN_ROOT, nullptr); }
    static HTREEITEM firstChild(HWND tree, HTREEITEM item) { return next(tree, TVGN_CHILD, item); }
    static HTREEITEM childNamed(HWND tree, HTREEITEM parent, const std::string& text) {
        for (HTREEITEM c = firstChild(tree, parent); c != nullptr; c = next(tree, TVGN_NEXT, c))
            if (itemText(tree, c) == text) return c;
        return nullptr;
    }
    static UINT itemState(HWND tree, HTREEITEM item) {
        return static_cast<UINT>(SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED));
    }
    // Selects the item with a click and opens it with the Right key, as a person opens a node.
    template <class Item>
    static bool open(HWND tree, Item item, const std::string& text) {
        if (!clickItem(tree, item(), text)) return false;
        if (!(itemState(tree, item()) & TVIS_EXPANDED)) winviews::key("Right");
        return waitFor(5000, [&] { return (itemState(tree, item()) & TVIS_EXPANDED) != 0; });
    }

    // Clicks the item's label and waits until the tree has selected an item of that text.
    static bool clickItem(HWND tree, HTREEITEM item, const std::string& text) {
        if (item == nullptr) return false;
        RECT r{};
        std::memcpy(&r, &item, sizeof item);  // the message takes the item in the rectangle it fills
        if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) return false;
        MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&r), 2);
        winviews::click(winviews::centreOf(r));
        return waitFor(5000, [&] { return itemText(tree, next(tree, TVGN_CARET, nullptr)) == text; });
    }
    static std::vector<std::string> rows(HWND list) {
        std::vector<std::string> out;
        const auto count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[260] = {};
            LVITEMW item{};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = 259;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            out.push_back(narrow(text));
        }
        return out;
    }
    static int rowOf(HWND list, const std::string& text) {
        const auto all = rows(list);
        const auto at = std::find(all.begin(), all.end(), text);
        return at == all.end() ? -1 : static_cast<int>(at - all.begin());
    }

    std::string engineText(int32_t id) {
        auto fn = reinterpret_cast<decltype(&::WKGetString)>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"nimbvsadd.dll"), "WKGetString")));
        char text[512] = {};
        if (fn) fn(id, text, sizeof text - 1);
        return text;
    }

    HWND frame_;
    DWORD ideThread_;
    wintest::BareIde& ide_;
    EngineProject expected_;
    std::string pictures_;
    HMODULE addin_ = nullptr;
    HWND view_ = nullptr;  // the tool window showing the server view
    ULONGLONG shownAt_ = 0;
};

std::string engineJournal() {
    auto fn = reinterpret_cast<decltype(&::WKSI_GetJournal)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"nimbvsadd.dll"), "WKSI_GetJournal")));
    if (!fn) return "";
    std::string journal(static_cast<size_t>(std::max(fn(nullptr, 0), 0)) + 1, '\0');
    fn(journal.data(), static_cast<int32_t>(journal.size()));
    journal.resize(journal.find('\0'));
    return journal;
}

// Whether a line starting with b comes after a line starting with a in the journal.
bool inOrder(const std::string& journal, const std::string& a, const std::string& b) {
    const auto first = journal.find(a);
    return first != std::string::npos && journal.find(b, first) != std::string::npos;
}

} // namespace

// The class an object names through IProvideClassInfo, or GUID_NULL.
GUID classOf(IUnknown* object) {
    com::ComPtr<IProvideClassInfo> provider;
    com::ComPtr<ITypeInfo> info;
    TYPEATTR* attr = nullptr;
    GUID named = GUID_NULL;
    if (object && SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&provider))) &&
        SUCCEEDED(provider->GetClassInfo(info.GetAddressOf())) && SUCCEEDED(info->GetTypeAttr(&attr))) {
        if (attr->typekind == TKIND_COCLASS) named = attr->guid;
        info->ReleaseTypeAttr(attr);
    }
    return named;
}

std::string takeText(BSTR text) {
    const std::string result = com::utf8FromBstr(text);
    SysFreeString(text);
    return result;
}

bool sameObject(IUnknown* a, IUnknown* b) {
    com::ComPtr<IUnknown> first, second;
    return a && b && SUCCEEDED(a->QueryInterface(IID_PPV_ARGS(&first))) &&
           SUCCEEDED(b->QueryInterface(IID_PPV_ARGS(&second))) && first == second;
}

// What another add-in or a VB program reaches through the tool window's document once the add-in
// runs: its integration manager and the model service, the same early bound through the library's
// vtables and late bound by name, each naming its class.
void managerOverCom(wintest::BareIde& ide, const std::string& engineProject) {
    const auto windows = ide.toolWindows();
    com::ComPtr<_serverViewDoc> doc;
    if (!windows.empty() && windows.front().document) windows.front().document.As(&doc);
    com::ComPtr<_IntegrationMgr> manager;
    if (doc) doc->get_IMgr(manager.GetAddressOf());
    check("the tool window's document hands out its IntegrationMgr", manager != nullptr);
    if (!manager) return;
    const com::Dispatch late = com::Dispatch(windows.front().document.Get()).get("IMgr").toObject();
    BSTR file = nullptr;
    LONG ideType = 0;
    const std::string early = SUCCEEDED(manager->getWKFileName(&file)) ? takeText(file) : "failed";
    manager->get_getIdeType(&ideType);
    const std::string lateFile = late.get("getWKFileName").toString();
    const int32_t lateType = late.get("getIdeType").toLong();
    check("IntegrationMgr answers the same early and late bound: the engine project, IDE type 1; class IntegrationMgr",
          early == engineProject && lateFile == early && ideType == 1 && lateType == 1 &&
              classOf(manager.Get()) == __uuidof(IntegrationMgr) && classOf(late.get()) == __uuidof(IntegrationMgr),
          early + " / " + lateFile + ", " + std::to_string(ideType) + " / " + std::to_string(lateType));

    com::ComPtr<_ModelUtil> model;
    com::ComPtr<_ModelUtilVB> modelVB;
    com::ComPtr<IDispatch> instance;
    BSTR project = nullptr, language = nullptr;
    const bool reached = SUCCEEDED(manager->get_getModel(model.GetAddressOf())) && model &&
                         SUCCEEDED(model.As(&modelVB)) && SUCCEEDED(modelVB->get_VBInstance(instance.GetAddressOf()));
    const std::string active = reached && SUCCEEDED(model->getActiveProjName(&project)) ? takeText(project) : "failed";
    const std::string devLanguage = reached && SUCCEEDED(model->GetDevLanguage(&language)) ? takeText(language) : "";
    const com::Dispatch lateModel = late.get("getModel").toObject();
    const com::Dispatch lateInstance = lateModel ? lateModel.get("VBInstance").toObject() : com::Dispatch();
    check("getModel hands out ModelUtilVB both ways: VBInstance is this IDE's VBE, the active project Inventory, "
          "language 2",
          reached && sameObject(instance.Get(), ide.vbe()) && sameObject(lateInstance.get(), ide.vbe()) &&
              active == "Inventory" && devLanguage == "2" && classOf(model.Get()) == __uuidof(ModelUtilVB) &&
              classOf(lateModel.get()) == __uuidof(ModelUtilVB),
          active + ", " + devLanguage);

    // Another's object as the manager is refused, and the document keeps its own.
    const HRESULT refused = doc->putref_IMgr(reinterpret_cast<_IntegrationMgr*>(ide.addIn()));
    com::ComPtr<_IntegrationMgr> kept;
    BSTR keptFile = nullptr;
    const bool keeps = SUCCEEDED(doc->get_IMgr(kept.GetAddressOf())) && kept &&
                       SUCCEEDED(kept->getWKFileName(&keptFile)) && takeText(keptFile) == engineProject;
    check("an object not of this add-in is refused as IMgr (VB error 13), and the document keeps its manager",
          refused == static_cast<HRESULT>(0x800A000D) && keeps, std::to_string(refused));
}

// A line of the add-in's OLE log that begins with start and records success.
bool loggedAnswered(const std::string& file, const std::string& start) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(start, 0) == 0 && line.ends_with("-> 0x00000000")) return true;
    }
    return false;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::printf("usage: bareide MODULE ENGINE_PROJECT PICTURES_DIR\nbare-ide: 0 passed, 1 failed\n");
        return 2;
    }
    const std::wstring module = argv[1];
    const std::string engineProject = narrow(argv[2]);
    const std::string pictures = narrow(argv[3]);
    // Whatever goes wrong, the run ends with its result line: a box nobody answers would otherwise
    // keep the IDE's thread in its modal loop for good.
    std::thread([] {
        Sleep(150000);
        check("the run ends within 150 s", false);
        std::printf("bare-ide: %d passed, %d failed\n", passed, failed);
        std::fflush(stdout);
        ExitProcess(1);
    }).detach();
    OleInitialize(nullptr);
    HWND frame = makeMainWindow();
    check("the IDE's main window is on the screen", frame != nullptr);
    if (frame == nullptr) return 1;
    pumpFor(200);

    check("regsvr32 registers the module", runProgram(L"regsvr32.exe /s \"" + module + L"\""));
    CLSID clsid{};
    com::ComPtr<IDTExtensibility2> addin;
    HRESULT hr = CLSIDFromProgID(L"nimbvbadd.Connect", &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDTExtensibility2),
                              reinterpret_cast<void**>(addin.GetAddressOf()));
    check("nimbvbadd.Connect is created by its ProgID", SUCCEEDED(hr), std::to_string(hr));
    HMODULE addinModule = GetModuleHandleW(L"nimbvbadd.dll");
    check("the module shares no runtime library with this IDE",
          addinModule && !GetModuleHandleW(L"libnimbplatform.dll") && !GetModuleHandleW(L"libstdc++-6.dll"));

    const std::string folder = engineProject.substr(0, engineProject.find_last_of('\\'));
    {
        wintest::BareIde ide(frame, {"Inventory", folder + "\\Inventory.vbp", engineProject});
        if (addin) {
            // Switched on as for the one-time check in a real IDE.
            const std::string oleLog = folder + "\\ole.log";
            SetEnvironmentVariableW(L"NIMB_OLE_LOG", com::wideFromUtf8(oleLog).c_str());
            SAFEARRAY* custom = nullptr;
            hr = addin->OnConnection(ide.vbe(), ext_cm_AfterStartup, ide.addIn(), &custom);
            check("OnConnection", hr == S_OK, std::to_string(hr));
            pumpFor(200);
            check("connecting shows no window of the add-in", [&] {
                for (HWND w : windowsOf(GetCurrentThreadId(), false))
                    if (IsWindowVisible(w) && ofModule(w, addinModule)) return false;
                return true;
            }());

            Person person(frame, GetCurrentThreadId(), ide, readEngineProject(engineProject), pictures);
            std::thread watcher([&] { person.run(addinModule); });
            std::string entry;
            for (const auto& c : ide.controls())
                if (c.bar == "&Add-Ins") entry = c.caption;
            person.clickedAt = GetTickCount64();
            check("the Add-Ins entry's click reaches the add-in", ide.click(entry) == S_OK, "entry \"" + entry + "\"");
            // The start runs inside the click, processing no messages: how much of the wait for the
            // server view it is.
            seen("the click's handler (the start) returned after " + std::to_string(GetTickCount64() - person.clickedAt) +
                 " ms");
            // Each of the person's waits has a limit of its own; together well under this one.
            const ULONGLONG limit = GetTickCount64() + 90000;
            while (!person.done && GetTickCount64() < limit) pumpFor(50);
            if (!person.done) {
                check("the person is done within 90 s", false);
                std::printf("bare-ide: %d passed, %d failed\n", passed, failed);
                std::fflush(stdout);
                ExitProcess(1);
            }
            watcher.join();

            const std::string journal = engineJournal();
            const bool reached = journal.find("WKLaunchNIMBTool(5)\n") != std::string::npos &&
                                 inOrder(journal, "WKObjectDoAction(", "WKButtonDoAction(\"User response\", 6)");
            const std::string tail = journal.size() > 400 ? journal.substr(journal.size() - 400) : journal;
            check("the engine started the tool, and the person's Yes reached it after the drop", reached,
                  reached ? "" : tail);

            managerOverCom(ide, engineProject);
            check("NIMB_OLE_LOG records the event subscriptions: the click and file events found and advised",
                  loggedAnswered(oleLog, "FindConnectionPoint {0002E131-0000-0000-C000-000000000046}") &&
                      loggedAnswered(oleLog, "Advise on {0002E131-0000-0000-C000-000000000046}") &&
                      loggedAnswered(oleLog, "FindConnectionPoint {0002E141-0000-0000-C000-000000000046}") &&
                      loggedAnswered(oleLog, "Advise on {0002E141-0000-0000-C000-000000000046}"));
            hr = addin->OnDisconnection(ext_dm_UserClosed, &custom);
            check("OnDisconnection", hr == S_OK, std::to_string(hr));
            check("every toolbar and control of the add-in is deleted",
                  ide.toolbars().empty() && ide.controls().size() == 4,
                  std::to_string(ide.toolbars().size()) + " toolbars, " + std::to_string(ide.controls().size()) +
                      " controls");
            seen("IDE objects the add-in holds after OnDisconnection: " + ide.referencesHeldByOthers());
            ide.closeToolWindows();
            const int timers = pumpFor(600, addinModule);
            seen("IDE objects the add-in holds once its tool window is closed: " + ide.referencesHeldByOthers());
            std::vector<std::string> left;
            for (HWND w : windowsOf(GetCurrentThreadId(), true))
                if (ofModule(w, addinModule)) left.push_back(classOf(w) + " \"" + textOf(w) + "\"");
            check("no window of the add-in is left", left.empty(), joined(left));
            check("no timer calls into the add-in", timers == 0, std::to_string(timers) + " timer messages");
            addin.Reset();
        }
        pumpFor(100);
        check("the add-in holds none of the IDE's objects", ide.referencesHeldByOthers().empty(),
              ide.referencesHeldByOthers());
    }
    CoFreeUnusedLibrariesEx(0, 0);
    check("the module and its engine unload",
          GetModuleHandleW(L"nimbvbadd.dll") == nullptr && GetModuleHandleW(L"nimbvsadd.dll") == nullptr);
    check("regsvr32 /u unregisters the module", runProgram(L"regsvr32.exe /u /s \"" + module + L"\""));
    DestroyWindow(frame);
    OleUninitialize();
    std::printf("bare-ide: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}

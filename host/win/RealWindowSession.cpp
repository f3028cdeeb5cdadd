// The real-windows mode on Windows (host/RealWindows.h). This file holds only Win32 code.
#include "RealWindows.h"

#include "HostError.h"
#include "HostUser.h"
#include "IdeFrame.h"
#include "Machine.h"
#include "WindowPicture.h"

#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/sim/com/ToolWindowSite.h"
#include "platform/ui/Form.h"
#include "platform/ui/Forms.h"
#include "platform/win/com/Bstr.h"

#include <fmt/format.h>

#include <windows.h>

#include <cctype>
#include <filesystem>
#include <iostream>
#include <set>

namespace host {

namespace {

// Commands after which the screen shows nothing new: no picture for them.
bool changesView(const std::string& command) {
    static const std::set<std::string> quiet = {"echo", "answer", "choose", "show", "dump", "save", "help",
                                                "quit", "addins", "lastpath", "property", "fail", "engine", "screenshot"};
    return quiet.count(command) == 0;
}

// A command as part of a file name: its words joined by '-', only letters, digits and '-'.
std::string fileNamePart(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& word : words) {
        if (!out.empty()) out += '-';
        for (char c : word) out += std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
    }
    if (out.size() > 60) out.resize(60);
    while (!out.empty() && out.back() == '-') out.pop_back();
    return out;
}

std::string captionOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return com::utf8FromWide(text);
}

// The visible windows of this thread captioned caption: top-level ones and those inside the IDE's.
struct CaptionSearch {
    std::string caption;
    HWND found = nullptr;
    static BOOL CALLBACK visit(HWND window, LPARAM self) {
        auto& search = *reinterpret_cast<CaptionSearch*>(self);
        if (!IsWindowVisible(window) || captionOf(window) != search.caption) return TRUE;
        search.found = window;
        return FALSE;
    }
};

class RealWindowSession final : public RealWindows {
public:
    RealWindowSession(Machine& machine, HostUser& user, const std::string& shotsFolder)
        : ide_(machine.ide()), user_(user), frame_(machine.ide(), winui::Dpi::screen()), shots_(shotsFolder) {
        if (!shots_.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(shots_, ec);
            if (ec) throw HostError("cannot make the pictures' folder " + shotsFolder + ": " + ec.message());
        }
        user_.onModal([this](ui::Form& form) { modalShown(form.Name()); });
        simcom::enableRealToolWindows(frame_.hwnd());
        pump(false);
    }

    ~RealWindowSession() override { user_.onModal(nullptr); }

    void beforeCommand() override { pump(false); }

    void afterCommand(const std::vector<std::string>& words) override {
        frame_.update();
        const bool picture = !shots_.empty() && !words.empty() && changesView(words[0]);
        pump(picture);
        if (picture) takePicture(fileNamePart(words));
    }

    std::string screenshot(const std::string& file, const std::string& what, const std::string& name) override {
        frame_.update();
        HWND window = windowFor(what, name);
        if (what == "form") SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        pump(true);
        return writeScreenPicture(screenRectOf(window), file);
    }

private:
    // Runs the message loop until nothing waits. Before a picture it runs a few more rounds with
    // pauses: the system copies what windows painted to the screen on its own time.
    void pump(bool forPicture) {
        const int rounds = forPicture ? 4 : 1;
        for (int round = 0; round < rounds; ++round) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (simcom::offerToolWindowKey(msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            RedrawWindow(frame_.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            if (forPicture) Sleep(40);
        }
    }

    HWND windowFor(const std::string& what, const std::string& name) {
        if (what == "ide") return frame_.hwnd();
        if (what == "form") return formWindow(name);
        if (what == "toolwindow") return toolWindow(name);
        throw HostError("screenshot takes ide, toolwindow [CAPTION] or form NAME, not " + what);
    }

    // The add-in shows its forms itself: a loaded form is found on the screen by its caption, as a
    // person finds it.
    HWND formWindow(const std::string& name) {
        auto form = ui::Forms::find(name);
        if (!form) throw HostError("no form named " + name + " is loaded");
        CaptionSearch search{form->Caption()};
        EnumThreadWindows(GetCurrentThreadId(), &CaptionSearch::visit, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) throw HostError("the form " + name + " is not shown");
        return search.found;
    }

    HWND toolWindow(const std::string& caption) {
        std::string wanted = caption;
        if (wanted.empty()) {
            std::vector<std::string> visible;
            for (const auto& w : ide_.toolWindows())
                if (w->visible()) visible.push_back(w->caption());
            if (visible.size() != 1)
                throw HostError(visible.empty() ? "no tool window is visible" : "more than one tool window is visible: name its caption");
            wanted = visible.front();
        }
        CaptionSearch search{wanted};
        EnumThreadWindows(GetCurrentThreadId(), &CaptionSearch::visit, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) EnumChildWindows(frame_.hwnd(), &CaptionSearch::visit, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) throw HostError("no window shows the tool window \"" + wanted + "\"");
        return search.found;
    }

    // What this program shows on the screen: every visible top-level window of it together.
    RECT shownArea() const {
        RECT area = screenRectOf(frame_.hwnd());
        EnumThreadWindows(GetCurrentThreadId(), &addShown, reinterpret_cast<LPARAM>(&area));
        return area;
    }

    static BOOL CALLBACK addShown(HWND window, LPARAM area) {
        if (IsWindowVisible(window)) {
            RECT r = screenRectOf(window);
            UnionRect(reinterpret_cast<RECT*>(area), reinterpret_cast<RECT*>(area), &r);
        }
        return TRUE;
    }

    // Pictures never change the transcript: a failure is told on the error stream.
    void takePicture(const std::string& label) {
        const auto file = shots_ / fmt::format("{:02}-{}.png", ++pictures_, label);
        try {
            writeScreenPicture(shownArea(), file);
        } catch (const std::exception& e) {
            std::cerr << "nimbide: " << e.what() << '\n';
        }
    }

    // The add-in shows the dialog; the script answers it meanwhile.
    void modalShown(const std::string& name) {
        pump(!shots_.empty());
        if (!shots_.empty()) takePicture("dialog-" + fileNamePart({name}));
    }

    const sim::SimVBE& ide_;
    HostUser& user_;
    IdeFrame frame_;
    std::filesystem::path shots_;
    int pictures_ = 0;
};

} // namespace

std::unique_ptr<RealWindows> startRealWindows(Machine& machine, HostUser& user, const std::string& shotsFolder) {
    return std::make_unique<RealWindowSession>(machine, user, shotsFolder);
}

} // namespace host

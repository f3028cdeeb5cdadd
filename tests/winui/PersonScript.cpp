// This file holds only Win32 code.
#include "PersonScript.h"

#include "platform/win/com/Bstr.h"

#include <cstdio>
#include <vector>

namespace winviews {

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

POINT centreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void click(POINT at, int button) {
    say("CLICK " + std::to_string(at.x) + " " + std::to_string(at.y) + " " + std::to_string(button));
}

void doubleClick(POINT at) { say("DCLICK " + std::to_string(at.x) + " " + std::to_string(at.y)); }

void key(const std::string& keysym) {
    say("KEY " + keysym);
}

void drag(POINT from, POINT to) {
    say("DRAG " + std::to_string(from.x) + " " + std::to_string(from.y) + " " + std::to_string(to.x) + " " +
        std::to_string(to.y));
}

namespace {

// Polls for a visible top-level window of that class (and title, when given) for up to 10 s.
HWND waitForWindow(const wchar_t* cls, const wchar_t* title) {
    for (int i = 0; i < 200; ++i) {
        HWND found = FindWindowW(cls, title);
        if (found != nullptr && IsWindowVisible(found)) return found;
        Sleep(50);
    }
    return nullptr;
}

std::wstring textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

std::thread chooseFromNextPopup(std::wstring caption) {
    return std::thread([caption] {
        HWND popup = waitForWindow(L"#32768", nullptr);
        if (popup == nullptr) return say("NOTE no popup menu appeared");
        Sleep(200);  // let it finish opening
        auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 255, MF_BYPOSITION);
            if (caption != text) continue;
            RECT r{};
            if (GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r)) return click(centreOf(r));
        }
        say("NOTE the popup menu has no item " + com::utf8FromWide(caption));
        say("KEY Escape");
    });
}

std::thread answerNextMessageBox(std::wstring title, int buttonId, std::string& seen, std::atomic<bool>& answered) {
    return std::thread([title, buttonId, &seen, &answered] {
        HWND box = waitForWindow(L"#32770", title.c_str());
        if (box == nullptr) return say("NOTE no message box titled " + com::utf8FromWide(title));
        Sleep(200);
        std::vector<std::wstring> buttons;
        std::wstring prompt;
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t cls[32] = {};
            GetClassNameW(child, cls, 31);
            if (std::wstring(cls) == L"Button") buttons.push_back(textOf(child));
            else if (std::wstring(cls) == L"Static" && !textOf(child).empty()) prompt = textOf(child);
        }
        seen = com::utf8FromWide(prompt) + " |";
        for (const auto& b : buttons) seen += " [" + com::utf8FromWide(b) + "]";
        HWND button = GetDlgItem(box, buttonId);
        RECT r{};
        if (button == nullptr || !GetWindowRect(button, &r)) {
            say("NOTE the message box has no such button: " + seen);
            say("KEY Escape");
        } else {
            click(centreOf(r));
        }
        answered = true;
    });
}

std::thread fillNextDialog(std::wstring title, std::string text, std::wstring button, std::atomic<bool>& answered) {
    return std::thread([title, text, button, &answered] {
        HWND dialog = waitForWindow(nullptr, title.c_str());
        if (dialog == nullptr) {
            say("NOTE no dialog titled " + com::utf8FromWide(title));
            answered = true;
            return;
        }
        Sleep(300);
        HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        HWND ok = FindWindowExW(dialog, nullptr, L"Button", button.c_str());
        RECT r{};
        if (edit != nullptr && GetWindowRect(edit, &r)) {
            click(centreOf(r));
            say("KEY ctrl+a");
            say("TYPE " + text);
        }
        if (ok != nullptr && GetWindowRect(ok, &r)) click(centreOf(r));
        else say("NOTE the dialog has no button " + com::utf8FromWide(button));
        answered = true;
    });
}

} // namespace winviews

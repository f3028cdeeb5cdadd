// This file holds only Win32 code.
#include "PersonScript.h"

#include "platform/win/com/Bstr.h"

#include <dlgs.h>

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

namespace {

// The descriptions in a file dialog's file-type list, each followed by "; ".
std::string fileTypesOf(HWND dialog) {
    HWND types = GetDlgItem(dialog, cmb1);
    std::string shown;
    const auto count = types != nullptr ? SendMessageW(types, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(types, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        shown += com::utf8FromWide(text.c_str()) + "; ";
    }
    return shown;
}

// The file name box: the dialog's one visible edit box, directly in the dialog or inside its file
// name combo box (the folder list has none).
HWND fileNameBoxOf(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND hwnd, LPARAM into) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 15);
            if (std::wstring(cls) != L"Edit" || !IsWindowVisible(hwnd))
                return TRUE;
            *reinterpret_cast<HWND*>(into) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Polls for up to 10 s for a visible dialog with a file-type list (other dialogs, hidden ones
// among them, may come first in the windows' order).
HWND waitForFileDialog() {
    for (int i = 0; i < 200; ++i) {
        HWND found = nullptr;
        EnumWindows(
            [](HWND hwnd, LPARAM into) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(hwnd, cls, 15);
                if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd) || !GetDlgItem(hwnd, cmb1))
                    return TRUE;
                *reinterpret_cast<HWND*>(into) = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (found != nullptr)
            return found;
        Sleep(50);
    }
    return nullptr;
}

} // namespace

std::thread fillNextFileDialog(std::string text, std::string& seen, std::atomic<bool>& answered) {
    return std::thread([text, &seen, &answered] {
        HWND dialog = waitForFileDialog();
        if (dialog == nullptr) {
            say("NOTE no file dialog appeared");
            answered = true;
            return;
        }
        Sleep(300);
        seen = com::utf8FromWide(textOf(dialog)) + " | " + fileTypesOf(dialog);
        HWND name = fileNameBoxOf(dialog);
        HWND ok = GetDlgItem(dialog, IDOK);
        RECT r{};
        if (name != nullptr && GetWindowRect(name, &r)) {
            click(centreOf(r));
            say("KEY End");
            say("KEY shift+Home");
            say("TYPE " + text);
        }
        if (ok != nullptr && GetWindowRect(ok, &r)) {
            click(centreOf(r));
        } else {
            say("NOTE the file dialog has no OK button");
            say("KEY Escape");
        }
        answered = true;
    });
}

} // namespace winviews

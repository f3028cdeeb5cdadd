// This file holds only Win32 code.
#include "platform/win/ui/Win32User.h"

#include "platform/error.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menu.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/ui/WindowRenderer.h"

#include <commdlg.h>

#include <cstdio>
#include <vector>

namespace winui {

namespace {

std::wstring wide(const std::string& s) { return com::wideFromUtf8(s); }

// A VB filter "Text (*.txt)|*.txt|All (*.*)|*.*" as the dialog's pairs: NUL-separated, two NULs
// at the end.
std::wstring filterPairs(const std::string& filter) {
    std::wstring pairs = wide(filter);
    for (auto& c : pairs)
        if (c == L'|') c = L'\0';
    pairs.push_back(L'\0');
    pairs.push_back(L'\0');
    return pairs;
}

} // namespace

Win32User::Win32User(WindowRenderer& renderer, HWND owner, std::string defaultTitle)
    : renderer_(renderer), owner_(owner), defaultTitle_(std::move(defaultTitle)) {}

HWND Win32User::activeOwner() const {
    HWND active = GetActiveWindow();
    return active != nullptr ? active : owner_;
}

int32_t Win32User::msgBox(const std::string& prompt, int32_t style, const std::string& title) {
    const std::wstring text = wide(prompt);
    const std::wstring caption = wide(title.empty() ? defaultTitle_ : title);
    const int answer = MessageBoxW(activeOwner(), text.c_str(), caption.c_str(), static_cast<UINT>(style));
    // A box that could not be shown commits to nothing.
    return answer == 0 ? ui::safestResult(style) : answer;
}

bool Win32User::pumpOne(WindowRenderer& renderer) {
    MSG msg;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return false;
    if (!renderer.preTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void Win32User::showModal(ui::Form& form) {
    HWND owner = activeOwner();
    HWND window = renderer_.realize(form, owner);
    if (window == nullptr) {  // no window to show: the person closes it at once
        form.closeBox();
        return;
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    if (owner != nullptr) EnableWindow(owner, FALSE);
    auto held = form.shared_from_this();  // the form may be unloaded and released from the loop
    bool running = true;
    while (running && form.Loaded() && form.Visible()) running = pumpOne(renderer_);
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (!running) {
        PostQuitMessage(0);  // the quit belongs to the outer loop
        if (form.Loaded() && form.Visible()) form.closeBox();
    }
}

HMENU buildPopup(ui::Menu& menu, std::vector<ui::Menu*>& choices) {
    HMENU popup = CreatePopupMenu();
    for (const auto& item : menu.items()) {
        if (!item->Visible()) continue;
        if (item->isSeparator()) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::wstring caption = wide(item->Caption());
        UINT flags = MF_STRING | (item->Enabled() ? MF_ENABLED : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
        if (!item->items().empty()) {
            HMENU sub = buildPopup(*item, choices);
            AppendMenuW(popup, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
            continue;
        }
        choices.push_back(item.get());
        AppendMenuW(popup, flags, choices.size(), caption.c_str());
    }
    return popup;
}

ui::Menu* Win32User::popupMenu(ui::Menu& menu, int32_t, int32_t) {
    // The model's point is in its own twips layout; a real popup opens where the person clicked.
    std::vector<ui::Menu*> choices;
    HMENU popup = buildPopup(menu, choices);
    const DWORD pos = GetMessagePos();
    HWND owner = activeOwner();
    const auto chosen = static_cast<std::size_t>(TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                                  static_cast<short>(LOWORD(pos)),
                                                                  static_cast<short>(HIWORD(pos)), owner, nullptr));
    DestroyMenu(popup);
    return chosen >= 1 && chosen <= choices.size() ? choices[chosen - 1] : nullptr;
}

std::optional<std::string> Win32User::fileDialog(ui::CommonDialog& dialog, ui::FileDialogMode mode) {
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring start = wide(dialog.FileName());
    start.copy(file.data(), std::min(start.size(), file.size() - 1));
    const std::wstring filter = filterPairs(dialog.Filter());
    const std::wstring title = wide(dialog.DialogTitle());
    const std::wstring initDir = wide(dialog.InitDir());
    const std::wstring ext = wide(dialog.DefaultExt());
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = activeOwner();
    ofn.lpstrFilter = dialog.Filter().empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(dialog.FilterIndex());
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initDir.empty() ? nullptr : initDir.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = static_cast<DWORD>(dialog.Flags()) | OFN_EXPLORER;
    const BOOL chosen = mode == ui::FileDialogMode::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (chosen) return com::utf8FromWide(file.data());
    // Only a person's Cancel is a cancel: a dialog that could not be shown (a bad starting file
    // name, no resources) is an error of its own, which callers that trap only Cancel do not take
    // for one. Its number is the common dialog's own error code.
    if (const DWORD failure = CommDlgExtendedError()) {
        char text[80];
        std::snprintf(text, sizeof text, "The file dialog could not be shown (common dialog error 0x%lx).",
                      static_cast<unsigned long>(failure));
        throw vb::VBError(static_cast<int32_t>(failure), text);
    }
    return std::nullopt;
}

} // namespace winui

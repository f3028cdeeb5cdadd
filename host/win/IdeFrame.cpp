// This file holds only Win32 code.
#include "IdeFrame.h"

#include "HostError.h"

#include "platform/sim/SimCommandBar.h"
#include "platform/sim/SimCommandBarControl.h"
#include "platform/sim/SimCommandBarControls.h"
#include "platform/sim/SimCommandBars.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/vbide/Constants.h"
#include "platform/win/com/Bstr.h"

#include <cstdint>
#include <vector>

namespace host {

namespace {

constexpr wchar_t kFrameClass[] = L"NimbIdeFrame";
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

void registerClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW frame{};
    frame.cbSize = sizeof(frame);
    frame.lpfnWndProc = DefWindowProcW;
    frame.hInstance = GetModuleHandleW(nullptr);
    frame.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    frame.lpszClassName = kFrameClass;
    done = RegisterClassExW(&frame) != 0;
}

using Controls = std::vector<std::shared_ptr<sim::SimCommandBarControl>>;

bool shownIn(const sim::SimCommandBarControl& c) { return !c.deleted() && c.visible(); }

// A text that changes whenever what the menus show changes.
void describe(const Controls& controls, std::string& out) {
    for (const auto& c : controls) {
        if (!shownIn(*c)) continue;
        out += c->caption() + (c->enabled() ? "|" : "~|") + (c->beginGroup() ? "-" : "");
        if (c->controls()) {
            out += '{';
            describe(c->controls()->controls(), out);
            out += '}';
        }
    }
}

HMENU buildMenu(const Controls& controls, bool bar, UINT& nextId) {
    HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
    bool first = true;
    for (const auto& c : controls) {
        if (!shownIn(*c)) continue;
        if (c->beginGroup() && !first && !bar) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        first = false;
        const std::wstring caption = com::wideFromUtf8(c->caption());
        const UINT state = c->enabled() ? MF_ENABLED : MF_GRAYED;
        if (c->type() == vbide::msoControlPopup && c->controls())
            AppendMenuW(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(buildMenu(c->controls()->controls(), false, nextId)),
                        caption.c_str());
        else
            AppendMenuW(menu, MF_STRING | state, nextId++, caption.c_str());
    }
    return menu;
}

} // namespace

IdeFrame::IdeFrame(const sim::SimVBE& ide, const winui::Dpi& dpi) : ide_(ide), dpi_(dpi), gdi_(dpi) {
    registerClass();
    const auto& main = *ide.mainWindow();
    hwnd_ = CreateWindowExW(0, kFrameClass, com::wideFromUtf8(main.caption()).c_str(), kFrameStyle, 0, 0,
                            dpi_.pixelsX(main.width()), dpi_.pixelsY(main.height()), nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) throw HostError("cannot make the IDE's main window (error " + std::to_string(GetLastError()) + ")");
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&proc));
    update();
    ShowWindow(hwnd_, SW_SHOW);
}

IdeFrame::~IdeFrame() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);  // its menu bar and toolbar go with it
    if (faces_ != nullptr) ImageList_Destroy(faces_);
}

LRESULT CALLBACK IdeFrame::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) return 0;  // the IDE ends with the script, not with its window
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void IdeFrame::update() {
    const auto& main = *ide_.mainWindow();
    SetWindowTextW(hwnd_, com::wideFromUtf8(main.caption()).c_str());
    SetWindowPos(hwnd_, nullptr, 0, 0, dpi_.pixelsX(main.width()), dpi_.pixelsY(main.height()),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    updateMenu();
    updateToolbar();
}

void IdeFrame::updateMenu() {
    auto bar = ide_.commandBars()->bar("Menu Bar");
    std::string shape;
    if (bar && !bar->deleted()) describe(bar->controls()->controls(), shape);
    if (shape == menuShown_ && GetMenu(hwnd_) != nullptr) return;
    menuShown_ = shape;
    UINT nextId = 1;
    HMENU menu = bar && !bar->deleted() ? buildMenu(bar->controls()->controls(), true, nextId) : nullptr;
    HMENU old = GetMenu(hwnd_);
    SetMenu(hwnd_, menu);
    if (old != nullptr) DestroyMenu(old);
    DrawMenuBar(hwnd_);
}

void IdeFrame::updateToolbar() {
    std::vector<const sim::SimCommandBarControl*> buttons;  // null: a gap between two bars
    std::string shape;
    for (const auto& bar : ide_.commandBars()->bars()) {
        if (bar->deleted() || !bar->visible() || bar->name() == "Menu Bar") continue;
        bool first = true;
        for (const auto& c : bar->controls()->controls()) {
            if (!shownIn(*c)) continue;
            if (first && !buttons.empty()) buttons.push_back(nullptr);
            first = false;
            buttons.push_back(c.get());
            shape += c->caption() + (c->enabled() ? "|" : "~|") + std::to_string(reinterpret_cast<uintptr_t>(c->face().get()));
        }
        shape += '/';
    }
    if (shape == toolbarShown_ && toolbar_ != nullptr) return;
    toolbarShown_ = shape;
    if (toolbar_ != nullptr) DestroyWindow(toolbar_);
    if (faces_ != nullptr) ImageList_Destroy(faces_);
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_TOP, 0, 0, 0, 0,
                               hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    faces_ = ImageList_Create(16, 16, ILC_COLOR24, static_cast<int>(buttons.size()), 0);
    if (toolbar_ == nullptr) return;
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(faces_));
    std::vector<TBBUTTON> items;
    std::vector<std::wstring> texts;
    texts.reserve(buttons.size());
    for (const auto* c : buttons) {
        TBBUTTON item{};
        item.idCommand = static_cast<int>(items.size()) + 1;
        if (c == nullptr) {
            item.fsStyle = BTNS_SEP;
            items.push_back(item);
            continue;
        }
        item.fsState = c->enabled() ? TBSTATE_ENABLED : 0;
        item.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
        // A face of another size would be cut into several images: such a button shows its caption.
        HBITMAP face = c->face() && c->face()->widthPx() == 16 && c->face()->heightPx() == 16 ? gdi_.bitmap(c->face()) : nullptr;
        item.iBitmap = face != nullptr && faces_ != nullptr ? ImageList_Add(faces_, face, nullptr) : I_IMAGENONE;
        if (item.iBitmap == I_IMAGENONE || item.iBitmap < 0) {
            item.iBitmap = I_IMAGENONE;
            item.fsStyle |= BTNS_SHOWTEXT;
            texts.push_back(com::wideFromUtf8(c->caption()));
            item.iString = reinterpret_cast<INT_PTR>(texts.back().c_str());
        }
        items.push_back(item);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, items.size(), reinterpret_cast<LPARAM>(items.data()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

} // namespace host

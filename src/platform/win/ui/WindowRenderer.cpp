// This file holds only Win32 code.
#include "platform/win/ui/WindowRenderer.h"

#include "platform/errorhandling.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/Form.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Shape.h"
#include "platform/ui/TextBox.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/UserSurface.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/ui/ModuleInstance.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

namespace winui {

namespace {

constexpr wchar_t kSurfaceClass[] = L"NimbWidgetSurface";
constexpr wchar_t kSinkClass[] = L"NimbRendererSink";
constexpr UINT kFlushMessage = WM_APP + 1;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// A form the program has not placed opens in the middle of its owner, or of the screen.
void centre(HWND window, HWND owner) {
    RECT area{};
    if (owner == nullptr || !GetWindowRect(owner, &area)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT own{};
    GetWindowRect(window, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    SetWindowPos(window, nullptr, std::max<LONG>(0, area.left + (area.right - area.left - width) / 2),
                 std::max<LONG>(0, area.top + (area.bottom - area.top - height) / 2), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Progress bars count in whole steps; the model's float range is spread over this many.
constexpr int kProgressSteps = 10000;

// The classes are registered while any renderer of this module lives, and taken back with the
// last one, so that nothing of them is left in the process once the module may be unloaded.
int renderersAlive = 0;

void registerClasses() {
    if (renderersAlive++ > 0) return;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                        ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW surface{};
    surface.cbSize = sizeof(surface);
    surface.style = CS_DBLCLKS;
    surface.lpfnWndProc = DefWindowProcW;  // replaced per window once the renderer is attached
    surface.hInstance = moduleInstance();
    surface.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    surface.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    surface.lpszClassName = kSurfaceClass;
    RegisterClassExW(&surface);
    WNDCLASSEXW sink{};
    sink.cbSize = sizeof(sink);
    sink.lpfnWndProc = DefWindowProcW;
    sink.hInstance = moduleInstance();
    sink.lpszClassName = kSinkClass;
    RegisterClassExW(&sink);
}

void unregisterClasses() {
    if (--renderersAlive > 0) return;
    UnregisterClassW(kSurfaceClass, moduleInstance());
    UnregisterClassW(kSinkClass, moduleInstance());
}

// An OLE colour: a system colour index when the high bit is set, else 0x00BBGGRR.
COLORREF colourOf(int32_t ole) {
    const auto value = static_cast<uint32_t>(ole);
    if (value & 0x80000000u) return GetSysColor(static_cast<int>(value & 0xFF));
    return static_cast<COLORREF>(value & 0xFFFFFF);
}

int16_t shiftState(WPARAM keys) {
    return static_cast<int16_t>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0));
}

std::wstring wide(const std::string& text) { return com::wideFromUtf8(text); }

} // namespace

WindowRenderer::WindowRenderer() : dpi_(Dpi::screen()), gdi_(dpi_) {
    registerClasses();
    sink_ = CreateWindowExW(0, kSinkClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, moduleInstance(),
                            nullptr);
    if (sink_ != nullptr) {
        SetWindowLongPtrW(sink_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(sink_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&sinkProc));
    }
}

WindowRenderer::~WindowRenderer() {
    for (auto& [control, shown] : shown_) const_cast<ui::Control*>(control)->setObserver(nullptr);
    for (auto& [control, shown] : shown_)
        if (shown->kind == Kind::Form && IsWindow(shown->hwnd)) DestroyWindow(shown->hwnd);
    if (sink_ != nullptr) DestroyWindow(sink_);
    unregisterClasses();
}

WindowRenderer::Shown& WindowRenderer::add(ui::Control& control, Kind kind, HWND hwnd) {
    auto entry = std::make_unique<Shown>();
    entry->control = &control;
    entry->kind = kind;
    entry->hwnd = hwnd;
    Shown& shown = *entry;
    shown_[&control] = std::move(entry);
    byWindow_[hwnd] = &shown;
    control.setObserver(this);
    if (kind != Kind::Form && kind != Kind::Surface && kind != Kind::Frame && kind != Kind::Shape)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(gdi_.font(control.Font())), FALSE);
    if (!control.Enabled()) EnableWindow(hwnd, FALSE);
    return shown;
}

WindowRenderer::Shown* WindowRenderer::find(const ui::Control* control) {
    auto it = shown_.find(control);
    return it == shown_.end() ? nullptr : it->second.get();
}

WindowRenderer::Shown* WindowRenderer::findWindow(HWND hwnd) {
    auto it = byWindow_.find(hwnd);
    return it == byWindow_.end() ? nullptr : it->second;
}

HWND WindowRenderer::windowOf(const ui::Control& control) const {
    auto it = shown_.find(&control);
    return it == shown_.end() ? nullptr : it->second->hwnd;
}

ui::Form* WindowRenderer::formOf(HWND window) const {
    HWND top = GetAncestor(window, GA_ROOT);
    auto it = byWindow_.find(top);
    if (it == byWindow_.end() || it->second->kind != Kind::Form) return nullptr;
    return static_cast<ui::Form*>(it->second->control);
}

HWND WindowRenderer::createSurface(ui::Control& control, HWND parent, DWORD style, DWORD exStyle, const RECT& rect) {
    HWND hwnd = CreateWindowExW(exStyle, kSurfaceClass, L"", style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, nullptr, moduleInstance(), nullptr);
    if (hwnd == nullptr) return nullptr;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&surfaceProc));
    (void)control;
    return hwnd;
}

RECT WindowRenderer::childRect(const ui::Control& c) const {
    const int left = dpi_.pixelsX(c.Left()), top = dpi_.pixelsY(c.Top());
    return RECT{left, top, left + dpi_.pixelsX(c.Width()), top + dpi_.pixelsY(c.Height())};
}

HWND WindowRenderer::realize(ui::Form& form, HWND owner) {
    if (Shown* shown = find(&form)) return shown->hwnd;
    HWND hwnd = createSurface(form, owner, kFormStyle, kFormExStyle, RECT{0, 0, 0, 0});
    if (hwnd == nullptr) return nullptr;
    Shown& shown = add(form, Kind::Form, hwnd);
    ++applying_;
    applyGeometry(shown);
    applyText(shown);
    if (HICON icon = gdi_.icon(form.Icon())) SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    realizeChildren(form, hwnd);
    --applying_;
    if (form.Left() == 0 && form.Top() == 0) centre(hwnd, owner);
    if (form.Visible()) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

HWND WindowRenderer::realize(ui::UserSurface& surface, HWND parent) {
    if (Shown* shown = find(&surface)) return shown->hwnd;
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | (surface.Visible() ? WS_VISIBLE : 0);
    HWND hwnd = createSurface(surface, parent, style, WS_EX_CONTROLPARENT, childRect(surface));
    if (hwnd == nullptr) return nullptr;
    add(surface, Kind::Surface, hwnd);
    ++applying_;
    realizeChildren(surface, hwnd);
    --applying_;
    return hwnd;
}

void WindowRenderer::realizeChildren(ui::Container& container, HWND parent) {
    for (const auto& control : container.controls()) realizeControl(*control, parent);
}

void WindowRenderer::realizeControl(ui::Control& c, HWND parent) {
    const RECT r = childRect(c);
    const DWORD visible = c.Visible() ? WS_VISIBLE : 0;
    auto make = [&](const wchar_t* cls, DWORD style, DWORD ex = 0, int extraHeight = 0) {
        return CreateWindowExW(ex, cls, L"", WS_CHILD | visible | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top + extraHeight, parent, nullptr, moduleInstance(), nullptr);
    };
    Shown* shown = nullptr;
    auto keep = [&](HWND hwnd, Kind kind) {
        if (hwnd != nullptr) shown = &add(c, kind, hwnd);
    };
    if (auto* frame = dynamic_cast<ui::Frame*>(&c)) {
        HWND hwnd = createSurface(c, parent, WS_CHILD | visible | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, r);
        if (hwnd == nullptr) return;
        shown = &add(c, Kind::Frame, hwnd);
        shown->frameBox = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0,
                                          r.right - r.left, r.bottom - r.top, hwnd, nullptr,
                                          moduleInstance(), nullptr);
        SendMessageW(shown->frameBox, WM_SETFONT, reinterpret_cast<WPARAM>(gdi_.font(c.Font())), FALSE);
        realizeChildren(*frame, hwnd);
        SetWindowPos(shown->frameBox, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (auto* surface = dynamic_cast<ui::UserSurface*>(&c)) {
        realize(*surface, parent);
        return;
    } else if (dynamic_cast<ui::Label*>(&c)) {
        keep(make(L"STATIC", SS_LEFT), Kind::Label);
    } else if (auto* text = dynamic_cast<ui::TextBox*>(&c)) {
        keep(make(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | (text->PasswordChar().empty() ? 0 : ES_PASSWORD),
                  WS_EX_CLIENTEDGE),
             Kind::TextBox);
    } else if (auto* combo = dynamic_cast<ui::ComboBox*>(&c)) {
        const DWORD kind = combo->Style() == ui::vbComboDropdownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
        keep(make(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | kind, 0, dpi_.pixelsY(2400)), Kind::ComboBox);
    } else if (auto* button = dynamic_cast<ui::CommandButton*>(&c)) {
        keep(make(L"BUTTON", WS_TABSTOP | (button->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)), Kind::Button);
    } else if (dynamic_cast<ui::Image*>(&c)) {
        keep(make(L"STATIC", SS_BITMAP | SS_REALSIZECONTROL), Kind::Image);
    } else if (dynamic_cast<ui::Shape*>(&c)) {
        keep(make(L"STATIC", SS_OWNERDRAW), Kind::Shape);
    } else if (dynamic_cast<ui::ProgressBar*>(&c)) {
        keep(make(PROGRESS_CLASSW, 0), Kind::Progress);
    } else if (auto* tree = dynamic_cast<ui::TreeView*>(&c)) {
        keep(createTree(*tree, parent), Kind::Tree);
    } else if (auto* list = dynamic_cast<ui::ListView*>(&c)) {
        keep(createList(*list, parent), Kind::List);
    }
    // Timers, image lists and common dialogs have no window at run time.
    if (shown == nullptr) return;
    applyText(*shown);
    applyValue(*shown);
    if (shown->kind == Kind::Tree) rebuildTree(*shown);
    if (shown->kind == Kind::List) syncList(*shown);
}

void WindowRenderer::applyGeometry(Shown& shown) {
    ui::Control& c = *shown.control;
    if (shown.kind == Kind::Form) {
        // A form's design gives its client area (ScaleWidth x ScaleHeight); the frame goes round it.
        auto& form = static_cast<ui::Form&>(c);
        RECT outer{0, 0, dpi_.pixelsX(form.Width()), dpi_.pixelsY(form.Height())};
        if (form.ScaleWidth() > 0 && form.ScaleHeight() > 0) {
            outer = RECT{0, 0, dpi_.pixelsX(form.ScaleWidth()), dpi_.pixelsY(form.ScaleHeight())};
            AdjustWindowRectEx(&outer, kFormStyle, FALSE, kFormExStyle);
        }
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (form.Left() == 0 && form.Top() == 0) flags |= SWP_NOMOVE;  // placed by centring
        SetWindowPos(shown.hwnd, nullptr, dpi_.pixelsX(c.Left()), dpi_.pixelsY(c.Top()), outer.right - outer.left,
                     outer.bottom - outer.top, flags);
        return;
    }
    const RECT r = childRect(c);
    int height = r.bottom - r.top;
    if (shown.kind == Kind::ComboBox) height += dpi_.pixelsY(2400);  // room for the drop-down list
    SetWindowPos(shown.hwnd, nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (shown.frameBox != nullptr)
        SetWindowPos(shown.frameBox, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowRenderer::applyText(Shown& shown) {
    std::string text;
    ui::Control* c = shown.control;
    if (auto* f = dynamic_cast<ui::Form*>(c)) text = f->Caption();
    else if (auto* l = dynamic_cast<ui::Label*>(c)) text = l->Caption();
    else if (auto* b = dynamic_cast<ui::CommandButton*>(c)) text = b->Caption();
    else if (auto* t = dynamic_cast<ui::TextBox*>(c)) text = t->Text();
    else if (auto* fr = dynamic_cast<ui::Frame*>(c)) text = fr->Caption();
    else if (auto* cb = dynamic_cast<ui::ComboBox*>(c); cb && cb->Style() != ui::vbComboDropdownList) text = cb->Text();
    else return;
    HWND target = shown.frameBox != nullptr ? shown.frameBox : shown.hwnd;
    ++applying_;
    SetWindowTextW(target, wide(text).c_str());
    --applying_;
}

void WindowRenderer::applyValue(Shown& shown) {
    ++applying_;
    if (auto* bar = dynamic_cast<ui::ProgressBar*>(shown.control)) {
        const float span = bar->Max() - bar->Min();
        const auto step = static_cast<int>(std::lround((bar->Value() - bar->Min()) / span * kProgressSteps));
        SendMessageW(shown.hwnd, PBM_SETRANGE32, 0, kProgressSteps);
        SendMessageW(shown.hwnd, PBM_SETPOS, static_cast<WPARAM>(step), 0);
    } else if (auto* combo = dynamic_cast<ui::ComboBox*>(shown.control)) {
        SendMessageW(shown.hwnd, CB_RESETCONTENT, 0, 0);
        for (int32_t i = 0; i < combo->ListCount(); ++i)
            SendMessageW(shown.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(combo->List(i)).c_str()));
        SendMessageW(shown.hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo->ListIndex()), 0);
        if (combo->Style() != ui::vbComboDropdownList) SetWindowTextW(shown.hwnd, wide(combo->Text()).c_str());
    } else if (auto* image = dynamic_cast<ui::Image*>(shown.control)) {
        SendMessageW(shown.hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(gdi_.bitmap(image->Picture())));
        applyGeometry(shown);  // setting a bitmap resizes a static to the bitmap
    }
    --applying_;
}

void WindowRenderer::changed(ui::Control& control, ui::Aspect aspect) {
    Shown* shown = find(&control);
    if (shown == nullptr) return;
    if (shown == inputFrom_ && aspect != ui::Aspect::Selection) return;  // the window shows it already
    ++applying_;
    switch (aspect) {
    case ui::Aspect::Geometry: applyGeometry(*shown); break;
    case ui::Aspect::Visible:
        ShowWindow(shown->hwnd, control.Visible() ? (shown->kind == Kind::Form ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
        break;
    case ui::Aspect::Enabled: EnableWindow(shown->hwnd, control.Enabled()); break;
    case ui::Aspect::Font:
        SendMessageW(shown->frameBox ? shown->frameBox : shown->hwnd, WM_SETFONT,
                     reinterpret_cast<WPARAM>(gdi_.font(control.Font())), TRUE);
        break;
    case ui::Aspect::Text: applyText(*shown); break;
    case ui::Aspect::Value:
    case ui::Aspect::Picture: applyValue(*shown); break;
    case ui::Aspect::Selection:
        if (shown->kind == Kind::Tree) syncTreeSelection(*shown);
        else if (shown->kind == Kind::List) syncListSelection(*shown);
        break;
    case ui::Aspect::View:
        if (shown->kind == Kind::List) schedule(*shown);
        break;
    }
    --applying_;
}

void WindowRenderer::forgotten(ui::Control& control) {
    auto it = shown_.find(&control);
    if (it == shown_.end()) return;
    // Its window entry goes with it: the system's own control classes never pass WM_NCDESTROY through
    // here, and an entry left behind would point at freed memory.
    const HWND hwnd = it->second->hwnd;
    if (auto w = byWindow_.find(hwnd); w != byWindow_.end() && w->second == it->second.get()) byWindow_.erase(w);
    shown_.erase(it);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    // Windows inside it are gone with it: forget them too (their controls may live on).
    for (auto w = byWindow_.begin(); w != byWindow_.end();) {
        if (IsWindow(w->first)) {
            ++w;
            continue;
        }
        ui::Control* inner = w->second->control;
        w = byWindow_.erase(w);
        inner->setObserver(nullptr);
        shown_.erase(inner);
    }
}

void WindowRenderer::schedule(Shown& shown) {
    shown.pending = true;
    if (!flushPosted_ && sink_ != nullptr) flushPosted_ = PostMessageW(sink_, kFlushMessage, 0, 0) != FALSE;
}

void WindowRenderer::flush() {
    flushPosted_ = false;
    for (auto& [control, shown] : shown_) {
        if (!shown->pending) continue;
        shown->pending = false;
        if (shown->kind == Kind::List) syncList(*shown);
        else if (shown->kind == Kind::Tree) rebuildTree(*shown);
    }
    for (auto& [control, shown] : shown_)
        if (shown->kind == Kind::Form || shown->kind == Kind::Surface) RedrawWindow(shown->hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool WindowRenderer::preTranslate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    if (msg.wParam == VK_TAB) return moveFocus(msg);
    if (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) return false;
    ui::Form* form = formOf(msg.hwnd);
    if (form == nullptr) return false;
    // Enter in a drop-down list that is open belongs to the list.
    if (Shown* s = findWindow(GetParent(msg.hwnd)); s && s->kind == Kind::ComboBox) return false;
    bool used = false;
    vb::silently([&] { used = msg.wParam == VK_RETURN ? form->pressEnter() : form->pressEscape(); });
    return used;
}

// Tab goes round the controls of the outermost window of ours the key was pressed in (a form, or a
// document inside a window of its container), as in a dialog; a control that takes Tab keeps it.
bool WindowRenderer::moveFocus(const MSG& msg) {
    HWND root = nullptr, from = nullptr;
    for (HWND w = msg.hwnd; w != nullptr && w != GetDesktopWindow(); w = GetAncestor(w, GA_PARENT)) {
        if (findWindow(w) == nullptr) continue;
        if (from == nullptr) from = w;  // the control itself, not a part of it (a combo box's edit)
        root = w;
    }
    if (root == nullptr || root == from) return false;
    const auto wants = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) return false;
    HWND next = GetNextDlgTabItem(root, from, GetKeyState(VK_SHIFT) < 0);
    if (next == nullptr || next == from) return false;
    SetFocus(next);
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
    return true;
}

LRESULT CALLBACK WindowRenderer::sinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WindowRenderer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == kFlushMessage && self != nullptr) {
        vb::silently([&] { self->flush(); });
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK WindowRenderer::surfaceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WindowRenderer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
    // The model's handlers deal with their own errors; whatever still escapes stops here, never in
    // the system's window code.
    LRESULT result = 0;
    bool failed = true;
    vb::silently([&] {
        result = self->onSurfaceMessage(hwnd, msg, wParam, lParam);
        failed = false;
    });
    return failed ? DefWindowProcW(hwnd, msg, wParam, lParam) : result;
}

LRESULT WindowRenderer::onSurfaceMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Shown* self = findWindow(hwnd);
    switch (msg) {
    case WM_COMMAND:
        if (lParam != 0) onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        Shown* from = findWindow(header.hwndFrom);
        // A list view passes its header's notices (a column's edge dragged) on as they came, from
        // the header window, which is the list's child.
        const bool headerNotice = header.code <= HDN_FIRST && header.code >= HDN_LAST;
        if (from == nullptr && headerNotice) from = findWindow(GetParent(header.hwndFrom));
        if (from != nullptr && from->kind == Kind::List) return onListNotify(*from, header);
        if (from != nullptr && from->kind == Kind::Tree) return onTreeNotify(*from, header);
        return 0;
    }
    case WM_DRAWITEM: {
        auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        Shown* shape = findWindow(item.hwndItem);
        if (shape == nullptr || shape->kind != Kind::Shape) return FALSE;
        HBRUSH brush = CreateSolidBrush(colourOf(static_cast<ui::Shape*>(shape->control)->BackColor()));
        FillRect(item.hDC, &item.rcItem, brush);
        DeleteObject(brush);
        return TRUE;
    }
    case WM_SETCURSOR:
        if (self != nullptr && self->kind == Kind::Surface &&
            static_cast<ui::UserSurface*>(self->control)->MousePointer() == ui::vbSizeWE && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
        if (self != nullptr && self->kind == Kind::Surface) onSurfaceMouse(*self->control, msg, wParam, lParam);
        return 0;
    case WM_CLOSE:
        if (self != nullptr && self->kind == Kind::Form) static_cast<ui::Form*>(self->control)->closeBox();
        return 0;
    case WM_SIZE:
        if (self != nullptr && self->kind == Kind::Form && applying_ == 0 && wParam != SIZE_MINIMIZED) {
            RECT outer{};
            GetWindowRect(hwnd, &outer);
            auto& form = static_cast<ui::Form&>(*self->control);
            {
                InputFrom from(inputFrom_, self);
                form.setClientSize(dpi_.twipsX(LOWORD(lParam)), dpi_.twipsY(HIWORD(lParam)));
                form.Move(form.Left(), form.Top(), dpi_.twipsX(outer.right - outer.left), dpi_.twipsY(outer.bottom - outer.top));
            }
        }
        return 0;
    case WM_NCDESTROY:
        byWindow_.erase(hwnd);
        break;
    default: break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void WindowRenderer::onSurfaceMouse(ui::Control& control, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& surface = static_cast<ui::UserSurface&>(control);
    const int32_t x = dpi_.twipsX(GET_X_LPARAM(lParam)), y = dpi_.twipsY(GET_Y_LPARAM(lParam));
    const int16_t shift = shiftState(wParam);
    HWND hwnd = windowOf(control);
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetCapture(hwnd);
        surface.mouseDown(msg == WM_LBUTTONDOWN ? ui::vbLeftButton : ui::vbRightButton, shift, x, y);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (GetCapture() == hwnd) ReleaseCapture();
        surface.mouseUp(msg == WM_LBUTTONUP ? ui::vbLeftButton : ui::vbRightButton, shift, x, y);
        break;
    default: {
        // Windows moved under a still cursor make the system send the same move again; the runtime
        // raises MouseMove only when the mouse moved, and a splitter drag would otherwise feed itself.
        if (lParam == lastMove_) return;
        lastMove_ = lParam;
        const int16_t buttons =
            static_cast<int16_t>(((wParam & MK_LBUTTON) ? ui::vbLeftButton : 0) | ((wParam & MK_RBUTTON) ? ui::vbRightButton : 0));
        surface.mouseMove(buttons, shift, x, y);
    }
    }
}

void WindowRenderer::onCommand(HWND child, WORD code) {
    Shown* shown = findWindow(child);
    if (shown == nullptr || applying_ > 0) return;
    switch (shown->kind) {
    case Kind::Button:
        if (code == BN_CLICKED) static_cast<ui::CommandButton*>(shown->control)->click();
        break;
    case Kind::TextBox:
        if (code == EN_CHANGE) {
            std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
            {
                InputFrom from(inputFrom_, shown);
                static_cast<ui::TextBox*>(shown->control)->setText(com::utf8FromWide(text));
            }
        }
        break;
    case Kind::ComboBox: {
        auto* combo = static_cast<ui::ComboBox*>(shown->control);
        if (code == CBN_SELCHANGE) {
            const auto index = static_cast<int32_t>(SendMessageW(child, CB_GETCURSEL, 0, 0));
            {
                InputFrom from(inputFrom_, shown);
                combo->setListIndex(index);
            }
        } else if (code == CBN_EDITCHANGE) {
            std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
            {
                InputFrom from(inputFrom_, shown);
                combo->setText(com::utf8FromWide(text));
            }
        }
        break;
    }
    default: break;
    }
}

} // namespace winui

// The details list as a virtual list view: the window holds a row count; every text, image and
// font it paints is asked of the model's ListItems when the row is painted.
//
//   Wine 8 common controls, 200,000 rows of 9 columns, first paint included:
//     virtual list (LVS_OWNERDATA)            29 ms      about 1 MB
//     every row and cell inserted, redraw off  5.2-5.6 s  about 515 MB
//
// This file holds only Win32 code.
#include "platform/ui/ListView.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/ui/ModuleInstance.h"
#include "platform/win/ui/WindowRenderer.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace winui {

namespace {

DWORD viewStyle(int16_t view) {
    switch (view) {
    case ui::lvw::Icon: return LVS_ICON;
    case ui::lvw::SmallIcon: return LVS_SMALLICON;
    case ui::lvw::List: return LVS_LIST;
    default: return LVS_REPORT;
    }
}

// Writes text into the list view's buffer as UTF-16, cut to fit.
void copyText(std::string_view text, LPWSTR buffer, int room) {
    if (buffer == nullptr || room <= 0) return;
    const int written = text.empty() ? 0
                                     : MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                           buffer, room - 1);
    buffer[std::clamp(written, 0, room - 1)] = L'\0';
    if (written == 0 && !text.empty()) {  // did not fit: as much as fits
        const std::wstring all = com::wideFromUtf8(std::string(text));
        const auto n = std::min<std::size_t>(all.size(), static_cast<std::size_t>(room - 1));
        std::copy_n(all.data(), n, buffer);
        buffer[n] = L'\0';
    }
}

int imageIndex(const ui::ImageListPtr& list, const std::string& key) {
    if (!list || key.empty() || !list->ListImages().contains(key)) return -1;
    return list->ListImages().indexOf(*list->ListImages().Item(key)) - 1;
}

// Wine's list view recomputes and at once repaints its scroll bars on every change of count, column
// or style, each repaint a round of server and X traffic (tens of ms on a busy machine). While held,
// a shown list draws nothing: its own updates wait and the system's scroll bars see it hidden. Once
// released it is invalidated, and painted once with the next paint.
class DrawingHeld {
public:
    DrawingHeld(HWND list, HWND header) : list_(list), header_(header), shown_(IsWindowVisible(list) != FALSE) {
        if (!shown_) return;
        GetClientRect(list_, &client_);
        // Hiding validates the header too: what it still had to paint is painted with the list.
        headerDue_ = header_ != nullptr && GetUpdateRect(header_, nullptr, FALSE);
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        DefWindowProcW(list_, WM_SETREDRAW, FALSE, 0);
    }
    ~DrawingHeld() { release(); }
    DrawingHeld(const DrawingHeld&) = delete;
    DrawingHeld& operator=(const DrawingHeld&) = delete;

    void headerChanged() { headerDue_ = true; }
    // The list sets its scroll bars once, for all the changes, still drawing nothing.
    void scrollBarsDue() {
        if (shown_ && !listRedraws_) SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        listRedraws_ = true;
    }
    void release() {
        if (released_) return;
        released_ = true;
        if (!shown_) {
            InvalidateRect(list_, nullptr, FALSE);
            return;
        }
        scrollBarsDue();
        DefWindowProcW(list_, WM_SETREDRAW, TRUE, 0);
        // The header is repainted only when it was due, its columns changed or it grew wider (a
        // scroll bar went); one that narrowed shows what it showed. The frame holds the scroll bars.
        RECT client{};
        GetClientRect(list_, &client);
        const bool header = headerDue_ || client.right > client_.right;
        RedrawWindow(list_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | (header ? RDW_ALLCHILDREN : 0));
    }

private:
    HWND list_;
    HWND header_;
    bool shown_;
    bool headerDue_ = false;
    bool listRedraws_ = false;
    bool released_ = false;
    RECT client_{};
};

} // namespace

HWND WindowRenderer::createList(ui::ListView& list, HWND parent) {
    const RECT r = childRect(list);
    const DWORD style = WS_CHILD | WS_TABSTOP | (list.Visible() ? WS_VISIBLE : 0) | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                        LVS_SINGLESEL | viewStyle(list.View());
    HWND hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, parent, nullptr, moduleInstance(), nullptr);
    if (hwnd == nullptr) return nullptr;
    return hwnd;
}

void WindowRenderer::syncList(Shown& shown) {
    auto& list = static_cast<ui::ListView&>(*shown.control);
    ++applying_;
    HWND header = reinterpret_cast<HWND>(SendMessageW(shown.hwnd, LVM_GETHEADER, 0, 0));
    DrawingHeld held(shown.hwnd, header);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(shown.hwnd, GWL_STYLE));
    if ((style & LVS_TYPEMASK) != viewStyle(list.View()))
        SetWindowLongPtrW(shown.hwnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~LVS_TYPEMASK) | viewStyle(list.View())));
    SendMessageW(shown.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 list.FullRowSelect() ? LVS_EX_FULLROWSELECT : 0);
    SendMessageW(shown.hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(gdi_.imageList(list.SmallIcons())));
    SendMessageW(shown.hwnd, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(gdi_.imageList(list.Icons())));
    if (syncColumns(shown, header)) held.headerChanged();
    SendMessageW(shown.hwnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(list.ListItems().Count()), LVSICF_NOSCROLL);
    held.scrollBarsDue();  // before the selection, which scrolls within the new count
    syncListSelection(shown);
    held.release();
    --applying_;
}

// The model's columns, by text and width (a handful; rewritten only where they differ, as a header
// repaints every column it is given). True when any was written.
bool WindowRenderer::syncColumns(Shown& shown, HWND header) {
    auto& list = static_cast<ui::ListView&>(*shown.control);
    int shownColumns = header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    const int32_t columns = list.ColumnHeaders().Count();
    bool changed = false;
    for (int32_t i = 1; i <= columns; ++i) {
        const auto& column = *list.ColumnHeaders().Item(i);
        std::wstring text = com::wideFromUtf8(column.Text());
        const int width = dpi_.pixelsX(static_cast<int32_t>(column.Width()));
        if (i <= shownColumns) {
            wchar_t now[260] = {};
            LVCOLUMNW current{};
            current.mask = LVCF_TEXT | LVCF_WIDTH;
            current.pszText = now;
            current.cchTextMax = static_cast<int>(std::size(now));
            if (SendMessageW(shown.hwnd, LVM_GETCOLUMNW, static_cast<WPARAM>(i - 1), reinterpret_cast<LPARAM>(&current)) &&
                current.cx == width && text == now)
                continue;
        }
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH;
        lvc.pszText = text.data();
        lvc.cx = width;
        const UINT message = i <= shownColumns ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW;
        SendMessageW(shown.hwnd, message, static_cast<WPARAM>(i - 1), reinterpret_cast<LPARAM>(&lvc));
        changed = true;
    }
    for (; shownColumns > columns; --shownColumns) {
        SendMessageW(shown.hwnd, LVM_DELETECOLUMN, static_cast<WPARAM>(shownColumns - 1), 0);
        changed = true;
    }
    return changed;
}

void WindowRenderer::syncListSelection(Shown& shown) {
    auto& list = static_cast<ui::ListView&>(*shown.control);
    if (shown.pending) return;  // applied with the rows
    ++applying_;
    // Only the row that has the selection loses it: "every row" (-1) walks all of a virtual list's
    // rows in Wine, seconds for a large folder.
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    for (int flag : {LVNI_SELECTED, LVNI_FOCUSED}) {
        const auto row = SendMessageW(shown.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), flag);
        if (row >= 0) SendMessageW(shown.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&none));
    }
    if (const auto& item = list.SelectedItem()) {
        LVITEMW on{};
        on.stateMask = on.state = LVIS_SELECTED | LVIS_FOCUSED;
        const int index = item->Index() - 1;
        SendMessageW(shown.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&on));
        SendMessageW(shown.hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    }
    --applying_;
}

std::optional<RECT> WindowRenderer::screenRectOf(const ui::ListItem& item) {
    Shown* shown = item.listView() != nullptr ? find(item.listView()) : nullptr;
    if (shown == nullptr) return std::nullopt;
    if (shown->pending) flush();
    RECT r{};
    r.left = LVIR_LABEL;
    if (!SendMessageW(shown->hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(item.Index() - 1), reinterpret_cast<LPARAM>(&r)))
        return std::nullopt;
    RECT client{};
    GetClientRect(shown->hwnd, &client);
    if (r.bottom <= 0 || r.top >= client.bottom) return std::nullopt;  // scrolled off
    MapWindowPoints(shown->hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void WindowRenderer::itemsAdded(ui::ListView& list, int32_t, int32_t) {
    if (Shown* shown = find(&list)) schedule(*shown);
}

void WindowRenderer::itemsRemoved(ui::ListView& list, int32_t, int32_t) {
    if (Shown* shown = find(&list)) schedule(*shown);
}

void WindowRenderer::itemChanged(ui::ListView& list, const ui::ListItem& item) {
    Shown* shown = find(&list);
    if (shown == nullptr || shown->pending) return;  // the whole list is redrawn at the flush anyway
    const int row = item.Index() - 1;
    SendMessageW(shown->hwnd, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

LRESULT WindowRenderer::onListNotify(Shown& shown, NMHDR& header) {
    auto& list = static_cast<ui::ListView&>(*shown.control);
    auto itemAt = [&](int index) -> ui::ListItemPtr {
        if (index < 0 || index >= list.ListItems().Count()) return nullptr;
        return list.ListItems().Item(index + 1);
    };
    // A point nobody's row covers in the model's layout, for a press beside every row.
    auto besideRows = [&] { return ui::ListView::HeaderHeight + (list.ListItems().Count() + 1) * ui::ListView::RowHeight; };
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
        ++rowsAsked_;
        const auto item = itemAt(info.item.iItem);
        if (!item) {  // a row the model no longer has, before the count catches up
            if (info.item.mask & LVIF_TEXT) copyText({}, info.item.pszText, info.item.cchTextMax);
            return 0;
        }
        if (info.item.mask & LVIF_TEXT) {
            const int sub = info.item.iSubItem;
            const std::string text = sub == 0 ? item->Text() : item->SubItems(sub);
            copyText(text, info.item.pszText, info.item.cchTextMax);
        }
        if (info.item.mask & LVIF_IMAGE)
            info.item.iImage = list.View() == ui::lvw::Icon ? imageIndex(list.Icons(), item->Icon())
                                                             : imageIndex(list.SmallIcons(), item->SmallIcon());
        return 0;
    }
    case NM_CUSTOMDRAW: {
        auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            const auto item = itemAt(static_cast<int>(draw.nmcd.dwItemSpec));
            if (item && item->Bold()) {
                SelectObject(draw.nmcd.hdc, gdi_.font(list.Font(), true));
                return CDRF_NEWFONT;
            }
        }
        return CDRF_DODEFAULT;
    }
    case NM_CLICK:
    case NM_RCLICK: {
        if (applying_ > 0) return 0;
        auto& hit = reinterpret_cast<NMITEMACTIVATE&>(header);
        const bool left = header.code == NM_CLICK;
        if (auto item = itemAt(hit.iItem)) {
            if (left) list.click(item);
            else list.rightclick(item);
        } else {
            list.clickAt(left ? ui::vbLeftButton : ui::vbRightButton, dpi_.twipsX(hit.ptAction.x), besideRows());
        }
        return 0;
    }
    case HDN_ITEMCHANGEDW:
    case HDN_ENDTRACKW: {
        auto& change = reinterpret_cast<NMHEADERW&>(header);
        if (applying_ > 0 || change.pitem == nullptr || !(change.pitem->mask & HDI_WIDTH)) return 0;
        const int32_t index = change.iItem + 1;
        if (index >= 1 && index <= list.ColumnHeaders().Count())
            list.ColumnHeaders().Item(index)->setWidth(static_cast<float>(dpi_.twipsX(change.pitem->cxy)));
        return 0;
    }
    default: return 0;
    }
}

} // namespace winui

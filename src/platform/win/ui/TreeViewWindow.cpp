// The tree as a tree view whose items mirror the model's nodes - projects, connections and folders,
// a few hundred at most: the objects of a folder go to the virtual list, never into the tree
// (a node of 200,000 children costs Wine's tree view 1.3 s and 51 MB). Any change in the nodes'
// structure rebuilds the items once the program is back in its message loop; a node's own text,
// image, boldness or expansion is rewritten in place at once.
//
// This file holds only Win32 code.
#include "platform/ui/TreeView.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/ui/ModuleInstance.h"
#include "platform/win/ui/WindowRenderer.h"

#include <commctrl.h>

#include <cstring>
#include <iterator>

namespace winui {

namespace {

int imageIndex(const ui::ImageListPtr& list, const std::string& key) {
    if (!list || key.empty() || !list->ListImages().contains(key)) return -1;
    return list->ListImages().indexOf(*list->ListImages().Item(key)) - 1;
}

// The node an item stands for. Valid only while the tree has no rebuild pending (see pending).
ui::Node* nodeOf(HWND tree, HTREEITEM item) {
    if (item == nullptr) return nullptr;
    TVITEMW tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
    return reinterpret_cast<ui::Node*>(tv.lParam);
}

} // namespace

HWND WindowRenderer::createTree(ui::TreeView& tree, HWND parent) {
    const RECT r = childRect(tree);
    DWORD style = WS_CHILD | WS_TABSTOP | (tree.Visible() ? WS_VISIBLE : 0) | TVS_HASBUTTONS | TVS_SHOWSELALWAYS;
    style |= tree.FullRowSelect() ? TVS_FULLROWSELECT : TVS_HASLINES;
    if (tree.LineStyle() == ui::tvw::RootLines) style |= TVS_LINESATROOT;
    if (tree.HotTracking()) style |= TVS_TRACKSELECT;
    HWND hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", style, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, parent, nullptr, moduleInstance(), nullptr);
    if (hwnd != nullptr) SendMessageW(hwnd, TVM_SETINDENT, static_cast<WPARAM>(dpi_.pixelsX(tree.Indentation())), 0);
    return hwnd;
}

// A node is written to its item only where they differ: an item written repaints its row, and the
// model tells of nodes whose look did not change (a folder listed again).
void WindowRenderer::showNode(Shown& shown, const ui::Node& node, HTREEITEM item) {
    auto& tree = static_cast<ui::TreeView&>(*shown.control);
    std::wstring text = com::wideFromUtf8(node.Text());
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    tv.hItem = item;
    tv.pszText = text.data();
    tv.iImage = imageIndex(tree.ImageList(), node.Image());
    const int selected = imageIndex(tree.ImageList(), node.SelectedImage());
    tv.iSelectedImage = selected >= 0 ? selected : tv.iImage;
    tv.stateMask = TVIS_BOLD;
    tv.state = node.Bold() ? TVIS_BOLD : 0;
    wchar_t nowText[260] = {};
    TVITEMW now{};
    now.mask = tv.mask;
    now.hItem = item;
    now.pszText = nowText;
    now.cchTextMax = static_cast<int>(std::size(nowText));
    now.stateMask = TVIS_BOLD | TVIS_EXPANDED;
    const bool read = SendMessageW(shown.hwnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&now)) != FALSE;
    ++applying_;
    if (!read || text != nowText || now.iImage != tv.iImage || now.iSelectedImage != tv.iSelectedImage ||
        (now.state & TVIS_BOLD) != tv.state)
        SendMessageW(shown.hwnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    if (!read || ((now.state & TVIS_EXPANDED) != 0) != node.Expanded())
        SendMessageW(shown.hwnd, TVM_EXPAND, node.Expanded() ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
    --applying_;
}

void WindowRenderer::rebuildTree(Shown& shown) {
    auto& tree = static_cast<ui::TreeView&>(*shown.control);
    ++applying_;
    SendMessageW(shown.hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(shown.hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    SendMessageW(shown.hwnd, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(gdi_.imageList(tree.ImageList())));
    shown.items.clear();
    // Depth first, each level in the model's display order; children before their parent expands.
    std::vector<std::pair<ui::NodePtr, HTREEITEM>> pending;
    const auto roots = tree.Nodes().roots();
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) pending.push_back({*it, TVI_ROOT});
    std::vector<const ui::Node*> order;
    while (!pending.empty()) {
        auto [node, parent] = pending.back();
        pending.pop_back();
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_PARAM;
        insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
        auto item = reinterpret_cast<HTREEITEM>(SendMessageW(shown.hwnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (item == nullptr) continue;
        shown.items[node.get()] = item;
        order.push_back(node.get());
        auto children = node->childNodes();
        for (auto c = children.rbegin(); c != children.rend(); ++c) pending.push_back({*c, item});
    }
    // Texts and states once every child exists, deepest last, so that expanding finds its children.
    for (auto n = order.rbegin(); n != order.rend(); ++n) showNode(shown, **n, shown.items[*n]);
    syncTreeSelection(shown);
    SendMessageW(shown.hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(shown.hwnd, nullptr, TRUE);
    --applying_;
}

void WindowRenderer::syncTreeSelection(Shown& shown) {
    if (shown.pending) return;  // applied with the rebuild
    auto& tree = static_cast<ui::TreeView&>(*shown.control);
    HTREEITEM item = nullptr;
    if (const auto& node = tree.SelectedItem())
        if (auto it = shown.items.find(node.get()); it != shown.items.end()) item = it->second;
    ++applying_;
    SendMessageW(shown.hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    --applying_;
}

std::optional<RECT> WindowRenderer::screenRectOf(const ui::Node& node) {
    Shown* shown = node.treeView() != nullptr ? find(node.treeView()) : nullptr;
    if (shown == nullptr) return std::nullopt;
    if (shown->pending) flush();
    auto it = shown->items.find(&node);
    if (it == shown->items.end()) return std::nullopt;
    RECT r{};
    HTREEITEM item = it->second;
    std::memcpy(&r, &item, sizeof(item));  // TVM_GETITEMRECT takes the item in the rect's first bytes
    if (!SendMessageW(shown->hwnd, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) return std::nullopt;
    MapWindowPoints(shown->hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void WindowRenderer::nodesChanged(ui::TreeView& tree) {
    if (Shown* shown = find(&tree)) schedule(*shown);
}

void WindowRenderer::nodeChanged(ui::TreeView& tree, ui::Node& node) {
    Shown* shown = find(&tree);
    if (shown == nullptr || shown->pending || shown == inputFrom_) return;
    if (auto it = shown->items.find(&node); it != shown->items.end()) showNode(*shown, node, it->second);
}

LRESULT WindowRenderer::onTreeNotify(Shown& shown, NMHDR& header) {
    auto& tree = static_cast<ui::TreeView&>(*shown.control);
    if (applying_ > 0) return 0;
    if (shown.pending) {  // the items' nodes may be gone: catch up before reading any of them
        shown.pending = false;
        rebuildTree(shown);
    }
    // The node under the cursor, as the tree's own hit test finds it (labels and icons).
    auto hitNode = [&](UINT flags) -> ui::NodePtr {
        TVHITTESTINFO hit{};
        const DWORD pos = GetMessagePos();
        hit.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        ScreenToClient(shown.hwnd, &hit.pt);
        auto item = reinterpret_cast<HTREEITEM>(SendMessageW(shown.hwnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (item == nullptr || !(hit.flags & flags)) return nullptr;
        ui::Node* node = nodeOf(shown.hwnd, item);
        return node != nullptr ? node->shared_from_this() : nullptr;
    };
    auto besideNodes = [&] {
        return static_cast<int32_t>(tree.Nodes().visibleNodes().size() + 1) * ui::TreeView::RowHeight;
    };
    switch (header.code) {
    case NM_CLICK:
        if (auto node = hitNode(TVHT_ONITEM)) tree.click(node);
        else if (!hitNode(TVHT_ONITEMBUTTON)) tree.clickAt(ui::vbLeftButton, 0, besideNodes());
        return 0;
    case NM_DBLCLK:
        // The first click of the two has been a click already; what is left is DblClick itself.
        if (hitNode(TVHT_ONITEM)) ui::raise(tree.onDblClick);
        return 0;
    case NM_RCLICK:
        if (auto node = hitNode(TVHT_ONITEM)) tree.rightclick(node);
        else tree.clickAt(ui::vbRightButton, 0, besideNodes());
        return TRUE;  // no default context handling
    case TVN_SELCHANGEDW: {
        auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
        // Mouse selections are the click's (NM_CLICK); keys select and raise NodeClick, as VB does.
        if (change.action != TVC_BYKEYBOARD) return 0;
        ui::Node* node = nodeOf(shown.hwnd, change.itemNew.hItem);
        if (node == nullptr) return 0;
        auto held = node->shared_from_this();
        tree.setSelectedItem(held);
        ui::raise(tree.onNodeClick, held);
        return 0;
    }
    case TVN_ITEMEXPANDEDW: {
        auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
        ui::Node* node = nodeOf(shown.hwnd, change.itemNew.hItem);
        if (node == nullptr) return 0;
        {
            InputFrom from(inputFrom_, &shown);
            node->setExpanded(change.action == TVE_EXPAND);
        }
        return 0;
    }
    default: return 0;
    }
}

} // namespace winui

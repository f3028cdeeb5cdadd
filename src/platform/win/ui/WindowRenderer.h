// WindowRenderer: the widget model shown as real windows. Each form, user control, user document
// and control on them is realized as a window of the matching class - static, edit, combo box,
// button, group box, picture, owner-drawn shape, progress bar, SysTreeView32, SysListView32 -
// placed by twips converted at the screen's DPI, with the model's fonts and image lists.
//
// The model stays the one truth: the renderer observes it (ui::Observer) and keeps nothing the
// model does not have. The details list is a virtual list view (LVS_OWNERDATA): it holds only a row
// count and asks the model for the texts of the rows it paints, so a folder of 200,000 routines
// costs one LVM_SETITEMCOUNT. Row and tree changes are gathered and applied once the program is
// back in its message loop (or at flush()), so a listing is one range, not one message per row.
// The tree mirrors the model's nodes, which hold projects, connections and folders only.
//
// A person's input comes back as the model's own events - the very calls the scripted person
// makes: a click on a node or row is TreeView::click / ListView::click, a right-click rightclick,
// a button press CommandButton::click, typing TextBox::setText, the close box Form::closeBox,
// Enter and Escape Form::pressEnter / pressEscape, mouse moves over a user control its
// MouseMove, an expanded node Node::setExpanded, a dragged column ColumnHeader::setWidth.
// This file holds only Win32 code.
#pragma once

#include "platform/ui/Observer.h"
#include "platform/win/ui/Dpi.h"
#include "platform/win/ui/GdiResources.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace ui {
class Container;
class Form;
class ListItem;
class UserSurface;
} // namespace ui

namespace winui {

class WindowRenderer : public ui::Observer {
public:
    WindowRenderer();
    ~WindowRenderer() override;
    WindowRenderer(const WindowRenderer&) = delete;
    WindowRenderer& operator=(const WindowRenderer&) = delete;

    // The form as a top-level window owned by owner (may be null), with all its controls; shown
    // when the form is visible. Realizing a form again returns its window.
    HWND realize(ui::Form& form, HWND owner = nullptr);
    // A user control or user document as a child window of parent at its Left/Top/Width/Height.
    HWND realize(ui::UserSurface& surface, HWND parent);
    // The window showing control, or null.
    HWND windowOf(const ui::Control& control) const;
    // Where a node's label or a list row is on the screen now (after flush), or nothing when it is
    // not shown (collapsed away, scrolled off, not realized).
    std::optional<RECT> screenRectOf(const ui::Node& node);
    std::optional<RECT> screenRectOf(const ui::ListItem& item);
    // The form a window belongs to (its top-level realized form), or null.
    ui::Form* formOf(HWND window) const;

    // Applies the changes still gathered and paints every window that needs it, now.
    void flush();
    // Handles the keys a form gives meaning to (Enter, Escape) and moves the focus with Tab and
    // Shift+Tab inside a form or a document shown in place; true when msg was used. Message loops
    // call it before TranslateMessage.
    bool preTranslate(const MSG& msg);

    const Dpi& dpi() const { return dpi_; }

    // Rows the list view has asked for since the last call (how much painting cost).
    int64_t takeRowsAsked() { return std::exchange(rowsAsked_, 0); }

    // ui::Observer
    void changed(ui::Control& control, ui::Aspect aspect) override;
    void forgotten(ui::Control& control) override;
    void itemsAdded(ui::ListView& list, int32_t start, int32_t length) override;
    void itemsRemoved(ui::ListView& list, int32_t start, int32_t length) override;
    void itemChanged(ui::ListView& list, const ui::ListItem& item) override;
    void nodesChanged(ui::TreeView& tree) override;
    void nodeChanged(ui::TreeView& tree, ui::Node& node) override;

private:
    enum class Kind { Form, Surface, Frame, Label, TextBox, ComboBox, Button, Image, Shape, Progress, Tree, List };
    struct Shown {
        ui::Control* control;
        Kind kind;
        HWND hwnd;
        HWND frameBox = nullptr;  // a frame's group box, drawn inside its own window
        bool pending = false;     // list: row count to apply; tree: nodes to rebuild
        std::unordered_map<const ui::Node*, HTREEITEM> items;  // tree: the model's nodes shown
    };

    static LRESULT CALLBACK surfaceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK sinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onSurfaceMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    Shown& add(ui::Control& control, Kind kind, HWND hwnd);
    HWND createSurface(ui::Control& control, HWND parent, DWORD style, DWORD exStyle, const RECT& rect);
    void realizeChildren(ui::Container& container, HWND parent);
    void realizeControl(ui::Control& control, HWND parent);
    RECT childRect(const ui::Control& control) const;
    Shown* find(const ui::Control* control);
    Shown* findWindow(HWND hwnd);
    void applyText(Shown& shown);
    void applyValue(Shown& shown);
    void applyGeometry(Shown& shown);
    void schedule(Shown& shown);

    // Lists and trees (ListViewWindow.cpp, TreeViewWindow.cpp).
    HWND createList(ui::ListView& list, HWND parent);
    void syncList(Shown& shown);
    bool syncColumns(Shown& shown, HWND header);
    void syncListSelection(Shown& shown);
    LRESULT onListNotify(Shown& shown, NMHDR& header);
    HWND createTree(ui::TreeView& tree, HWND parent);
    void rebuildTree(Shown& shown);
    void showNode(Shown& shown, const ui::Node& node, HTREEITEM item);
    void syncTreeSelection(Shown& shown);
    LRESULT onTreeNotify(Shown& shown, NMHDR& header);

    void onCommand(HWND child, WORD code);
    bool moveFocus(const MSG& msg);
    void onSurfaceMouse(ui::Control& control, UINT msg, WPARAM wParam, LPARAM lParam);

    Dpi dpi_;
    GdiResources gdi_;
    HWND sink_ = nullptr;          // message-only window: gathered changes are applied from here
    bool flushPosted_ = false;
    int applying_ = 0;             // > 0 while the renderer itself changes windows: no echo to the model
    Shown* inputFrom_ = nullptr;   // the window whose input the model is taking: not written back
    // Marks shown as the source of the input being handed to the model, until the scope ends (also
    // when a handler of the model fails).
    struct InputFrom {
        InputFrom(Shown*& slot, Shown* shown) : slot_(slot) { slot_ = shown; }
        ~InputFrom() { slot_ = nullptr; }
        InputFrom(const InputFrom&) = delete;
        InputFrom& operator=(const InputFrom&) = delete;
        Shown*& slot_;
    };
    LPARAM lastMove_ = -1;         // where the last mouse move was: moving windows repeats it
    int64_t rowsAsked_ = 0;
    std::unordered_map<const ui::Control*, std::unique_ptr<Shown>> shown_;
    std::unordered_map<HWND, Shown*> byWindow_;
};

} // namespace winui

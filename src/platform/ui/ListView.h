// ListView: the list common control.
//
// Layout (for HitTest and the click helpers):
//   report view (3): a header band of HeaderHeight (270) twips, then one row of RowHeight (240)
//     twips per item; a row is hit from x = 0 to the sum of the column widths (with FullRowSelect
//     or without - the whole row counts). Without columns nothing is hit.
//   icon view (0): a grid of IconCell (1080) twips square cells, as many per row as fit the
//     control's width (at least one), filled left to right, top to bottom.
//   small icon (1) and list (2) views: rows of RowHeight from the top, across the control's width.
// The list does not scroll: rows and cells continue below the control's height; nothing is hit
// left of 0, above the top or beyond the control's width.
// Removing the selected item, or Clear, leaves nothing selected.
//
// Events and what the helpers fire (a person's actions):
//   click(item):      onMouseDown(1), item selected, onItemClick(item), onMouseUp(1)
//   rightclick(item): onMouseDown(2), onMouseUp(2) - the selection does not change
#pragma once

#include "platform/ui/ColumnHeaders.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListItem.h"
#include "platform/ui/ListItems.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace ui {

namespace lvw {
constexpr int16_t Icon = 0;
constexpr int16_t SmallIcon = 1;
constexpr int16_t List = 2;
constexpr int16_t Report = 3;
constexpr int16_t LabelAutomatic = 0;
constexpr int16_t LabelManual = 1;
} // namespace lvw

class ListView : public Control {
public:
    static constexpr int32_t HeaderHeight = 270;
    static constexpr int32_t RowHeight = 240;
    static constexpr int32_t IconCell = 1080;

    ListView();
    ~ListView() override;

    int16_t View() const { return view_; }
    // Values outside 0..3 raise error 380.
    void setView(int16_t view);
    ui::ColumnHeaders& ColumnHeaders() { return columns_; }
    const ui::ColumnHeaders& ColumnHeaders() const { return columns_; }
    ui::ListItems& ListItems() { return *items_; }
    const ui::ListItems& ListItems() const { return *items_; }

    int16_t LabelEdit() const { return labelEdit_; }
    void setLabelEdit(int16_t v) { labelEdit_ = v; }
    bool FullRowSelect() const { return fullRowSelect_; }
    void setFullRowSelect(bool v) { fullRowSelect_ = v; }
    bool Sorted() const { return false; }  // never sorted: items stay in order of adding
    const ImageListPtr& Icons() const { return icons_; }
    void setIcons(ImageListPtr list) { icons_ = std::move(list); }
    const ImageListPtr& SmallIcons() const { return smallIcons_; }
    void setSmallIcons(ImageListPtr list) { smallIcons_ = std::move(list); }

    const ListItemPtr& SelectedItem() const { return selected_; }
    // Selects item (nullptr: none) without raising ItemClick, as setting it from code does.
    void setSelectedItem(ListItemPtr item);

    // The item at (x, y), twips relative to the control; nullptr when none.
    ListItemPtr HitTest(int32_t x, int32_t y) const;
    // A point inside item's row or cell; nullopt when the item is not in this list or (report
    // view without columns) cannot be hit.
    std::optional<std::pair<int32_t, int32_t>> pointOf(const ListItem& item) const;

    // A person's actions (see the header comment). An item that cannot be hit raises error 35601.
    void click(const ListItemPtr& item);
    void rightclick(const ListItemPtr& item);
    void clickAt(int16_t button, int32_t x, int32_t y);
    void mouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) { raise(onMouseMove, button, shift, x, y); }

    std::function<void(const ListItemPtr&)> onItemClick;
    std::function<void(int16_t button, int16_t shift, int32_t x, int32_t y)> onMouseDown;
    std::function<void(int16_t button, int16_t shift, int32_t x, int32_t y)> onMouseMove;
    std::function<void(int16_t button, int16_t shift, int32_t x, int32_t y)> onMouseUp;

    // Used by ListItems and ListItem.
    void itemRemoving(const ListItem& item);
    void checkImageKey(const ImageListPtr& list, const std::string& key) const;

private:
    int32_t cellsPerRow() const;

    int16_t view_ = lvw::Icon;
    ui::ColumnHeaders columns_;
    std::unique_ptr<ui::ListItems> items_;
    int16_t labelEdit_ = lvw::LabelAutomatic;
    bool fullRowSelect_ = false;
    ImageListPtr icons_;
    ImageListPtr smallIcons_;
    ListItemPtr selected_;
};

} // namespace ui

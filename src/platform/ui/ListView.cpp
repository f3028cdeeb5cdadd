#include "platform/ui/ListView.h"

#include "platform/error.h"
#include "platform/ui/UIErrors.h"

#include <algorithm>

namespace ui {

namespace {
[[noreturn]] void invalidValue() { throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value"); }
} // namespace

ListView::ListView() : items_(std::make_unique<ui::ListItems>(*this)) {}

ListView::~ListView() = default;

void ListView::setView(int16_t view) {
    if (view < lvw::Icon || view > lvw::Report) invalidValue();
    view_ = view;
    notify(Aspect::View);
}

void ListView::setSelectedItem(ListItemPtr item) {
    if (item && item->listView() != this) invalidValue();
    selected_ = std::move(item);
    notify(Aspect::Selection);
}

int32_t ListView::cellsPerRow() const { return std::max(1, Width() / IconCell); }

ListItemPtr ListView::HitTest(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width()) return nullptr;
    int32_t index = 0;  // 0-based position of the item under the point
    if (view_ == lvw::Report) {
        if (x >= columns_.totalWidth() || y < HeaderHeight) return nullptr;
        index = (y - HeaderHeight) / RowHeight;
    } else if (view_ == lvw::Icon) {
        const int32_t column = x / IconCell;
        if (column >= cellsPerRow()) return nullptr;
        index = (y / IconCell) * cellsPerRow() + column;
    } else {
        index = y / RowHeight;
    }
    return index < items_->Count() ? items_->Item(index + 1) : nullptr;
}

std::optional<std::pair<int32_t, int32_t>> ListView::pointOf(const ListItem& item) const {
    if (item.listView() != this) return std::nullopt;
    const int32_t index = item.Index() - 1;
    int32_t left = 0, right = Width(), top = 0, height = RowHeight;
    if (view_ == lvw::Report) {
        right = std::min(right, static_cast<int32_t>(columns_.totalWidth()));
        top = HeaderHeight + index * RowHeight;
    } else if (view_ == lvw::Icon) {
        left = (index % cellsPerRow()) * IconCell;
        right = std::min(right, left + IconCell);
        top = (index / cellsPerRow()) * IconCell;
        height = IconCell;
    } else {
        top = index * RowHeight;
    }
    if (right <= left) return std::nullopt;
    return std::make_pair((left + right) / 2, top + height / 2);
}

namespace {
std::pair<int32_t, int32_t> clickable(const ListView& list, const ListItemPtr& item) {
    auto point = item ? list.pointOf(*item) : std::nullopt;
    if (!point) throw vb::VBError(vb::err::ElementNotFound, "Element not found");
    return *point;
}
} // namespace

void ListView::click(const ListItemPtr& item) {
    const auto [x, y] = clickable(*this, item);
    raise(onMouseDown, vbLeftButton, int16_t{0}, x, y);
    setSelectedItem(item);
    raise(onItemClick, item);
    raise(onMouseUp, vbLeftButton, int16_t{0}, x, y);
}

void ListView::rightclick(const ListItemPtr& item) {
    const auto [x, y] = clickable(*this, item);
    raise(onMouseDown, vbRightButton, int16_t{0}, x, y);
    raise(onMouseUp, vbRightButton, int16_t{0}, x, y);
}

void ListView::clickAt(int16_t button, int32_t x, int32_t y) {
    raise(onMouseDown, button, int16_t{0}, x, y);
    if (button == vbLeftButton) {
        if (auto item = HitTest(x, y)) {
            setSelectedItem(item);
            raise(onItemClick, item);
        }
    }
    raise(onMouseUp, button, int16_t{0}, x, y);
}

void ListView::itemRemoving(const ListItem& item) {
    if (selected_.get() == &item) setSelectedItem(nullptr);
}

void ListView::checkImageKey(const ImageListPtr& list, const std::string& key) const {
    if (!list) throw vb::VBError(err::ImageListNotInitialized, "ImageList must be initialized before it can be used");
    if (!list->ListImages().contains(key)) throw vb::VBError(vb::err::ElementNotFound, "Element not found");
}

} // namespace ui

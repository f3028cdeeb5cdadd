#include "platform/ui/ListItem.h"

#include "platform/error.h"
#include "platform/ui/UIErrors.h"
#include "platform/ui/ListView.h"

namespace ui {

ListSubItemPtr ListSubItems::Add(int32_t index, const std::string& key, const std::string& text) {
    if (!key.empty()) {
        if (keyed::isNumericKey(key)) keyed::raiseInvalidKey();
        if (std::any_of(cells_.begin(), cells_.end(), [&](const Cell& c) {
                const auto* object = std::get_if<ListSubItemPtr>(&c);
                return object && (*object)->Key() == key;
            }))
            keyed::raiseNotUnique();
    }
    if (index < 0 || index > Count() + 1) keyed::raiseIndexOutOfBounds();
    auto item = std::make_shared<ListSubItem>(key, text);
    cells_.insert(index == 0 ? cells_.end() : cells_.begin() + (index - 1), item);
    return item;
}

std::size_t ListSubItems::at(int32_t index) const {
    if (index < 1 || index > Count()) keyed::raiseIndexOutOfBounds();
    return static_cast<std::size_t>(index - 1);
}

ListSubItemPtr ListSubItems::Item(int32_t index) const {
    Cell& cell = cells_[at(index)];
    if (auto* text = std::get_if<std::string>(&cell)) cell = std::make_shared<ListSubItem>(std::string(), std::move(*text));
    return std::get<ListSubItemPtr>(cell);
}

ListSubItemPtr ListSubItems::Item(const std::string& key) const {
    for (const auto& cell : cells_) {
        const auto* object = std::get_if<ListSubItemPtr>(&cell);
        if (object && !key.empty() && (*object)->Key() == key) return *object;
    }
    keyed::raiseNotFound();
}

void ListSubItems::Remove(int32_t index) { cells_.erase(cells_.begin() + static_cast<std::ptrdiff_t>(at(index))); }

const std::string& ListSubItems::text(std::size_t i) const {
    const Cell& cell = cells_[i];
    if (const auto* text = std::get_if<std::string>(&cell)) return *text;
    return std::get<ListSubItemPtr>(cell)->Text();
}

void ListSubItems::setText(std::size_t i, std::string text) {
    Cell& cell = cells_[i];
    if (auto* object = std::get_if<ListSubItemPtr>(&cell)) (*object)->setText(std::move(text));
    else cell = std::move(text);
}

void ListItem::setIcon(std::string key) {
    if (list_ != nullptr && !key.empty()) list_->checkImageKey(list_->Icons(), key);
    icon_ = std::move(key);
}

void ListItem::setSmallIcon(std::string key) {
    if (list_ != nullptr && !key.empty()) list_->checkImageKey(list_->SmallIcons(), key);
    smallIcon_ = std::move(key);
}

namespace {
void checkSubItemIndex(int32_t index) {
    if (index < 1) throw vb::VBError(err::InvalidArrayIndex, "Invalid property array index");
}
} // namespace

std::string ListItem::SubItems(int32_t index) const {
    checkSubItemIndex(index);
    return index > subItems_.Count() ? std::string() : subItems_.text(static_cast<std::size_t>(index - 1));
}

void ListItem::setSubItems(int32_t index, std::string text) {
    checkSubItemIndex(index);
    subItems_.extendTo(static_cast<std::size_t>(index));
    subItems_.setText(static_cast<std::size_t>(index - 1), std::move(text));
}

bool ListItem::Selected() const { return list_ != nullptr && list_->SelectedItem().get() == this; }

void ListItem::setSelected(bool v) {
    if (list_ == nullptr) return;
    if (v) list_->setSelectedItem(shared_from_this());
    else if (Selected()) list_->setSelectedItem(nullptr);
}

int32_t ListItem::Index() const { return list_ == nullptr ? 0 : list_->ListItems().indexOf(*this); }

} // namespace ui

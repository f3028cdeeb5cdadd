#include "platform/ui/ListItem.h"

#include "platform/error.h"
#include "platform/ui/UIErrors.h"
#include "platform/ui/ListView.h"

namespace ui {

ListSubItemPtr ListSubItems::Add(int32_t index, const std::string& key, const std::string& text) {
    items_.checkNewKey(key);
    auto item = std::make_shared<ListSubItem>(key, text);
    if (index == 0) items_.append(item);
    else items_.insert(index, item);
    return item;
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
    return index > subItems_.Count() ? std::string() : subItems_.Item(index)->Text();
}

void ListItem::setSubItems(int32_t index, std::string text) {
    checkSubItemIndex(index);
    while (subItems_.Count() < index) subItems_.Add();
    subItems_.Item(index)->setText(std::move(text));
}

bool ListItem::Selected() const { return list_ != nullptr && list_->SelectedItem().get() == this; }

void ListItem::setSelected(bool v) {
    if (list_ == nullptr) return;
    if (v) list_->setSelectedItem(shared_from_this());
    else if (Selected()) list_->setSelectedItem(nullptr);
}

int32_t ListItem::Index() const { return list_ == nullptr ? 0 : list_->ListItems().indexOf(*this); }

} // namespace ui

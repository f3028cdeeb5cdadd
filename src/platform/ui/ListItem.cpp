#include "platform/ui/ListItem.h"

#include "platform/error.h"
#include "platform/ui/UIErrors.h"
#include "platform/ui/ListView.h"

#include <algorithm>

namespace ui {

ListSubItemPtr ListSubItems::Add(int32_t index, const std::string& key, const std::string& text) {
    if (!key.empty()) {
        if (keyed::isNumericKey(key)) keyed::raiseInvalidKey();
        if (objects_ && std::any_of(objects_->begin(), objects_->end(),
                                    [&](const ListSubItemPtr& cell) { return cell->Key() == key; }))
            keyed::raiseNotUnique();
    }
    if (index < 0 || index > Count() + 1) keyed::raiseIndexOutOfBounds();
    auto& objects = unpack();
    auto item = std::make_shared<ListSubItem>(key, text);
    objects.insert(index == 0 ? objects.end() : objects.begin() + (index - 1), item);
    return item;
}

std::size_t ListSubItems::at(int32_t index) const {
    if (index < 1 || index > Count()) keyed::raiseIndexOutOfBounds();
    return static_cast<std::size_t>(index - 1);
}

ListSubItemPtr ListSubItems::Item(int32_t index) const {
    const std::size_t i = at(index);
    return unpack()[i];
}

ListSubItemPtr ListSubItems::Item(const std::string& key) const {
    if (objects_ && !key.empty())
        for (const auto& cell : *objects_)
            if (cell->Key() == key) return cell;
    keyed::raiseNotFound();
}

void ListSubItems::Remove(int32_t index) {
    const std::size_t i = at(index);
    auto& objects = unpack();
    objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
}

void ListSubItems::Clear() {
    texts_.clear();
    objects_.reset();
}

std::string_view ListSubItems::text(std::size_t i) const { return objects_ ? (*objects_)[i]->Text() : texts_.at(i); }

void ListSubItems::setText(std::size_t i, std::string_view text) {
    if (objects_) (*objects_)[i]->setText(std::string(text));
    else texts_.set(i, text);
}

void ListSubItems::setTexts(std::initializer_list<std::string_view> texts) {
    if (!objects_) return texts_.setFirst(texts);
    extendTo(texts.size());
    std::size_t i = 0;
    for (auto text : texts) setText(i++, text);
}

void ListSubItems::extendTo(std::size_t count) {
    if (!objects_) return texts_.extendTo(count);
    while (objects_->size() < count) objects_->push_back(std::make_shared<ListSubItem>(std::string(), std::string()));
}

std::vector<ListSubItemPtr>& ListSubItems::unpack() const {
    if (objects_) return *objects_;
    objects_ = std::make_unique<std::vector<ListSubItemPtr>>();
    objects_->reserve(texts_.size());
    for (std::size_t i = 0; i < texts_.size(); ++i)
        objects_->push_back(std::make_shared<ListSubItem>(std::string(), std::string(texts_.at(i))));
    texts_.clear();
    return *objects_;
}

void ListItem::setIcon(std::string key) {
    if (list_ != nullptr && !key.empty()) list_->checkImageKey(list_->Icons(), key);
    icon_ = std::move(key);
    rowChanged();
}

void ListItem::setSmallIcon(std::string key) {
    if (list_ != nullptr && !key.empty()) list_->checkImageKey(list_->SmallIcons(), key);
    smallIcon_ = std::move(key);
    rowChanged();
}

namespace {
void checkSubItemIndex(int32_t index) {
    if (index < 1) throw vb::VBError(err::InvalidArrayIndex, "Invalid property array index");
}
} // namespace

std::string ListItem::SubItems(int32_t index) const {
    checkSubItemIndex(index);
    return index > subItems_.Count() ? std::string() : std::string(subItems_.text(static_cast<std::size_t>(index - 1)));
}

void ListItem::setSubItems(int32_t index, std::string_view text) {
    checkSubItemIndex(index);
    subItems_.extendTo(static_cast<std::size_t>(index));
    subItems_.setText(static_cast<std::size_t>(index - 1), text);
    rowChanged();
}

void ListItem::setSubItems(std::initializer_list<std::string_view> texts) {
    subItems_.setTexts(texts);
    rowChanged();
}

void ListItem::rowChanged() const {
    if (list_ != nullptr && list_->observer() != nullptr) list_->observer()->itemChanged(*list_, *this);
}

bool ListItem::Selected() const { return list_ != nullptr && list_->SelectedItem().get() == this; }

void ListItem::setSelected(bool v) {
    if (list_ == nullptr) return;
    if (v) list_->setSelectedItem(list_->ListItems().shared(*this));
    else if (Selected()) list_->setSelectedItem(nullptr);
}

int32_t ListItem::Index() const { return list_ == nullptr ? 0 : list_->ListItems().indexOf(*this); }

} // namespace ui

#include "platform/ui/ListItems.h"

#include "platform/ui/ListView.h"

namespace ui {

ListItems::~ListItems() {
    items_.forEach([](const ListItemPtr& item) { item->list_ = nullptr; });
}

ListItemPtr ListItems::Add(int32_t index, const std::string& key, const std::string& text, const std::string& icon,
                           const std::string& smallIcon) {
    // The item is built while the key's slot comes from memory; it is dropped if the key is refused.
    const std::size_t hash = items_.prepareKey(key);
    auto item = std::make_shared<ListItem>(key, text);
    item->icon_ = icon;
    item->smallIcon_ = smallIcon;
    items_.checkNewKey(key, hash);
    if (!icon.empty()) list_.checkImageKey(list_.Icons(), icon);
    if (!smallIcon.empty()) list_.checkImageKey(list_.SmallIcons(), smallIcon);
    item->list_ = &list_;
    if (index == 0) items_.append(item, hash);
    else items_.insert(index, item);
    if (auto* observer = list_.observer()) observer->itemsAdded(list_, index == 0 ? Count() : index, 1);
    return item;
}

void ListItems::Clear() {
    list_.setSelectedItem(nullptr);
    items_.forEach([](const ListItemPtr& item) { item->list_ = nullptr; });
    const int32_t count = Count();
    items_.clear();
    if (auto* observer = list_.observer(); observer != nullptr && count > 0) observer->itemsRemoved(list_, 1, count);
}

void ListItems::remove(const ListItemPtr& item) {
    list_.itemRemoving(*item);
    const int32_t index = list_.observer() != nullptr ? indexOf(*item) : 0;
    item->list_ = nullptr;
    items_.erase(*item);
    if (auto* observer = list_.observer()) observer->itemsRemoved(list_, index, 1);
}

} // namespace ui

// ListItems: the items of a ListView, 1-based, keys unique (errors as KeyedCollection). Appending
// and look-up by key are O(1).
#pragma once

#include "platform/ui/KeyedCollection.h"
#include "platform/ui/ListItem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

class ListItems {
public:
    explicit ListItems(ListView& list) : list_(list) {}
    ~ListItems();
    ListItems(const ListItems&) = delete;
    ListItems& operator=(const ListItems&) = delete;

    // index 0 appends; otherwise 1..Count+1 inserts there.
    ListItemPtr Add(int32_t index = 0, const std::string& key = {}, const std::string& text = {},
                    const std::string& icon = {}, const std::string& smallIcon = {});
    ListItemPtr Item(int32_t index) const { return items_.Item(index); }
    ListItemPtr Item(const std::string& key) const { return items_.Item(key); }
    ListItemPtr Item(const char* key) const { return items_.Item(std::string(key)); }
    ListItemPtr find(const std::string& key) const { return items_.find(key); }
    void Remove(const std::string& key) { remove(items_.Item(key)); }
    void Remove(const char* key) { Remove(std::string(key)); }
    void Remove(int32_t index) { remove(items_.Item(index)); }
    void Clear();
    int32_t Count() const { return items_.Count(); }
    int32_t indexOf(const ListItem& item) const { return items_.indexOf(item); }
    ListItemPtr shared(const ListItem& item) const { return items_.shared(item); }
    std::vector<ListItemPtr> items() const { return items_.items(); }

private:
    void remove(const ListItemPtr& item);

    ListView& list_;
    KeyedCollection<ListItem> items_;
};

} // namespace ui

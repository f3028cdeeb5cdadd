// ListItem: one item of a ListView, with its sub-items (the cells of the report view's further
// columns, 1-based: ListSubItems(1) is the second column).
#pragma once

#include "platform/ui/KeyedCollection.h"
#include "platform/ui/PackedTexts.h"
#include "platform/variant.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class ListView;

class ListSubItem : public vb::Object {
public:
    ListSubItem(std::string key, std::string text) : key_(std::move(key)), text_(std::move(text)) {}
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    bool Bold() const { return bold_; }
    void setBold(bool v) { bold_ = v; }
    const vb::Variant& Tag() const { return tag_; }
    void setTag(vb::Variant tag) { tag_ = std::move(tag); }

private:
    std::string key_;
    std::string text_;
    bool bold_ = false;
    vb::Variant tag_;
};

using ListSubItemPtr = std::shared_ptr<ListSubItem>;

// The sub-items of one item, 1-based, with the collection errors of KeyedCollection. Sub-items set
// through ListItem::setSubItems stay packed texts - the row's cells in one block - until something
// needs one as an object (Item, Add, Remove); then every cell becomes one, the object every later
// Item returns. A details list of a large folder holds hundreds of thousands of rows, read through
// SubItems(i).
class ListSubItems {
public:
    // index 0 appends; otherwise 1..Count+1 inserts there.
    ListSubItemPtr Add(int32_t index = 0, const std::string& key = {}, const std::string& text = {});
    ListSubItemPtr Item(int32_t index) const;
    ListSubItemPtr Item(const std::string& key) const;
    ListSubItemPtr Item(const char* key) const { return Item(std::string(key)); }
    void Remove(int32_t index);
    void Clear();
    int32_t Count() const { return static_cast<int32_t>(objects_ ? objects_->size() : texts_.size()); }

private:
    friend class ListItem;

    std::size_t at(int32_t index) const;  // 0-based; raises 35600 outside 1..Count
    std::string_view text(std::size_t i) const;
    void setText(std::size_t i, std::string_view text);
    void setTexts(std::initializer_list<std::string_view> texts);
    // Empty cells up to count.
    void extendTo(std::size_t count);
    // Every cell as its object from now on; returns them.
    std::vector<ListSubItemPtr>& unpack() const;

    // Unpacking is invisible to callers, so it may happen inside const look-ups. No objects (null)
    // while the cells are packed texts.
    mutable PackedTexts texts_;
    mutable std::unique_ptr<std::vector<ListSubItemPtr>> objects_;
};

class ListItem : public vb::Object, public CollectionEntry {
public:
    ListItem(std::string key, std::string text) : key_(std::move(key)), text_(std::move(text)) {}
    ListItem(const ListItem&) = delete;
    ListItem& operator=(const ListItem&) = delete;

    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void setText(std::string text) {
        text_ = std::move(text);
        rowChanged();
    }
    const vb::Variant& Tag() const { return tag_; }
    void setTag(vb::Variant tag) { tag_ = std::move(tag); }
    bool Bold() const { return bold_; }
    void setBold(bool v) {
        bold_ = v;
        rowChanged();
    }
    // Image keys in the list's Icons / SmallIcons; empty for none. A key the image list does not
    // hold raises 35601, any key while the list has no such image list 35613.
    const std::string& Icon() const { return icon_; }
    void setIcon(std::string key);
    const std::string& SmallIcon() const { return smallIcon_; }
    void setSmallIcon(std::string key);

    ui::ListSubItems& ListSubItems() { return subItems_; }
    const ui::ListSubItems& ListSubItems() const { return subItems_; }
    // VB's SubItems(i): the text of sub-item i (1-based; "" when there is none yet). Setting adds
    // empty sub-items up to i as needed.
    std::string SubItems(int32_t index) const;
    void setSubItems(int32_t index, std::string_view text);
    // SubItems(1..n) set in one go: a row filled cell by cell would rebuild its block each time.
    void setSubItems(std::initializer_list<std::string_view> texts);

    bool Selected() const;
    void setSelected(bool v);
    // 1-based position in the list; 0 once removed.
    int32_t Index() const;
    // The list holding the item; nullptr once removed.
    ListView* listView() const { return list_; }

private:
    friend class ListItems;

    // Tells the list's observer that this row shows something new.
    void rowChanged() const;

    std::string key_;
    std::string text_;
    vb::Variant tag_;
    bool bold_ = false;
    std::string icon_;
    std::string smallIcon_;
    ui::ListSubItems subItems_;
    ListView* list_ = nullptr;
};

using ListItemPtr = std::shared_ptr<ListItem>;

} // namespace ui

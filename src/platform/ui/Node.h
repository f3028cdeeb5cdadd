// Node: one node of a TreeView. Structure (Parent, Child, Next, Children) is kept by the tree's
// Nodes collection; a node removed from the tree keeps its texts but has no tree, parent or
// children any more.
#pragma once

#include "platform/ui/KeyedCollection.h"
#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace ui {

class TreeView;
class Nodes;
class Node;
using NodePtr = std::shared_ptr<Node>;

class Node : public vb::Object, public CollectionEntry, public std::enable_shared_from_this<Node> {
public:
    Node(std::string key, std::string text) : key_(std::move(key)), text_(std::move(text)) {}
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    // In a sorted tree the node moves to its place among its siblings.
    void setText(std::string text);
    const vb::Variant& Tag() const { return tag_; }
    void setTag(vb::Variant tag) { tag_ = std::move(tag); }
    // Image keys in the tree's ImageList; empty for none. A key the ImageList does not hold raises
    // 35601, any key while the tree has no ImageList 35613.
    const std::string& Image() const { return image_; }
    void setImage(std::string key);
    const std::string& SelectedImage() const { return selectedImage_; }
    void setSelectedImage(std::string key);
    bool Expanded() const { return expanded_; }
    void setExpanded(bool v) {
        expanded_ = v;
        shown();
    }
    bool Bold() const { return bold_; }
    void setBold(bool v) {
        bold_ = v;
        shown();
    }
    // Whether the node's own children are kept sorted by text (the tree's Sorted sorts all levels).
    bool Sorted() const { return sorted_; }
    void setSorted(bool v);

    bool Selected() const;
    // True makes the node the tree's SelectedItem; False clears the selection if it is this node.
    void setSelected(bool v);

    NodePtr Parent() const;
    NodePtr Child() const;     // first child in display order
    NodePtr Next() const;      // next sibling
    NodePtr Previous() const;  // previous sibling
    int32_t Children() const { return childCount_; }
    std::vector<NodePtr> childNodes() const;
    // 1-based position in the tree's Nodes collection (order of adding); 0 once removed.
    int32_t Index() const;
    // Depth below the roots (0 for a root node).
    int32_t level() const;

    // The tree holding the node; nullptr once removed.
    TreeView* treeView() const { return tree_; }

    // Sorted order: text compared case-insensitively, then order of adding.
    struct TextOrder {
        bool operator()(const Node* a, const Node* b) const;
    };

private:
    friend class Nodes;

    // Tells the tree's observer that this node shows something new in the same place.
    void shown();

    std::string key_;
    std::string text_;
    vb::Variant tag_;
    std::string image_;
    std::string selectedImage_;
    bool expanded_ = false;
    bool bold_ = false;
    bool sorted_ = false;

    // Sibling links and counts are owned by Nodes; the raw pointers never outlive the tree's hold.
    TreeView* tree_ = nullptr;
    Node* parent_ = nullptr;  // the hidden root for top-level nodes
    Node* firstChild_ = nullptr;
    Node* lastChild_ = nullptr;
    Node* prev_ = nullptr;
    Node* next_ = nullptr;
    int32_t childCount_ = 0;
    uint64_t sequence_ = 0;  // order of adding, the tie-break between equal texts

    // While this node's children are sorted: them in text order, so that an insertion or a
    // renamed child finds its place in O(log n). Made with the first child of a sorted level.
    bool childrenSorted_ = false;
    std::unique_ptr<std::set<Node*, TextOrder>> sortedChildren_;
};

} // namespace ui

// Nodes: the TreeView's collection of all its nodes, in order of adding (1-based), with keys unique
// across the whole tree. Add places the node relative to another:
//   Add(Empty, ...)                      a new last top-level node
//   Add(relative, tvwChild, ...)         last child of relative
//   Add(relative, tvwFirst / tvwLast)    first / last sibling of relative
//   Add(relative, tvwNext / tvwPrevious) just after / before relative
// relative is a key (text), a 1-based index (number) or a node of this tree. In a sorted level the node goes to its
// place by text whatever the relationship says. Errors: an unknown relative 35601, a relationship
// outside 0..4 error 5, a bad key 35602 / 35603 (see KeyedCollection). Remove(key or index) takes
// the node and its whole subtree out in time proportional to the subtree.
#pragma once

#include "platform/ui/KeyedCollection.h"
#include "platform/ui/Node.h"
#include "platform/variant.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

namespace tvw {
constexpr int32_t First = 0;
constexpr int32_t Last = 1;
constexpr int32_t Next = 2;
constexpr int32_t Previous = 3;
constexpr int32_t Child = 4;
} // namespace tvw

class Nodes {
public:
    explicit Nodes(TreeView& tree);
    ~Nodes();
    Nodes(const Nodes&) = delete;
    Nodes& operator=(const Nodes&) = delete;

    NodePtr Add(const vb::Variant& relative = {}, int32_t relationship = tvw::Next, const std::string& key = {},
                const std::string& text = {}, const std::string& image = {}, const std::string& selectedImage = {});
    NodePtr Item(int32_t index) const { return all_.Item(index); }
    NodePtr Item(const std::string& key) const { return all_.Item(key); }
    NodePtr Item(const char* key) const { return all_.Item(std::string(key)); }
    // Key, 1-based index or a Node of this tree, as VB's Nodes(x).
    NodePtr Item(const vb::Variant& keyOrIndex) const;
    // The node with that key, or nullptr (no error).
    NodePtr find(const std::string& key) const { return all_.find(key); }
    void Remove(const std::string& key);
    void Remove(const char* key) { Remove(std::string(key)); }
    void Remove(int32_t index);
    void Clear();
    int32_t Count() const { return all_.Count(); }

    // Top-level nodes in display order.
    std::vector<NodePtr> roots() const;
    // The nodes a person sees, top to bottom: roots and the children of expanded nodes.
    std::vector<NodePtr> visibleNodes() const;

    // Used by Node.
    int32_t indexOf(const Node& node) const { return all_.indexOf(node); }
    void rename(Node& node, std::string text);
    void sortChildren(Node& parent, bool sorted);
    void sortAll(bool sorted);
    bool isRoot(const Node* node) const { return node == &root_; }

private:
    void link(Node& parent, Node& node, Node* before);
    void unlink(Node& node);
    void placeSorted(Node& parent, Node& node);
    bool levelSorted(const Node& parent) const;
    void removeSubtree(Node& top);
    void detach(Node& node);
    void structureChanged();

    TreeView& tree_;
    Node root_;  // hidden parent of the top-level nodes
    KeyedCollection<Node> all_;
    uint64_t nextSequence_ = 1;
};

} // namespace ui

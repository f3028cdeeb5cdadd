#include "platform/ui/Nodes.h"

#include "platform/error.h"
#include "platform/ui/TreeView.h"

namespace ui {

namespace {
using SortedSet = std::set<Node*, Node::TextOrder>;
} // namespace

Nodes::Nodes(TreeView& tree) : tree_(tree), root_({}, {}) { root_.tree_ = &tree; }

Nodes::~Nodes() { Clear(); }

NodePtr Nodes::Item(const vb::Variant& keyOrIndex) const {
    if (keyOrIndex.isObject()) {
        auto node = keyOrIndex.as<Node>();
        if (!node || node->treeView() != &tree_) throw vb::VBError(vb::err::ElementNotFound, "Element not found");
        return node;
    }
    if (keyOrIndex.isString()) return Item(keyOrIndex.toString());
    if (keyOrIndex.isNumeric()) return Item(keyOrIndex.toLong());
    throw vb::VBError(vb::err::TypeMismatch, "Type mismatch");
}

NodePtr Nodes::Add(const vb::Variant& relative, int32_t relationship, const std::string& key, const std::string& text,
                   const std::string& image, const std::string& selectedImage) {
    if (relationship < tvw::First || relationship > tvw::Child)
        throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
    all_.checkNewKey(key);
    Node* parent = &root_;
    Node* before = nullptr;  // insert before this sibling; nullptr: at the end
    if (!relative.isEmpty()) {
        Node& rel = *Item(relative);
        if (relationship == tvw::Child) {
            parent = &rel;
        } else {
            parent = rel.parent_;
            if (relationship == tvw::First) before = parent->firstChild_;
            else if (relationship == tvw::Next) before = rel.next_;
            else if (relationship == tvw::Previous) before = &rel;
        }
    }
    if (!image.empty()) tree_.checkImageKey(image);
    if (!selectedImage.empty()) tree_.checkImageKey(selectedImage);

    auto node = std::make_shared<Node>(key, text);
    node->tree_ = &tree_;
    node->sequence_ = nextSequence_++;
    node->image_ = image;
    node->selectedImage_ = selectedImage;
    node->childrenSorted_ = tree_.Sorted();
    all_.append(node);
    if (levelSorted(*parent)) placeSorted(*parent, *node);
    else link(*parent, *node, before);
    structureChanged();
    return node;
}

void Nodes::Remove(const std::string& key) { removeSubtree(*Item(key)); }

void Nodes::Remove(int32_t index) { removeSubtree(*Item(index)); }

void Nodes::Clear() {
    tree_.setSelectedItem(nullptr);
    all_.forEach([&](const NodePtr& node) { detach(*node); });
    all_.clear();
    root_.firstChild_ = root_.lastChild_ = nullptr;
    root_.childCount_ = 0;
    root_.sortedChildren_.reset();
    structureChanged();
}

std::vector<NodePtr> Nodes::roots() const { return root_.childNodes(); }

std::vector<NodePtr> Nodes::visibleNodes() const {
    std::vector<NodePtr> out;
    std::vector<Node*> pending;  // depth-first, next node to show on top
    for (Node* c = root_.lastChild_; c != nullptr; c = c->prev_) pending.push_back(c);
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        out.push_back(node->shared_from_this());
        if (node->expanded_)
            for (Node* c = node->lastChild_; c != nullptr; c = c->prev_) pending.push_back(c);
    }
    return out;
}

void Nodes::rename(Node& node, std::string text) {
    Node* parent = node.parent_;
    if (parent == nullptr || !levelSorted(*parent)) {
        node.text_ = std::move(text);
        node.shown();
        return;
    }
    unlink(node);
    node.text_ = std::move(text);
    placeSorted(*parent, node);
    structureChanged();
}

void Nodes::sortChildren(Node& parent, bool sorted) {
    if (!sorted) {
        parent.childrenSorted_ = false;
        parent.sortedChildren_.reset();
        return;
    }
    if (parent.childrenSorted_) return;
    parent.childrenSorted_ = true;
    if (parent.firstChild_ == nullptr) return;
    auto order = std::make_unique<SortedSet>();
    for (Node* c = parent.firstChild_; c != nullptr; c = c->next_) order->insert(c);
    parent.firstChild_ = parent.lastChild_ = nullptr;
    parent.childCount_ = 0;
    for (Node* c : *order) link(parent, *c, nullptr);
    parent.sortedChildren_ = std::move(order);
}

void Nodes::sortAll(bool sorted) {
    sortChildren(root_, sorted);
    all_.forEach([&](const NodePtr& node) { sortChildren(*node, sorted || node->sorted_); });
    structureChanged();
}

void Nodes::structureChanged() {
    if (auto* observer = tree_.observer()) observer->nodesChanged(tree_);
}

void Nodes::link(Node& parent, Node& node, Node* before) {
    node.parent_ = &parent;
    node.next_ = before;
    node.prev_ = before != nullptr ? before->prev_ : parent.lastChild_;
    if (node.prev_ != nullptr) node.prev_->next_ = &node;
    else parent.firstChild_ = &node;
    if (before != nullptr) before->prev_ = &node;
    else parent.lastChild_ = &node;
    ++parent.childCount_;
}

void Nodes::unlink(Node& node) {
    Node& parent = *node.parent_;
    if (node.prev_ != nullptr) node.prev_->next_ = node.next_;
    else parent.firstChild_ = node.next_;
    if (node.next_ != nullptr) node.next_->prev_ = node.prev_;
    else parent.lastChild_ = node.prev_;
    --parent.childCount_;
    if (parent.sortedChildren_) parent.sortedChildren_->erase(&node);
    node.parent_ = node.prev_ = node.next_ = nullptr;
}

void Nodes::placeSorted(Node& parent, Node& node) {
    if (!parent.sortedChildren_) parent.sortedChildren_ = std::make_unique<SortedSet>();
    auto [at, inserted] = parent.sortedChildren_->insert(&node);
    (void)inserted;  // the sequence number makes every node distinct
    auto after = std::next(at);
    link(parent, node, after == parent.sortedChildren_->end() ? nullptr : *after);
}

bool Nodes::levelSorted(const Node& parent) const { return parent.childrenSorted_; }

void Nodes::removeSubtree(Node& top) {
    auto keepAlive = top.shared_from_this();
    const NodePtr& selected = tree_.SelectedItem();
    bool selectionInside = false;
    for (const Node* n = selected.get(); n != nullptr && !isRoot(n); n = n->parent_)
        if (n == &top) selectionInside = true;
    if (selectionInside) {
        Node* heir = top.next_ != nullptr ? top.next_ : top.prev_ != nullptr ? top.prev_ : top.parent_;
        tree_.setSelectedItem(heir == nullptr || isRoot(heir) ? nullptr : heir->shared_from_this());
    }
    unlink(top);
    // Each node is detached before the collection lets go of it; its children are still held by
    // the collection until their own turn.
    std::vector<Node*> pending{&top};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        for (Node* c = node->firstChild_; c != nullptr; c = c->next_) pending.push_back(c);
        detach(*node);
        all_.erase(*node);
    }
    structureChanged();
}

void Nodes::detach(Node& node) {
    node.tree_ = nullptr;
    node.parent_ = node.firstChild_ = node.lastChild_ = node.prev_ = node.next_ = nullptr;
    node.childCount_ = 0;
    node.childrenSorted_ = false;
    node.sortedChildren_.reset();
}

} // namespace ui

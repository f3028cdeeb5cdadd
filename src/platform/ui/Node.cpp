#include "platform/ui/Node.h"

#include "platform/ui/Nodes.h"
#include "platform/ui/TreeView.h"

#include <algorithm>

namespace ui {

bool Node::TextOrder::operator()(const Node* a, const Node* b) const {
    const std::string& x = a->text_;
    const std::string& y = b->text_;
    const std::size_t n = std::min(x.size(), y.size());
    const auto lower = [](char c) {  // ASCII only: the order must not depend on the C locale
        const auto u = static_cast<unsigned char>(c);
        return u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const auto cx = lower(x[i]), cy = lower(y[i]);
        if (cx != cy) return cx < cy;
    }
    if (x.size() != y.size()) return x.size() < y.size();
    return a->sequence_ < b->sequence_;
}

void Node::setText(std::string text) {
    if (tree_ != nullptr) tree_->Nodes().rename(*this, std::move(text));
    else text_ = std::move(text);
}

void Node::setImage(std::string key) {
    if (tree_ != nullptr && !key.empty()) tree_->checkImageKey(key);
    image_ = std::move(key);
    shown();
}

void Node::setSelectedImage(std::string key) {
    if (tree_ != nullptr && !key.empty()) tree_->checkImageKey(key);
    selectedImage_ = std::move(key);
    shown();
}

void Node::setSorted(bool v) {
    sorted_ = v;
    if (tree_ == nullptr) return;
    tree_->Nodes().sortChildren(*this, v || tree_->Sorted());
    if (tree_->observer() != nullptr) tree_->observer()->nodesChanged(*tree_);
}

void Node::shown() {
    if (tree_ != nullptr && tree_->observer() != nullptr) tree_->observer()->nodeChanged(*tree_, *this);
}

bool Node::Selected() const { return tree_ != nullptr && tree_->SelectedItem().get() == this; }

void Node::setSelected(bool v) {
    if (tree_ == nullptr) return;
    if (v) tree_->setSelectedItem(shared_from_this());
    else if (Selected()) tree_->setSelectedItem(nullptr);
}

namespace {
NodePtr share(Node* node) { return node == nullptr ? nullptr : node->shared_from_this(); }
} // namespace

NodePtr Node::Parent() const {
    if (tree_ == nullptr || tree_->Nodes().isRoot(parent_)) return nullptr;
    return share(parent_);
}

NodePtr Node::Child() const { return share(firstChild_); }

NodePtr Node::Next() const { return share(next_); }

NodePtr Node::Previous() const { return share(prev_); }

std::vector<NodePtr> Node::childNodes() const {
    std::vector<NodePtr> out;
    out.reserve(static_cast<std::size_t>(childCount_));
    for (Node* c = firstChild_; c != nullptr; c = c->next_) out.push_back(c->shared_from_this());
    return out;
}

int32_t Node::Index() const { return tree_ == nullptr ? 0 : tree_->Nodes().indexOf(*this); }

int32_t Node::level() const {
    if (tree_ == nullptr) return 0;
    int32_t depth = 0;
    for (const Node* p = parent_; p != nullptr && !tree_->Nodes().isRoot(p); p = p->parent_) ++depth;
    return depth;
}

} // namespace ui

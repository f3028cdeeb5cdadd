#include "platform/ui/TreeView.h"

#include "platform/error.h"
#include "platform/ui/UIErrors.h"

namespace ui {

TreeView::TreeView() : nodes_(std::make_unique<ui::Nodes>(*this)) {}

// Nodes first: clearing them still reads the selection.
TreeView::~TreeView() { nodes_.reset(); }

void TreeView::setSorted(bool v) {
    sorted_ = v;
    nodes_->sortAll(v);
}

void TreeView::setSelectedItem(NodePtr node) {
    if (node && node->treeView() != this) throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value");
    selected_ = std::move(node);
    notify(Aspect::Selection);
}

int32_t TreeView::itemLeft(const Node& node) const {
    return (node.level() + (lineStyle_ == tvw::RootLines ? 1 : 0)) * indentation_;
}

NodePtr TreeView::HitTest(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width()) return nullptr;
    const auto rows = nodes_->visibleNodes();
    const auto row = static_cast<std::size_t>(y / RowHeight);
    if (row >= rows.size() || x < itemLeft(*rows[row])) return nullptr;
    return rows[row];
}

std::optional<std::pair<int32_t, int32_t>> TreeView::pointOf(const Node& node) const {
    if (node.treeView() != this) return std::nullopt;
    const auto rows = nodes_->visibleNodes();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].get() != &node) continue;
        const int32_t left = itemLeft(node);
        if (left >= Width()) return std::nullopt;
        return std::make_pair(left + (Width() - left) / 2, static_cast<int32_t>(row) * RowHeight + RowHeight / 2);
    }
    return std::nullopt;  // under a collapsed parent
}

namespace {
std::pair<int32_t, int32_t> clickable(const TreeView& tree, const NodePtr& node) {
    auto point = node ? tree.pointOf(*node) : std::nullopt;
    if (!point) throw vb::VBError(vb::err::ElementNotFound, "Element not found");
    return *point;
}
} // namespace

void TreeView::click(const NodePtr& node) {
    const auto [x, y] = clickable(*this, node);
    raise(onMouseDown, vbLeftButton, int16_t{0}, x, y);
    setSelectedItem(node);
    raise(onNodeClick, node);
    raise(onMouseUp, vbLeftButton, int16_t{0}, x, y);
}

void TreeView::dblclick(const NodePtr& node) {
    click(node);
    raise(onDblClick);
}

void TreeView::rightclick(const NodePtr& node) {
    const auto [x, y] = clickable(*this, node);
    raise(onMouseDown, vbRightButton, int16_t{0}, x, y);
    raise(onMouseUp, vbRightButton, int16_t{0}, x, y);
}

void TreeView::clickAt(int16_t button, int32_t x, int32_t y) {
    raise(onMouseDown, button, int16_t{0}, x, y);
    if (button == vbLeftButton) {
        if (auto node = HitTest(x, y)) {
            setSelectedItem(node);
            raise(onNodeClick, node);
        }
    }
    raise(onMouseUp, button, int16_t{0}, x, y);
}

void TreeView::checkImageKey(const std::string& key) const {
    if (!imageList_) throw vb::VBError(err::ImageListNotInitialized, "ImageList must be initialized before it can be used");
    if (!imageList_->ListImages().contains(key)) throw vb::VBError(vb::err::ElementNotFound, "Element not found");
}

} // namespace ui

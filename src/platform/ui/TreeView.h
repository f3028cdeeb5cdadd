// TreeView: the tree common control.
//
// Sorted: when True every level of the tree - the top-level nodes and the children of every node -
// is kept in text order (case-insensitive, equal texts in order of adding), also when a node's
// text changes later. A node's own Sorted sorts just its children.
//
// Layout (for HitTest and the click helpers): the visible nodes (roots, and children of expanded
// nodes) stand in rows of RowHeight (240) twips from the top; the tree does not scroll. A node's
// row is hit from its indentation - (level + 1 with root lines, else level) x Indentation (285)
// twips - to the control's right edge; left of that, below the last row, above the top or beyond
// the control's width, nothing is hit.
//
// Removing the selected node (or a node above it) hands the selection to the removed subtree's
// next sibling, else its previous sibling, else its parent, else to nothing; Clear selects nothing.
//
// Events and what the helpers fire (a person's actions):
//   click(node):      onMouseDown(1), node selected, onNodeClick(node), onMouseUp(1)
//   dblclick(node):   click(node), then onDblClick()
//   rightclick(node): onMouseDown(2), onMouseUp(2) - the selection does not change
#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Node.h"
#include "platform/ui/Nodes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace ui {

namespace tvw {
constexpr int16_t TreeLines = 0;
constexpr int16_t RootLines = 1;
constexpr int16_t LabelAutomatic = 0;
constexpr int16_t LabelManual = 1;
} // namespace tvw

class TreeView : public Control {
public:
    static constexpr int32_t RowHeight = 240;
    static constexpr int32_t DefaultIndentation = 285;

    TreeView();
    ~TreeView() override;

    ui::Nodes& Nodes() { return *nodes_; }
    const ui::Nodes& Nodes() const { return *nodes_; }

    bool Sorted() const { return sorted_; }
    void setSorted(bool v);
    int16_t LineStyle() const { return lineStyle_; }
    void setLineStyle(int16_t v) { lineStyle_ = v; }
    int16_t LabelEdit() const { return labelEdit_; }
    void setLabelEdit(int16_t v) { labelEdit_ = v; }
    int32_t Indentation() const { return indentation_; }
    void setIndentation(int32_t twips) { indentation_ = twips; }
    bool FullRowSelect() const { return fullRowSelect_; }
    void setFullRowSelect(bool v) { fullRowSelect_ = v; }
    bool HotTracking() const { return hotTracking_; }
    void setHotTracking(bool v) { hotTracking_ = v; }
    const ImageListPtr& ImageList() const { return imageList_; }
    void setImageList(ImageListPtr list) { imageList_ = std::move(list); }

    const NodePtr& SelectedItem() const { return selected_; }
    // Selects node (nullptr: none) without raising NodeClick, as setting it from code does.
    void setSelectedItem(NodePtr node);

    // The node whose row contains (x, y), twips relative to the control; nullptr when none.
    NodePtr HitTest(int32_t x, int32_t y) const;
    // A point inside node's row (where a person would click it); nullopt when the node is not in
    // this tree or hidden under a collapsed parent.
    std::optional<std::pair<int32_t, int32_t>> pointOf(const Node& node) const;

    // A person's actions (see the header comment). A node that cannot be clicked (hidden or not in
    // this tree) raises error 35601.
    void click(const NodePtr& node);
    void dblclick(const NodePtr& node);
    void rightclick(const NodePtr& node);
    // A press at a point, e.g. beside every node: onMouseDown, onMouseUp with that button.
    void clickAt(int16_t button, int32_t x, int32_t y);
    void mouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) { raise(onMouseMove, button, shift, x, y); }

    std::function<void(const NodePtr&)> onNodeClick;
    std::function<void()> onDblClick;
    std::function<void(int16_t button, int16_t shift, int32_t x, int32_t y)> onMouseDown;
    std::function<void(int16_t button, int16_t shift, int32_t x, int32_t y)> onMouseMove;
    std::function<void(int16_t button, int16_t shift, int32_t x, int32_t y)> onMouseUp;

    // Used by Node to check image keys against the ImageList.
    void checkImageKey(const std::string& key) const;

private:
    std::pair<int32_t, int32_t> pointIn(const Node& node, int32_t row) const;
    int32_t itemLeft(const Node& node) const;

    std::unique_ptr<ui::Nodes> nodes_;
    bool sorted_ = false;
    int16_t lineStyle_ = tvw::TreeLines;
    int16_t labelEdit_ = tvw::LabelAutomatic;
    int32_t indentation_ = DefaultIndentation;
    bool fullRowSelect_ = false;
    bool hotTracking_ = false;
    ImageListPtr imageList_;
    NodePtr selected_;
};

} // namespace ui

// Observer: what a renderer is told of changes to the controls it shows, in ranges rather than one
// message per cell - a folder of 200,000 routines reaches a virtual list view as rows added, and the
// view asks the model for a row's texts only when it paints that row. A control with no observer
// (the text renderer, the JSON dump and every test read the model directly) pays one null test per
// change.
//
// Calls come after the change, from whatever code changed the model; an observer reads the model
// again for what it needs and never holds state of its own that the model does not have. It must
// not change the model from inside a call.
#pragma once

#include <cstdint>

namespace ui {

class Control;
class ListItem;
class ListView;
class Node;
class TreeView;

// Which property of a control changed.
enum class Aspect {
    Geometry,   // Left, Top, Width, Height
    Visible,
    Enabled,
    Font,
    Text,       // a caption, a text box's or combo box's text
    Value,      // a progress bar's value or range, a combo box's list or choice
    Picture,    // an image's or form's picture
    Selection,  // a tree's or list's selected node or item
    View,       // a list's view or columns
};

class Observer {
public:
    virtual ~Observer() = default;

    virtual void changed(Control& control, Aspect aspect) = 0;
    // The control is being destroyed: forget it (its parts are gone already).
    virtual void forgotten(Control& control) = 0;
    // Rows [start, start + length) of the list (1-based) were added or are gone. After itemsRemoved
    // the rows from start on have moved up.
    virtual void itemsAdded(ListView& list, int32_t start, int32_t length) = 0;
    virtual void itemsRemoved(ListView& list, int32_t start, int32_t length) = 0;
    // One row shows new texts, icons or boldness in its place. The row is passed, not its number:
    // a row is filled cell by cell right after it is added, and an observer that repaints the whole
    // list anyway need not look its place up each time (item.Index() gives it).
    virtual void itemChanged(ListView& list, const ListItem& item) = 0;
    // Nodes were added, removed or reordered somewhere in the tree.
    virtual void nodesChanged(TreeView& tree) = 0;
    // One node shows a new text, image, boldness or expansion, in the same place.
    virtual void nodeChanged(TreeView& tree, Node& node) = 0;
};

} // namespace ui

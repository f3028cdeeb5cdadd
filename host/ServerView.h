// ServerView: where the host finds the add-in's server view - the control in its tool window's
// document - and the parts of it a person acts on: the tree, the details list and the context
// menus, all found by their names in the widget model. Nodes are named by key ("K12") or by the
// texts on the way from the root ("Inventory/INVDB/Tables"); list items by key or text.
#pragma once

#include <memory>
#include <string>

namespace sim {
class SimVBE;
class SimWindow;
} // namespace sim

namespace ui {
class ListItem;
class ListView;
class Menu;
class Node;
class TreeView;
class UserControl;
} // namespace ui

namespace host {

inline constexpr char serverViewWindowGuid[] = "{0B94D986-EEEA-4cbc-9652-C51DC0AD5704}";

struct ServerView {
    std::shared_ptr<sim::SimWindow> window;
    std::shared_ptr<ui::UserControl> control;
    std::shared_ptr<ui::TreeView> tree;
    std::shared_ptr<ui::ListView> list;

    // The server view of the add-in's tool window, or nullopt-like empty control when there is none
    // (the add-in was never started, or its window is gone).
    static ServerView find(const sim::SimVBE& ide);
    explicit operator bool() const { return control && tree && list; }

    // HostError when there is no such node, item or menu.
    std::shared_ptr<ui::Node> node(const std::string& keyOrPath) const;
    std::shared_ptr<ui::ListItem> item(const std::string& keyOrText) const;
    std::shared_ptr<ui::Menu> menu(const std::string& name) const;
};

// A node reference that is a key: "K" and a whole number.
bool isNodeKey(const std::string& text);

} // namespace host

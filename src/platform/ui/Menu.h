// Menu: a menu title or item of a form or user control. An item whose caption is "-" is a
// separator. Items may have items of their own (submenus). Click runs the item's handler.
#pragma once

#include "platform/variant.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Menu;
using MenuPtr = std::shared_ptr<Menu>;

class Menu : public vb::Object {
public:
    Menu(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }
    const std::string& Tag() const { return tag_; }
    void setTag(std::string tag) { tag_ = std::move(tag); }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v) { enabled_ = v; }
    bool Visible() const { return visible_; }
    void setVisible(bool v) { visible_ = v; }
    bool Checked() const { return checked_; }
    void setChecked(bool v) { checked_ = v; }
    bool isSeparator() const { return caption_ == "-"; }

    // Appends an item (or a separator, caption "-") under this menu.
    MenuPtr add(std::string name, std::string caption);
    const std::vector<MenuPtr>& items() const { return items_; }
    Menu* parent() const { return parent_; }
    // This menu or the item with that name below it; nullptr when there is none.
    Menu* find(const std::string& name);
    // Whether a person can choose it inside an open popup of root: it is below root, it and its
    // parent menus up to root are visible and enabled, and it is neither a separator nor a
    // submenu title.
    bool choosableIn(const Menu& root) const;

    void click();

    std::function<void()> onClick;

private:
    std::string name_;
    std::string caption_;
    std::string tag_;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    std::vector<MenuPtr> items_;
    Menu* parent_ = nullptr;
};

} // namespace ui

#include "platform/ui/Menu.h"

#include "platform/ui/Control.h"

namespace ui {

MenuPtr Menu::add(std::string name, std::string caption) {
    auto item = std::make_shared<Menu>(std::move(name), std::move(caption));
    item->parent_ = this;
    items_.push_back(item);
    return item;
}

Menu* Menu::find(const std::string& name) {
    if (name_ == name) return this;
    for (const auto& item : items_)
        if (Menu* found = item->find(name)) return found;
    return nullptr;
}

bool Menu::choosableIn(const Menu& root) const {
    if (isSeparator() || this == &root || !items_.empty()) return false;
    for (const Menu* m = this; m != &root; m = m->parent_) {
        if (m == nullptr || !m->visible_ || !m->enabled_) return false;
    }
    return true;
}

void Menu::click() { ui::raise(onClick); }

} // namespace ui

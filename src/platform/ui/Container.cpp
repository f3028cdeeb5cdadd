#include "platform/ui/Container.h"

#include "platform/ui/Menu.h"

#include <algorithm>

namespace ui {

Container::~Container() {
    for (const auto& control : controls_) control->container_ = nullptr;
}

void Container::adopt(const ControlPtr& control) {
    // The newcomer, and whatever sits in its frames, go to the end of the form's tab order.
    auto next = static_cast<int32_t>(form().tabPlaces().size());
    control->container_ = this;
    controls_.push_back(control);
    control->tabIndex_ = next++;
    if (auto* inner = dynamic_cast<Container*>(control.get()); inner && !inner->ownsTabOrder())
        for (Control* c : inner->tabOrder()) c->tabIndex_ = next++;
}

Container& Container::form() {
    Container* top = this;
    while (!top->ownsTabOrder() && top->self().container_ != nullptr) top = top->self().container_;
    return *top;
}

std::vector<Control*> Container::tabPlaces() {
    std::vector<Control*> places;
    for (const auto& c : controls_) {
        places.push_back(c.get());
        if (auto* inner = dynamic_cast<Container*>(c.get()); inner && !inner->ownsTabOrder())
            for (Control* nested : inner->tabPlaces()) places.push_back(nested);
    }
    return places;
}

std::vector<Control*> Container::tabOrder() {
    std::vector<Control*> order = tabPlaces();
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex_ < b->tabIndex_; });
    return order;
}

MenuPtr Container::addMenu(std::string name, std::string caption) {
    menus_.push_back(std::make_shared<Menu>(std::move(name), std::move(caption)));
    return menus_.back();
}

ControlPtr Container::control(const std::string& name) const {
    for (const auto& c : allControls())
        if (c->Name() == name) return c;
    return nullptr;
}

MenuPtr Container::menu(const std::string& name) const {
    for (const auto& top : menus_) {
        if (top->Name() == name) return top;
        if (Menu* found = top->find(name)) {
            // Items are owned by their parent menu; hand out the owning pointer.
            for (const auto& item : found->parent()->items())
                if (item.get() == found) return item;
        }
    }
    return nullptr;
}

std::vector<ControlPtr> Container::allControls() const {
    std::vector<ControlPtr> out;
    for (const auto& c : controls_) {
        out.push_back(c);
        if (auto* inner = dynamic_cast<Container*>(c.get())) {
            auto nested = inner->allControls();
            out.insert(out.end(), nested.begin(), nested.end());
        }
    }
    return out;
}

} // namespace ui

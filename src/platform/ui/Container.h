// Container: the controls and menus that sit on a form, a user control or a frame. Controls are
// created by the container that holds them (add<T>), so each knows where it sits.
#pragma once

#include "platform/ui/Control.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class Menu;
using MenuPtr = std::shared_ptr<Menu>;

class Container {
public:
    // Controls held elsewhere outlive their container; they then sit on nothing.
    virtual ~Container();

    // Creates a control of kind T named name on this container (placed last in the control list).
    template <class T, class... A>
    std::shared_ptr<T> add(std::string name, A&&... args) {
        auto control = std::make_shared<T>(std::forward<A>(args)...);
        control->setName(std::move(name));
        adopt(control);
        return control;
    }

    // Puts a control made elsewhere on this container under that name - a user control made with
    // ui::New that a form or document also keeps in a field - so that it is found like the others.
    template <class T>
    std::shared_ptr<T> addExisting(std::string name, std::shared_ptr<T> control) {
        control->setName(std::move(name));
        adopt(control);
        return control;
    }

    // Top-level menu of this form or user control (a menu bar title or a popup-only menu).
    MenuPtr addMenu(std::string name, std::string caption);

    const std::vector<ControlPtr>& controls() const { return controls_; }
    const std::vector<MenuPtr>& menus() const { return menus_; }

    // The control with that name here or inside a frame here; nullptr when there is none.
    ControlPtr control(const std::string& name) const;
    template <class T>
    std::shared_ptr<T> control(const std::string& name) const {
        return std::dynamic_pointer_cast<T>(control(name));
    }
    // The menu or menu item with that name at any depth; nullptr when there is none.
    MenuPtr menu(const std::string& name) const;
    // Every control here and inside frames here, depth first in creation order.
    std::vector<ControlPtr> allControls() const;
    // The form, user control or document whose tab order the controls here share: this container,
    // or for a frame the nearest container round it that is not a frame.
    Container& form();
    // Every control on this form and in its frames, by TabIndex.
    std::vector<Control*> tabOrder();
    // False for a frame, whose controls take their places in the tab order of the form round it.
    virtual bool ownsTabOrder() const { return true; }

    // Whether controls on this container are live: a form must be loaded for its timers to run and
    // its controls to be reachable by a person.
    virtual bool isLive() const { return true; }
    // The Control that is this container (the form, user control or frame itself).
    virtual Control& self() = 0;
    const Control& self() const { return const_cast<Container*>(this)->self(); }

private:
    void adopt(const ControlPtr& control);
    // The controls with a place in this form's tab order, in creation order.
    std::vector<Control*> tabPlaces();

    std::vector<ControlPtr> controls_;
    std::vector<MenuPtr> menus_;
};

} // namespace ui

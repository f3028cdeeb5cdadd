// Control: what every form, user control and control on them has in common - a name, a position
// and size in twips inside its container, visibility, enabled state, a font and a tag. Objects of
// the widget model are held by std::shared_ptr; a renderer only reads them.
#pragma once

#include "platform/errorhandling.h"
#include "platform/ui/Font.h"
#include "platform/ui/Observer.h"
#include "platform/variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace ui {

class Container;

// Mouse buttons in mouse events, as the VB runtime numbers them.
constexpr int16_t vbLeftButton = 1;
constexpr int16_t vbRightButton = 2;
constexpr int16_t vbMiddleButton = 4;

class Control : public vb::Object {
public:
    explicit Control(std::string name = {}) : name_(std::move(name)) {}
    ~Control() override {
        if (observer_) observer_->forgotten(*this);
    }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    void setLeft(int32_t v) { Move(v, top_, width_, height_); }
    void setTop(int32_t v) { Move(left_, v, width_, height_); }
    void setWidth(int32_t v) { Move(left_, top_, v, height_); }
    void setHeight(int32_t v) { Move(left_, top_, width_, v); }
    // Sizes below zero are refused with error 380, as the runtime refuses them.
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);

    bool Visible() const { return visible_; }
    void setVisible(bool v) {
        visible_ = v;
        notify(Aspect::Visible);
    }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v);

    const ui::Font& Font() const { return font_; }
    void setFont(const ui::Font& f) {
        font_ = f;
        notify(Aspect::Font);
    }

    const std::string& Tag() const { return tag_; }
    void setTag(std::string tag) { tag_ = std::move(tag); }

    // The control's place in its form's tab order: 0-based, one place for every control on the form
    // and in its frames. A new control comes last; setting a place moves the controls between the
    // old and the new one along, and a place past the end is the last, as the runtime does it.
    // Below zero raises 380.
    int32_t TabIndex() const { return tabIndex_; }
    void setTabIndex(int32_t index);

    // The form, user control or frame this control sits on (nullptr for a top-level object).
    Container* container() const { return container_; }
    // Whether a person could reach the control now: it and every container up to the form are
    // visible and enabled, and the form is loaded.
    bool reachable() const;
    // True once ui::New has run the Initialize hook (hooks such as Resize wait for it).
    bool initialized() const { return initialized_; }

    // The renderer showing this control, told of its changes (see Observer); nullptr for none.
    Observer* observer() const { return observer_; }
    void setObserver(Observer* observer) { observer_ = observer; }

protected:
    void notify(Aspect aspect) {
        if (observer_) observer_->changed(*this, aspect);
    }
    // Called after Move changed the width or height.
    virtual void sizeChanged() {}
    // Called after setEnabled changed Enabled.
    virtual void enabledChanged() {}

private:
    friend class Container;
    template <class T, class... A>
    friend std::shared_ptr<T> New(A&&... args);

    // Initialize and Terminate of forms, user controls and user documents; see New.
    virtual void raiseInitialize() {}
    virtual void raiseTerminate() {}

    std::string name_;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    ui::Font font_;
    std::string tag_;
    int32_t tabIndex_ = 0;
    Container* container_ = nullptr;
    Observer* observer_ = nullptr;
    bool initialized_ = false;
};

using ControlPtr = std::shared_ptr<Control>;

// Runs an event callback, if one is set, from a copy: a handler may replace the callback or destroy
// the object that holds it while it runs.
template <class... P, class... A>
void raise(const std::function<void(P...)>& event, A&&... args) {
    auto handler = event;
    if (handler) handler(std::forward<A>(args)...);
}

// VB's New for forms, user controls and user documents: creates the object, runs its Initialize
// hook, and runs its Terminate hook when the last reference goes (an error in Terminate is lost,
// as in VB). Objects made any other way never see those two hooks.
template <class T, class... A>
std::shared_ptr<T> New(A&&... args) {
    std::shared_ptr<T> object(new T(std::forward<A>(args)...), [](T* p) {
        vb::silently([p] { static_cast<Control*>(p)->raiseTerminate(); });  // nobody to report to
        delete p;
    });
    static_cast<Control*>(object.get())->raiseInitialize();
    static_cast<Control*>(object.get())->initialized_ = true;
    return object;
}

} // namespace ui

// CommandButton: a push button. Default is pressed by Enter, Cancel by Escape (see Form).
#pragma once

#include "platform/ui/Control.h"

#include <functional>
#include <string>

namespace ui {

class CommandButton : public Control {
public:
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string caption) {
        caption_ = std::move(caption);
        notify(Aspect::Text);
    }
    bool Default() const { return default_; }
    void setDefault(bool v) { default_ = v; }
    bool Cancel() const { return cancel_; }
    void setCancel(bool v) { cancel_ = v; }

    // VB's `Value = True`: clicks the button from code.
    void value(bool pressed) {
        if (pressed) click();
    }
    // Runs Click (whether or not a person could reach the button; see Control::reachable).
    void click() { raise(onClick); }

    std::function<void()> onClick;

private:
    std::string caption_;
    bool default_ = false;
    bool cancel_ = false;
};

} // namespace ui

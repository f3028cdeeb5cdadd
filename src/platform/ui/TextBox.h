// TextBox: an editable text. Change runs whenever the text changes, by code or by the person.
#pragma once

#include "platform/ui/Control.h"

#include <functional>
#include <string>

namespace ui {

class TextBox : public Control {
public:
    const std::string& Text() const { return text_; }
    void setText(std::string text);
    // Shown instead of each character (e.g. "*"); empty shows the text.
    const std::string& PasswordChar() const { return passwordChar_; }
    void setPasswordChar(std::string c) { passwordChar_ = std::move(c); }
    // What a person sees in the box.
    std::string displayText() const;

    std::function<void()> onChange;

private:
    std::string text_;
    std::string passwordChar_;
};

} // namespace ui

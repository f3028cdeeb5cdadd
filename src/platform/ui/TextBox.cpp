#include "platform/ui/TextBox.h"

namespace ui {

void TextBox::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    notify(Aspect::Text);
    raise(onChange);
}

std::string TextBox::displayText() const {
    if (passwordChar_.empty()) return text_;
    std::string shown;
    for (unsigned char c : text_)
        if ((c & 0xC0) != 0x80) shown += passwordChar_;  // one mask per character, not per UTF-8 byte
    return shown;
}

} // namespace ui

#include "platform/ui/ComboBox.h"

#include "platform/error.h"
#include "platform/ui/UIErrors.h"

namespace ui {

namespace {
[[noreturn]] void invalidValue() { throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value"); }
} // namespace

void ComboBox::AddItem(std::string item, int32_t index) {
    if (index < -1 || index > ListCount()) throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
    if (index == -1) {
        items_.push_back(std::move(item));
    } else {
        items_.insert(items_.begin() + index, std::move(item));
        if (listIndex_ >= index) ++listIndex_;
    }
    notify(Aspect::Value);
}

void ComboBox::RemoveItem(int32_t index) {
    if (index < 0 || index >= ListCount()) throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
    items_.erase(items_.begin() + index);
    if (listIndex_ == index) {
        listIndex_ = -1;
        if (style_ == vbComboDropdownList) text_.clear();
    } else if (listIndex_ > index) {
        --listIndex_;
    }
    notify(Aspect::Value);
}

void ComboBox::Clear() {
    items_.clear();
    listIndex_ = -1;
    notify(Aspect::Value);
    changeText({});
}

const std::string& ComboBox::List(int32_t index) const {
    if (index < 0 || index >= ListCount()) throw vb::VBError(err::InvalidArrayIndex, "Invalid property array index");
    return items_[static_cast<std::size_t>(index)];
}

void ComboBox::setListIndex(int32_t index) {
    if (index < -1 || index >= ListCount()) invalidValue();
    listIndex_ = index;
    if (index != -1) text_ = items_[static_cast<std::size_t>(index)];
    notify(Aspect::Value);
    if (index == -1) return;
    // Choosing an item is not an edit of the text: Click runs, Change does not.
    raise(onClick);
}

void ComboBox::setText(std::string text) {
    if (style_ != vbComboDropdownList) {
        changeText(std::move(text));
        return;
    }
    for (int32_t i = 0; i < ListCount(); ++i)
        if (items_[static_cast<std::size_t>(i)] == text) return setListIndex(i);
    throw vb::VBError(err::TextReadOnly, "'Text' property is read-only");
}

void ComboBox::changeText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    notify(Aspect::Text);
    if (style_ != vbComboDropdownList) raise(onChange);
}

} // namespace ui

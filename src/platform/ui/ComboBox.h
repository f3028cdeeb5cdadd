// ComboBox: a drop-down list (style 2: only list items can be chosen) or an editable combo
// (style 0: a text box with a list). Setting ListIndex chooses an item and runs Click, also when
// done by code; Change runs when the text of an editable combo changes.
#pragma once

#include "platform/ui/Control.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

constexpr int16_t vbComboDropdown = 0;
constexpr int16_t vbComboDropdownList = 2;

class ComboBox : public Control {
public:
    explicit ComboBox(int16_t style = vbComboDropdown) : style_(style) {}

    int16_t Style() const { return style_; }
    void setStyle(int16_t style) { style_ = style; }

    // Adds item at index (0-based; -1 appends). An index beyond ListCount raises error 5.
    void AddItem(std::string item, int32_t index = -1);
    void RemoveItem(int32_t index);
    // Empties the list; ListIndex becomes -1 and the text empty.
    void Clear();
    int32_t ListCount() const { return static_cast<int32_t>(items_.size()); }
    // Item i (0-based); out of range raises error 381 "Invalid property array index".
    const std::string& List(int32_t index) const;

    int32_t ListIndex() const { return listIndex_; }
    // -1 chooses nothing; 0..ListCount-1 chooses that item, sets the text and runs Click; other
    // values raise error 380.
    void setListIndex(int32_t index);

    // Drop-down list: the chosen item's text. Editable: whatever is typed.
    const std::string& Text() const { return text_; }
    // Editable: sets the text (Change runs if it differs). Drop-down list: chooses the item with
    // that text (as setting ListIndex does), error 383 when there is none.
    void setText(std::string text);

    std::function<void()> onClick;
    std::function<void()> onChange;

private:
    void changeText(std::string text);

    int16_t style_;
    std::vector<std::string> items_;
    int32_t listIndex_ = -1;
    std::string text_;
};

} // namespace ui

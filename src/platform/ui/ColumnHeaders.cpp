#include "platform/ui/ColumnHeaders.h"

#include "platform/error.h"

namespace ui {

namespace {
void checkWidth(float twips) {
    if (!(twips >= 0)) throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value");
}
} // namespace

void ColumnHeader::setWidth(float twips) {
    checkWidth(twips);
    width_ = twips;
}

int32_t ColumnHeader::Index() const { return owner_ == nullptr ? 0 : owner_->indexOf(*this); }

ColumnHeaderPtr ColumnHeaders::Add(int32_t index, const std::string& key, const std::string& text, std::optional<float> width) {
    columns_.checkNewKey(key);
    const float w = width.value_or(DefaultWidth);
    checkWidth(w);
    auto column = std::make_shared<ColumnHeader>(key, text, w);
    column->owner_ = this;
    if (index == 0) columns_.append(column);
    else columns_.insert(index, column);
    return column;
}

void ColumnHeaders::Remove(int32_t index) {
    auto column = columns_.Item(index);
    column->owner_ = nullptr;
    columns_.erase(*column);
}

void ColumnHeaders::Clear() {
    columns_.forEach([](const ColumnHeaderPtr& c) { c->owner_ = nullptr; });
    columns_.clear();
}

float ColumnHeaders::totalWidth() const {
    float sum = 0;
    columns_.forEach([&](const ColumnHeaderPtr& c) { sum += c->Width(); });
    return sum;
}

} // namespace ui

// ColumnHeaders: the report view's columns, 1-based. A column added without a width gets the
// control's default width, 1440 twips.
#pragma once

#include "platform/ui/KeyedCollection.h"
#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ui {

class ColumnHeaders;

class ColumnHeader : public vb::Object, public CollectionEntry {
public:
    ColumnHeader(std::string key, std::string text, float width)
        : key_(std::move(key)), text_(std::move(text)), width_(width) {}

    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    // Twips. A negative width raises error 380.
    float Width() const { return width_; }
    void setWidth(float twips);
    int32_t Index() const;

private:
    friend class ColumnHeaders;

    std::string key_;
    std::string text_;
    float width_;
    const ColumnHeaders* owner_ = nullptr;
};

using ColumnHeaderPtr = std::shared_ptr<ColumnHeader>;

class ColumnHeaders {
public:
    static constexpr float DefaultWidth = 1440;

    ColumnHeaders() = default;
    ~ColumnHeaders() { Clear(); }
    ColumnHeaders(const ColumnHeaders&) = delete;
    ColumnHeaders& operator=(const ColumnHeaders&) = delete;

    // index 0 appends; otherwise 1..Count+1 inserts there. No width: DefaultWidth.
    ColumnHeaderPtr Add(int32_t index = 0, const std::string& key = {}, const std::string& text = {},
                        std::optional<float> width = std::nullopt);
    ColumnHeaderPtr Item(int32_t index) const { return columns_.Item(index); }
    ColumnHeaderPtr Item(const std::string& key) const { return columns_.Item(key); }
    ColumnHeaderPtr Item(const char* key) const { return columns_.Item(std::string(key)); }
    void Remove(int32_t index);
    void Clear();
    int32_t Count() const { return columns_.Count(); }
    int32_t indexOf(const ColumnHeader& column) const { return columns_.indexOf(column); }
    std::vector<ColumnHeaderPtr> items() const { return columns_.items(); }
    // Sum of the widths, twips.
    float totalWidth() const;

private:
    KeyedCollection<ColumnHeader> columns_;
};

} // namespace ui

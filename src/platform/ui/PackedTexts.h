// PackedTexts: a short sequence of texts kept in one block, each as its length (seven bits a byte,
// low bits first, the high bit set on all but the last) followed by its characters. A row of a
// details list keeps its cells this way: one allocation of about the texts' own size, where a
// string object per cell would take 32 bytes each before any text longer than 15 characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ui {

class PackedTexts {
public:
    std::size_t size() const { return count_; }
    // i < size().
    std::string_view at(std::size_t i) const;
    void set(std::size_t i, std::string_view text);
    // Texts 0..n-1 become these; later ones stay; the block is rebuilt once.
    void setFirst(std::initializer_list<std::string_view> texts);
    // Grows with empty texts (never shrinks).
    void extendTo(std::size_t count);
    void clear();

private:
    struct Cell {
        std::size_t begin;  // of the length
        std::size_t text;   // of the characters
        std::size_t end;    // one past them
    };
    Cell cell(std::size_t i) const;

    std::string block_;
    std::size_t count_ = 0;
};

} // namespace ui

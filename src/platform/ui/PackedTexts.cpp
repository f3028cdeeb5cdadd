#include "platform/ui/PackedTexts.h"

#include <algorithm>

namespace ui {

namespace {

// Writes the length's bytes to out (room for ten); returns how many.
std::size_t encodeLength(std::size_t length, char* out) {
    std::size_t n = 0;
    for (; length >= 0x80; length >>= 7) out[n++] = static_cast<char>((length & 0x7F) | 0x80);
    out[n++] = static_cast<char>(length);
    return n;
}

} // namespace

PackedTexts::Cell PackedTexts::cell(std::size_t i) const {
    std::size_t pos = 0;
    for (std::size_t n = 0;; ++n) {
        const std::size_t begin = pos;
        std::size_t length = 0;
        for (unsigned shift = 0;; shift += 7) {
            const auto byte = static_cast<unsigned char>(block_[pos++]);
            length |= static_cast<std::size_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) break;
        }
        if (n == i) return {begin, pos, pos + length};
        pos += length;
    }
}

std::string_view PackedTexts::at(std::size_t i) const {
    const Cell c = cell(i);
    return std::string_view(block_).substr(c.text, c.end - c.text);
}

void PackedTexts::set(std::size_t i, std::string_view text) {
    const Cell c = cell(i);
    char length[10];
    const std::size_t n = encodeLength(text.size(), length);
    block_.replace(c.begin, c.end - c.begin, length, n);
    block_.insert(c.begin + n, text);
}

void PackedTexts::setFirst(std::initializer_list<std::string_view> texts) {
    char length[10];
    std::size_t size = 0;
    for (auto text : texts) size += encodeLength(text.size(), length) + text.size();
    const std::size_t keptFrom = texts.size() < count_ ? cell(texts.size()).begin : block_.size();
    std::string block(size + (block_.size() - keptFrom), '\0');
    char* out = block.data();
    for (auto text : texts) {
        out += encodeLength(text.size(), out);
        out = std::copy(text.begin(), text.end(), out);
    }
    std::copy(block_.begin() + static_cast<std::ptrdiff_t>(keptFrom), block_.end(), out);
    block_ = std::move(block);
    count_ = std::max(count_, texts.size());
}

void PackedTexts::extendTo(std::size_t count) {
    if (count > count_) block_.append(count - count_, '\0');
    count_ = std::max(count_, count);
}

void PackedTexts::clear() {
    block_.clear();
    count_ = 0;
}

} // namespace ui

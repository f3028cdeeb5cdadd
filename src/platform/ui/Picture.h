// Picture: a bitmap, icon or GIF as the VB runtime hands it around (LoadResPicture, Clipboard,
// ImageList, PasteFace). The pixels are kept as the encoded file bytes.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {

enum class PictureKind { Bitmap, Icon, Gif };

class Picture : public vb::Object {
public:
    Picture(PictureKind kind, int32_t widthPx, int32_t heightPx, std::string name, std::vector<uint8_t> bytes = {})
        : kind_(kind), width_(widthPx), height_(heightPx), name_(std::move(name)), bytes_(std::move(bytes)) {}

    PictureKind kind() const { return kind_; }
    int32_t widthPx() const { return width_; }
    int32_t heightPx() const { return height_; }
    const std::string& name() const { return name_; }  // what it shows, e.g. "bitmap 103"
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    PictureKind kind_;
    int32_t width_;
    int32_t height_;
    std::string name_;
    std::vector<uint8_t> bytes_;
};

using PicturePtr = std::shared_ptr<Picture>;

} // namespace ui

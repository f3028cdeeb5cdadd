// ImageList: keyed pictures that tree and list views draw from. The first picture added fixes
// ImageWidth / ImageHeight when they are still 0.
#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/KeyedCollection.h"
#include "platform/ui/Picture.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui {

class ListImage : public vb::Object, public CollectionEntry {
public:
    ListImage(std::string key, PicturePtr picture) : key_(std::move(key)), picture_(std::move(picture)) {}
    const std::string& Key() const { return key_; }
    const PicturePtr& Picture() const { return picture_; }

private:
    std::string key_;
    PicturePtr picture_;
};

using ListImagePtr = std::shared_ptr<ListImage>;
class ImageList;

class ListImages {
public:
    explicit ListImages(ImageList& owner) : owner_(owner) {}

    // index 0 appends; otherwise 1..Count+1. A missing picture raises error 481 "Invalid picture".
    ListImagePtr Add(int32_t index, const std::string& key, PicturePtr picture);
    ListImagePtr Item(int32_t index) const { return images_.Item(index); }
    ListImagePtr Item(const std::string& key) const { return images_.Item(key); }
    ListImagePtr Item(const char* key) const { return images_.Item(std::string(key)); }
    bool contains(const std::string& key) const { return images_.contains(key); }
    void Remove(const std::string& key) { images_.erase(*images_.Item(key)); }
    void Remove(int32_t index) { images_.erase(*images_.Item(index)); }
    void Clear() { images_.clear(); }
    int32_t Count() const { return images_.Count(); }
    int32_t indexOf(const ListImage& image) const { return images_.indexOf(image); }

private:
    ImageList& owner_;
    KeyedCollection<ListImage> images_;
};

class ImageList : public Control {
public:
    ImageList() : images_(*this) {}

    int32_t ImageWidth() const { return imageWidth_; }
    void setImageWidth(int32_t px) { imageWidth_ = px; }
    int32_t ImageHeight() const { return imageHeight_; }
    void setImageHeight(int32_t px) { imageHeight_ = px; }
    // An OLE colour (0x00BBGGRR); light grey is 0xC0C0C0.
    int32_t MaskColor() const { return maskColor_; }
    void setMaskColor(int32_t rgb) { maskColor_ = rgb; }
    bool UseMaskColor() const { return useMaskColor_; }
    void setUseMaskColor(bool v) { useMaskColor_ = v; }

    ui::ListImages& ListImages() { return images_; }
    const ui::ListImages& ListImages() const { return images_; }

private:
    ui::ListImages images_;
    int32_t imageWidth_ = 0;
    int32_t imageHeight_ = 0;
    int32_t maskColor_ = 0xC0C0C0;
    bool useMaskColor_ = true;
};

using ImageListPtr = std::shared_ptr<ImageList>;

} // namespace ui

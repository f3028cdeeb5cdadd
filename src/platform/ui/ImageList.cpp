#include "platform/ui/ImageList.h"

#include "platform/error.h"
#include "platform/ui/UIErrors.h"

namespace ui {

ListImagePtr ListImages::Add(int32_t index, const std::string& key, PicturePtr picture) {
    if (!picture) throw vb::VBError(err::InvalidPicture, "Invalid picture");
    images_.checkNewKey(key);
    if (owner_.ImageWidth() == 0 && owner_.ImageHeight() == 0) {
        owner_.setImageWidth(picture->widthPx());
        owner_.setImageHeight(picture->heightPx());
    }
    auto image = std::make_shared<ListImage>(key, std::move(picture));
    if (index == 0) images_.append(image);
    else images_.insert(index, image);
    return image;
}

} // namespace ui

#include "platform/ui/Clipboard.h"

namespace ui::Clipboard {

namespace {
PicturePtr& held() {
    static PicturePtr picture;
    return picture;
}
} // namespace

void SetData(PicturePtr picture) { held() = std::move(picture); }

PicturePtr GetData() { return held(); }

void Clear() { held().reset(); }

} // namespace ui::Clipboard

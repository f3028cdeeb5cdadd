// Image: a picture shown on a form.
#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/Picture.h"

namespace ui {

class Image : public Control {
public:
    const PicturePtr& Picture() const { return picture_; }
    void setPicture(PicturePtr picture) {
        picture_ = std::move(picture);
        notify(Aspect::Picture);
    }
    bool Stretch() const { return stretch_; }
    void setStretch(bool v) { stretch_ = v; }

private:
    PicturePtr picture_;
    bool stretch_ = false;
};

} // namespace ui

// Label: a caption on a form.
#pragma once

#include "platform/ui/Control.h"

#include <string>

namespace ui {

class Label : public Control {
public:
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string caption) {
        caption_ = std::move(caption);
        notify(Aspect::Text);
    }

private:
    std::string caption_;
};

} // namespace ui

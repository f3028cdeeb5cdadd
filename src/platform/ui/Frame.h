// Frame: a captioned group box that holds controls of its own (positions relative to the frame).
#pragma once

#include "platform/ui/Container.h"
#include "platform/ui/Control.h"

#include <string>

namespace ui {

class Frame : public Control, public Container {
public:
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string caption) {
        caption_ = std::move(caption);
        notify(Aspect::Text);
    }

    bool isLive() const override { return container() == nullptr || container()->isLive(); }
    Control& self() override { return *this; }
    bool ownsTabOrder() const override { return false; }

private:
    std::string caption_;
};

} // namespace ui

#include "platform/ui/Control.h"

#include "platform/error.h"
#include "platform/ui/Container.h"

#include <algorithm>
#include <vector>

namespace ui {

void Control::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (width < 0 || height < 0) throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value");
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    notify(Aspect::Geometry);
    if (resized) sizeChanged();
}

void Control::setEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    notify(Aspect::Enabled);
    enabledChanged();
}

void Control::setTabIndex(int32_t index) {
    if (index < 0) throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value");
    if (container_ == nullptr) {
        tabIndex_ = index;
        return;
    }
    std::vector<Control*> order = container_->form().tabOrder();
    order.erase(std::find(order.begin(), order.end(), this));
    order.insert(order.begin() + std::min<std::size_t>(static_cast<std::size_t>(index), order.size()), this);
    for (std::size_t i = 0; i < order.size(); ++i) order[i]->tabIndex_ = static_cast<int32_t>(i);
}

bool Control::reachable() const {
    if (!visible_ || !enabled_) return false;
    if (container_ == nullptr) return true;
    return container_->isLive() && container_->self().reachable();
}

} // namespace ui

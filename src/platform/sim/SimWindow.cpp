#include "platform/sim/SimWindow.h"

#include "platform/error.h"
#include "platform/vbide/AddIn.h"
#include "platform/vbide/Constants.h"

#include <utility>

namespace sim {

namespace {
[[noreturn]] void invalidValue() {
    throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value");
}
} // namespace

SimWindow::SimWindow(std::shared_ptr<Journal> journal, std::shared_ptr<Focus> focus, std::string caption,
                     int32_t width, int32_t height, bool visible)
    : journal_(std::move(journal)), focus_(std::move(focus)), caption_(std::move(caption)), width_(width),
      height_(height), visible_(visible) {}

void SimWindow::enter(const std::string& member, std::vector<std::string> args) {
    journal_->enter("Window." + member, caption_, std::move(args));
}

std::string SimWindow::Caption() {
    enter("Caption");
    return caption_;
}

bool SimWindow::Visible() {
    enter("Visible");
    return visible_;
}

void SimWindow::setVisible(bool visible) {
    enter("setVisible", {visible ? "True" : "False"});
    if (!visible) {
        closeBox();
        return;
    }
    visible_ = true;
    shownChanged();
}

void SimWindow::closeBox() {
    visible_ = false;
    if (hasFocus()) {
        focus_->window = nullptr;
    }
    shownChanged();
}

void SimWindow::SetFocus() {
    enter("SetFocus");
    focus_->window = this;
}

int32_t SimWindow::WindowState() {
    enter("WindowState");
    return state_;
}

void SimWindow::setWindowState(int32_t state) {
    enter("setWindowState", {std::to_string(state)});
    if (state < vbide::vbext_ws_Normal || state > vbide::vbext_ws_Maximize) {
        invalidValue();
    }
    state_ = state;
}

int32_t SimWindow::Width() {
    enter("Width");
    return width_;
}

void SimWindow::setWidth(int32_t width) {
    enter("setWidth", {std::to_string(width)});
    if (width < 0) {
        invalidValue();
    }
    width_ = width;
    if (resized_) {
        resized_(width_, height_);
    }
    shownChanged();
}

int32_t SimWindow::Height() {
    enter("Height");
    return height_;
}

void SimWindow::setHeight(int32_t height) {
    enter("setHeight", {std::to_string(height)});
    if (height < 0) {
        invalidValue();
    }
    height_ = height;
    if (resized_) {
        resized_(width_, height_);
    }
    shownChanged();
}

void SimWindow::hostDocument(std::shared_ptr<vb::Object> document, std::shared_ptr<vbide::AddIn> addIn,
                             std::string guid) {
    document_ = std::move(document);
    addIn_ = std::move(addIn);
    guid_ = std::move(guid);
}

void SimWindow::close() {
    visible_ = false;
    if (hasFocus()) {
        focus_->window = nullptr;
    }
    resized_ = nullptr;
    addIn_.reset();
    // The document goes last: its termination may still look at the window.
    auto document = std::move(document_);
    document_.reset();
    if (auto shown = std::exchange(shownChanged_, nullptr)) shown(true);
}

} // namespace sim

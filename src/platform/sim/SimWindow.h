// SimWindow: a simulated IDE window: the main window or an add-in's tool window with its document.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/Window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vbide {
class AddIn;
}

namespace sim {

// Which window of the IDE has the focus; shared by all its windows.
struct Focus {
    const void* window = nullptr;
};

class SimWindow : public vbide::Window {
public:
    SimWindow(std::shared_ptr<Journal> journal, std::shared_ptr<Focus> focus, std::string caption, int32_t width,
              int32_t height, bool visible);

    // vbide::Window
    std::string Caption() override;
    bool Visible() override;
    void setVisible(bool visible) override;
    void SetFocus() override;
    int32_t WindowState() override;
    void setWindowState(int32_t state) override;
    int32_t Width() override;
    void setWidth(int32_t width) override;
    int32_t Height() override;
    void setHeight(int32_t height) override;

    // Tool windows: what CreateToolWindow gave them.
    void hostDocument(std::shared_ptr<vb::Object> document, std::shared_ptr<vbide::AddIn> addIn, std::string guid);
    const std::shared_ptr<vb::Object>& document() const { return document_; }
    std::shared_ptr<vbide::AddIn> addIn() const { return addIn_.lock(); }
    const std::string& guidPosition() const { return guid_; }
    // Called after every change of Width or Height (the host sizes the document to the window).
    void onResize(std::function<void(int32_t width, int32_t height)> handler) { resized_ = std::move(handler); }
    // What a real window showing this one follows: called after Visible, Width or Height changed,
    // and with closing true when the IDE destroys the window (before its document goes).
    void onShownChange(std::function<void(bool closing)> handler) { shownChanged_ = std::move(handler); }
    // Drops the document, as the IDE does when it destroys the window.
    void close();
    // A person closes a tool window with its close box: the IDE only hides it, its document stays
    // and the add-in can show it again. The add-in makes no call, so nothing is journalled.
    void closeBox();

    // Inspection (no journal entries).
    const std::string& caption() const { return caption_; }
    bool visible() const { return visible_; }
    bool hasFocus() const { return focus_->window == this; }
    int32_t windowState() const { return state_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // Builder: the state the window is in (vbext_ws_*), without journal entry or checks.
    void setState(int32_t state) { state_ = state; }

private:
    void enter(const std::string& member, std::vector<std::string> args = {});
    void shownChanged() const {
        if (shownChanged_) shownChanged_(false);
    }

    std::shared_ptr<Journal> journal_;
    std::shared_ptr<Focus> focus_;
    std::string caption_;
    int32_t width_;
    int32_t height_;
    bool visible_;
    int32_t state_ = 0;
    std::shared_ptr<vb::Object> document_;
    std::weak_ptr<vbide::AddIn> addIn_;  // the add-in holds its windows, not the other way round
    std::string guid_;
    std::function<void(int32_t, int32_t)> resized_;
    std::function<void(bool)> shownChanged_;
};

} // namespace sim

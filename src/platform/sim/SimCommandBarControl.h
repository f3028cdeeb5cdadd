// SimCommandBarControl: a simulated button or popup, its Click subscribers and its face.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/CommandBarControl.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vbide {
class CommandBarEvents;
}

namespace sim {

class SimCommandBarControls;

class SimCommandBarControl : public vbide::CommandBarControl,
                             public std::enable_shared_from_this<SimCommandBarControl> {
public:
    SimCommandBarControl(std::shared_ptr<Journal> journal, std::weak_ptr<SimCommandBarControls> parent,
                         int32_t type, int32_t id, bool temporary, bool builtIn);
    // Gives a popup its drop-down (needs the control's own shared_ptr).
    void init();

    // vbide::CommandBarControl
    int32_t Type() override;
    int32_t Id() override;
    int32_t Index() override;
    std::string Caption() override;
    void setCaption(const std::string& caption) override;
    std::string TooltipText() override;
    void setTooltipText(const std::string& text) override;
    std::string OnAction() override;
    void setOnAction(const std::string& action) override;
    std::string Tag() override;
    void setTag(const std::string& tag) override;
    vb::Variant Parameter() override;
    void setParameter(const vb::Variant& parameter) override;
    bool BeginGroup() override;
    void setBeginGroup(bool beginGroup) override;
    bool Enabled() override;
    void setEnabled(bool enabled) override;
    bool Visible() override;
    void setVisible(bool visible) override;
    void PasteFace() override;
    ui::PicturePtr Face() override;
    std::shared_ptr<vbide::CommandBarControls> Controls() override;
    void Execute() override;
    void Delete(std::optional<bool> temporary = std::nullopt) override;

    // Simulation side (no journal entries).
    void subscribe(const std::shared_ptr<vbide::CommandBarEvents>& events);
    int32_t subscriberCount() const;  // subscriptions still held by someone
    // Raises Click on every live subscriber, in subscription order.
    void raiseClick();
    // Reachable by a person: not deleted, visible and enabled, and so is everything above it.
    bool reachable() const;
    std::string path() const;  // "Menu Bar/Add-Ins/My Add-In"
    int32_t type() const { return type_; }
    int32_t id() const { return id_; }
    const std::string& caption() const { return caption_; }
    const std::string& tooltipText() const { return tooltip_; }
    const std::string& onAction() const { return onAction_; }
    const std::string& tag() const { return tag_; }
    bool beginGroup() const { return beginGroup_; }
    bool enabled() const { return enabled_; }
    bool visible() const { return visible_; }
    const ui::PicturePtr& face() const { return face_; }
    bool temporary() const { return temporary_; }
    bool builtIn() const { return builtIn_; }
    bool deleted() const { return deleted_; }
    const std::shared_ptr<SimCommandBarControls>& controls() const { return controls_; }  // popups only
    // Deleted with the IDE's state: any use raises; a popup's drop-down goes too.
    void markDeleted();
    // Back in the IDE at the start of a session (it was deleted for the last one).
    void restore();
    void setCaptionDirect(const std::string& caption) { caption_ = caption; }
    void setParameterDirect(const vb::Variant& parameter) { parameter_ = parameter; }

private:
    void enter(const std::string& member, std::vector<std::string> args = {});

    std::shared_ptr<Journal> journal_;
    std::weak_ptr<SimCommandBarControls> parent_;
    int32_t type_;
    int32_t id_;
    bool temporary_;
    bool builtIn_;
    std::string caption_;
    std::string tooltip_;
    std::string onAction_;
    std::string tag_;
    vb::Variant parameter_;
    bool beginGroup_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool deleted_ = false;
    ui::PicturePtr face_;
    std::shared_ptr<SimCommandBarControls> controls_;
    std::vector<std::weak_ptr<vbide::CommandBarEvents>> subscribers_;
};

} // namespace sim

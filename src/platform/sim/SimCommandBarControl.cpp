#include "platform/sim/SimCommandBarControl.h"

#include "platform/sim/SimCommandBarControls.h"
#include "platform/sim/commandBarErrors.h"
#include "platform/sim/names.h"
#include "platform/ui/Clipboard.h"
#include "platform/vbide/CommandBarEvents.h"
#include "platform/vbide/Constants.h"

#include <algorithm>

namespace sim {

namespace {

const char* boolText(bool b) {
    return b ? "True" : "False";
}

// "setCaption" is the property "Caption" in Office's messages.
std::string officeMember(const std::string& member) {
    return member.rfind("set", 0) == 0 ? member.substr(3) : member;
}

} // namespace

SimCommandBarControl::SimCommandBarControl(std::shared_ptr<Journal> journal,
                                           std::weak_ptr<SimCommandBarControls> parent, int32_t type, int32_t id,
                                           bool temporary, bool builtIn)
    : journal_(std::move(journal)), parent_(std::move(parent)), type_(type), id_(id), temporary_(temporary),
      builtIn_(builtIn) {}

void SimCommandBarControl::init() {
    if (type_ == vbide::msoControlPopup) {
        controls_ = std::make_shared<SimCommandBarControls>(journal_, std::weak_ptr<SimCommandBar>{}, weak_from_this());
    }
}

void SimCommandBarControl::enter(const std::string& member, std::vector<std::string> args) {
    journal_->enter("CommandBarControl." + member, names::withoutAccelerators(caption_), std::move(args));
    if (deleted_) {
        throw commandBarErrors::failed(officeMember(member), "CommandBarControl");
    }
}

int32_t SimCommandBarControl::Type() {
    enter("Type");
    return type_;
}

int32_t SimCommandBarControl::Id() {
    enter("Id");
    return id_;
}

int32_t SimCommandBarControl::Index() {
    enter("Index");
    auto parent = parent_.lock();
    return parent ? parent->indexOf(this) : 0;
}

std::string SimCommandBarControl::Caption() {
    enter("Caption");
    return caption_;
}

void SimCommandBarControl::setCaption(const std::string& caption) {
    enter("setCaption", {caption});
    caption_ = caption;
}

std::string SimCommandBarControl::TooltipText() {
    enter("TooltipText");
    return tooltip_;
}

void SimCommandBarControl::setTooltipText(const std::string& text) {
    enter("setTooltipText", {text});
    tooltip_ = text;
}

std::string SimCommandBarControl::OnAction() {
    enter("OnAction");
    return onAction_;
}

void SimCommandBarControl::setOnAction(const std::string& action) {
    enter("setOnAction", {action});
    onAction_ = action;
}

std::string SimCommandBarControl::Tag() {
    enter("Tag");
    return tag_;
}

void SimCommandBarControl::setTag(const std::string& tag) {
    enter("setTag", {tag});
    tag_ = tag;
}

vb::Variant SimCommandBarControl::Parameter() {
    enter("Parameter");
    return parameter_;
}

void SimCommandBarControl::setParameter(const vb::Variant& parameter) {
    enter("setParameter", {parameter.isObject() ? "<object>" : parameter.toString()});
    parameter_ = parameter;
}

bool SimCommandBarControl::BeginGroup() {
    enter("BeginGroup");
    return beginGroup_;
}

void SimCommandBarControl::setBeginGroup(bool beginGroup) {
    enter("setBeginGroup", {boolText(beginGroup)});
    beginGroup_ = beginGroup;
}

bool SimCommandBarControl::Enabled() {
    enter("Enabled");
    return enabled_;
}

void SimCommandBarControl::setEnabled(bool enabled) {
    enter("setEnabled", {boolText(enabled)});
    enabled_ = enabled;
}

bool SimCommandBarControl::Visible() {
    enter("Visible");
    return visible_;
}

void SimCommandBarControl::setVisible(bool visible) {
    enter("setVisible", {boolText(visible)});
    visible_ = visible;
}

void SimCommandBarControl::PasteFace() {
    enter("PasteFace");
    if (type_ != vbide::msoControlButton) {
        throw commandBarErrors::notSupported();
    }
    auto picture = ui::Clipboard::GetData();
    if (!picture) {
        throw commandBarErrors::failed("PasteFace", "CommandBarControl");
    }
    face_ = std::move(picture);
}

ui::PicturePtr SimCommandBarControl::Face() {
    enter("Face");
    return face_;
}

std::shared_ptr<vbide::CommandBarControls> SimCommandBarControl::Controls() {
    enter("Controls");
    if (!controls_) {
        throw commandBarErrors::notSupported();
    }
    return controls_;
}

void SimCommandBarControl::Execute() {
    enter("Execute");
    if (!enabled_) {
        throw commandBarErrors::failed("Execute", "CommandBarControl");
    }
    raiseClick();
}

void SimCommandBarControl::Delete(std::optional<bool> temporary) {
    enter("Delete", {temporary ? boolText(*temporary) : ""});
    auto parent = parent_.lock();
    if (!parent) {
        throw commandBarErrors::failed("Delete", "CommandBarControl");
    }
    // Deleting a kept control "for the session" brings it back in the next one; a temporary
    // control has no next session anyway.
    parent->remove(this, temporary.value_or(false) && !temporary_);
}

void SimCommandBarControl::subscribe(const std::shared_ptr<vbide::CommandBarEvents>& events) {
    std::erase_if(subscribers_, [](const auto& w) { return w.expired(); });
    subscribers_.push_back(events);
}

int32_t SimCommandBarControl::subscriberCount() const {
    return static_cast<int32_t>(
        std::count_if(subscribers_.begin(), subscribers_.end(), [](const auto& w) { return !w.expired(); }));
}

void SimCommandBarControl::raiseClick() {
    // Handlers may release their own or other subscriptions while the click is raised.
    auto subscribers = subscribers_;
    bool handled = false;
    bool cancelDefault = false;
    auto self = shared_from_this();
    for (const auto& weak : subscribers) {
        if (auto events = weak.lock()) {
            events->raiseClick(*self, handled, cancelDefault);
        }
    }
}

bool SimCommandBarControl::reachable() const {
    auto parent = parent_.lock();
    return !deleted_ && visible_ && enabled_ && parent && parent->reachable();
}

std::string SimCommandBarControl::path() const {
    auto parent = parent_.lock();
    return (parent ? parent->path() : std::string("?")) + "/" + names::withoutAccelerators(caption_);
}

void SimCommandBarControl::markDeleted() {
    deleted_ = true;
    if (controls_) {
        for (const auto& child : controls_->controls()) {
            child->markDeleted();
        }
    }
}

void SimCommandBarControl::restore() {
    deleted_ = false;
    if (controls_) {
        for (const auto& child : controls_->controls()) {
            child->restore();
        }
    }
}

} // namespace sim

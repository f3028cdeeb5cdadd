#include "platform/sim/SimCommandBar.h"

#include "platform/sim/SimCommandBarControl.h"
#include "platform/sim/SimCommandBarControls.h"
#include "platform/sim/SimCommandBars.h"
#include "platform/sim/commandBarErrors.h"

namespace sim {

namespace {

bool matches(SimCommandBarControl& c, const vbide::FindControlArgs& args) {
    return (!args.Type || *args.Type == c.type()) && (!args.Id || *args.Id == c.id()) &&
           (!args.Tag || *args.Tag == c.tag()) && (!args.Visible || c.visible());
}

std::shared_ptr<SimCommandBarControl> findIn(const SimCommandBarControls& controls, const vbide::FindControlArgs& args) {
    for (const auto& c : controls.controls()) {
        if (matches(*c, args)) {
            return c;
        }
        if (args.Recursive && c->controls()) {
            if (auto found = findIn(*c->controls(), args)) {
                return found;
            }
        }
    }
    return nullptr;
}

} // namespace

SimCommandBar::SimCommandBar(std::shared_ptr<Journal> journal, std::weak_ptr<SimCommandBars> owner, std::string name,
                             int32_t position, bool builtIn, bool temporary, bool visible)
    : journal_(std::move(journal)), owner_(std::move(owner)), name_(std::move(name)), position_(position),
      builtIn_(builtIn), temporary_(temporary), visible_(visible) {}

void SimCommandBar::init() {
    controls_ = std::make_shared<SimCommandBarControls>(journal_, weak_from_this(), std::weak_ptr<SimCommandBarControl>{});
}

void SimCommandBar::enter(const std::string& member, std::vector<std::string> args) {
    journal_->enter("CommandBar." + member, name_, std::move(args));
    if (deleted_) {
        throw commandBarErrors::failed(member.rfind("set", 0) == 0 ? member.substr(3) : member, "CommandBar");
    }
}

std::string SimCommandBar::Name() {
    enter("Name");
    return name_;
}

bool SimCommandBar::Visible() {
    enter("Visible");
    return visible_;
}

void SimCommandBar::setVisible(bool visible) {
    enter("setVisible", {visible ? "True" : "False"});
    visible_ = visible;
}

int32_t SimCommandBar::Position() {
    enter("Position");
    return position_;
}

std::shared_ptr<vbide::CommandBarControls> SimCommandBar::Controls() {
    enter("Controls");
    return controls_;
}

std::shared_ptr<vbide::CommandBarControl> SimCommandBar::FindControl(const vbide::FindControlArgs& args) {
    enter("FindControl", {args.Type ? std::to_string(*args.Type) : "", args.Id ? std::to_string(*args.Id) : "",
                          args.Tag.value_or(""), args.Visible ? "True" : "False", args.Recursive ? "True" : "False"});
    return findIn(*controls_, args);
}

void SimCommandBar::Delete() {
    enter("Delete");
    if (builtIn_) {
        throw commandBarErrors::invalidArgument();
    }
    if (auto owner = owner_.lock()) {
        owner->remove(this);
    }
    markDeleted();
}

void SimCommandBar::markDeleted() {
    deleted_ = true;
    for (const auto& c : controls_->controls()) {
        c->markDeleted();
    }
}

} // namespace sim

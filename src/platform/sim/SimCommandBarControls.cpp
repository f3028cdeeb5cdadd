#include "platform/sim/SimCommandBarControls.h"

#include "platform/sim/SimCommandBar.h"
#include "platform/sim/SimCommandBarControl.h"
#include "platform/sim/commandBarErrors.h"

#include <algorithm>

namespace sim {

namespace {
// Office gives custom controls Id 1.
constexpr int32_t customControlId = 1;
} // namespace

SimCommandBarControls::SimCommandBarControls(std::shared_ptr<Journal> journal, std::weak_ptr<SimCommandBar> bar,
                                             std::weak_ptr<SimCommandBarControl> popup)
    : journal_(std::move(journal)), bar_(std::move(bar)), popup_(std::move(popup)) {}

void SimCommandBarControls::enter(const std::string& member, std::vector<std::string> args) {
    journal_->enter("CommandBarControls." + member, path(), std::move(args));
    auto bar = bar_.lock();
    auto popup = popup_.lock();
    if ((bar && bar->deleted()) || (popup && popup->deleted()) || (!bar && !popup)) {
        throw commandBarErrors::failed(member, "CommandBarControls");
    }
}

int32_t SimCommandBarControls::Count() {
    enter("Count");
    return static_cast<int32_t>(controls_.size());
}

std::shared_ptr<vbide::CommandBarControl> SimCommandBarControls::Item(int32_t index) {
    enter("Item", {std::to_string(index)});
    if (index < 1 || index > static_cast<int32_t>(controls_.size())) {
        throw commandBarErrors::invalidArgument();
    }
    return controls_[static_cast<std::size_t>(index - 1)];
}

std::vector<std::shared_ptr<vbide::CommandBarControl>> SimCommandBarControls::items() {
    enter("items");
    return {controls_.begin(), controls_.end()};
}

std::shared_ptr<vbide::CommandBarControl> SimCommandBarControls::Add(const vbide::ControlAddArgs& args) {
    enter("Add", {std::to_string(args.Type), args.Id ? std::to_string(*args.Id) : "",
                  args.Before ? std::to_string(*args.Before) : "", args.Temporary ? "True" : "False"});
    if (args.Type != vbide::msoControlButton && args.Type != vbide::msoControlPopup) {
        throw commandBarErrors::invalidArgument();
    }
    const auto count = static_cast<int32_t>(controls_.size());
    if (args.Before && (*args.Before < 1 || *args.Before > count + 1)) {
        throw commandBarErrors::invalidArgument();
    }
    auto control = create(args.Type, args.Id.value_or(customControlId), args.Temporary, false);
    control->setParameterDirect(args.Parameter);
    const auto at = static_cast<std::size_t>(args.Before.value_or(count + 1) - 1);
    controls_.insert(controls_.begin() + static_cast<std::ptrdiff_t>(at), control);
    return control;
}

std::shared_ptr<SimCommandBarControl> SimCommandBarControls::addBuiltIn(int32_t type, int32_t id,
                                                                        const std::string& caption) {
    auto control = create(type, id, false, true);
    control->setCaptionDirect(caption);
    controls_.push_back(control);
    return control;
}

std::shared_ptr<SimCommandBarControl> SimCommandBarControls::create(int32_t type, int32_t id, bool temporary,
                                                                    bool builtIn) {
    auto control = std::make_shared<SimCommandBarControl>(journal_, weak_from_this(), type, id, temporary, builtIn);
    control->init();
    return control;
}

int32_t SimCommandBarControls::indexOf(const SimCommandBarControl* control) const {
    auto it = std::find_if(controls_.begin(), controls_.end(), [&](const auto& c) { return c.get() == control; });
    return it == controls_.end() ? 0 : static_cast<int32_t>(it - controls_.begin()) + 1;
}

void SimCommandBarControls::remove(const SimCommandBarControl* control, bool forSession) {
    auto it = std::find_if(controls_.begin(), controls_.end(), [&](const auto& c) { return c.get() == control; });
    if (it == controls_.end()) {
        return;
    }
    auto removed = *it;
    if (forSession) {
        removedForSession_.push_back({removed, static_cast<std::size_t>(it - controls_.begin())});
    }
    controls_.erase(it);
    removed->markDeleted();
}

void SimCommandBarControls::endSession() {
    // Put back in reverse order of removal, so that each lands where it was.
    for (auto it = removedForSession_.rbegin(); it != removedForSession_.rend(); ++it) {
        it->control->restore();
        const auto at = std::min(it->index, controls_.size());
        controls_.insert(controls_.begin() + static_cast<std::ptrdiff_t>(at), it->control);
    }
    removedForSession_.clear();
    std::erase_if(controls_, [](const std::shared_ptr<SimCommandBarControl>& c) {
        if (c->temporary()) {
            c->markDeleted();
            return true;
        }
        return false;
    });
    for (const auto& c : controls_) {
        if (c->controls()) {
            c->controls()->endSession();
        }
    }
}

std::string SimCommandBarControls::path() const {
    if (auto bar = bar_.lock()) {
        return bar->name();
    }
    if (auto popup = popup_.lock()) {
        return popup->path();
    }
    return "?";
}

bool SimCommandBarControls::reachable() const {
    if (auto bar = bar_.lock()) {
        return !bar->deleted() && bar->visible();
    }
    auto popup = popup_.lock();
    return popup && popup->reachable();
}

} // namespace sim

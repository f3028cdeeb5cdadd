#include "platform/sim/SimCommandBars.h"

#include "platform/sim/SimCommandBar.h"
#include "platform/sim/SimCommandBarControls.h"
#include "platform/sim/commandBarErrors.h"
#include "platform/sim/names.h"

namespace sim {

SimCommandBars::SimCommandBars(std::shared_ptr<Journal> journal) : journal_(std::move(journal)) {}

int32_t SimCommandBars::Count() {
    journal_->enter("CommandBars.Count", "");
    return static_cast<int32_t>(bars_.size());
}

std::shared_ptr<vbide::CommandBar> SimCommandBars::Item(int32_t index) {
    journal_->enter("CommandBars.Item", "", {std::to_string(index)});
    if (index < 1 || index > static_cast<int32_t>(bars_.size())) {
        throw commandBarErrors::invalidArgument();
    }
    return bars_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<vbide::CommandBar> SimCommandBars::Item(const std::string& name) {
    journal_->enter("CommandBars.Item", "", {name});
    auto found = bar(name);
    if (!found) {
        throw commandBarErrors::invalidArgument();
    }
    return found;
}

std::vector<std::shared_ptr<vbide::CommandBar>> SimCommandBars::items() {
    journal_->enter("CommandBars.items", "");
    return {bars_.begin(), bars_.end()};
}

std::shared_ptr<vbide::CommandBar> SimCommandBars::Add(const std::string& name, int32_t position, bool menuBar,
                                                       bool temporary) {
    journal_->enter("CommandBars.Add", "",
                    {name, std::to_string(position), menuBar ? "True" : "False", temporary ? "True" : "False"});
    if (name.empty() || bar(name) || position < vbide::msoBarLeft || position > vbide::msoBarMenuBar) {
        throw commandBarErrors::invalidArgument();
    }
    auto created = std::make_shared<SimCommandBar>(journal_, weak_from_this(), name, position, false, temporary, false);
    created->init();
    bars_.push_back(created);
    return created;
}

std::shared_ptr<SimCommandBar> SimCommandBars::bar(const std::string& name) const {
    for (const auto& b : bars_) {
        if (names::equalNoCase(b->name(), name)) {
            return b;
        }
    }
    return nullptr;
}

std::shared_ptr<SimCommandBar> SimCommandBars::addBuiltIn(const std::string& name, int32_t position, bool visible) {
    auto created = std::make_shared<SimCommandBar>(journal_, weak_from_this(), name, position, true, false, visible);
    created->init();
    bars_.push_back(created);
    return created;
}

void SimCommandBars::remove(const SimCommandBar* removed) {
    std::erase_if(bars_, [&](const auto& b) { return b.get() == removed; });
}

void SimCommandBars::endSession() {
    std::erase_if(bars_, [](const std::shared_ptr<SimCommandBar>& b) {
        if (b->temporary()) {
            b->markDeleted();
            return true;
        }
        return false;
    });
    for (const auto& b : bars_) {
        b->controls()->endSession();
    }
}

} // namespace sim

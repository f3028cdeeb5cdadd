// SimCommandBars: the simulated IDE's command bars; item 1 is its menu bar.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/CommandBars.h"

#include <memory>
#include <string>
#include <vector>

namespace sim {

class SimCommandBar;

class SimCommandBars : public vbide::CommandBars, public std::enable_shared_from_this<SimCommandBars> {
public:
    explicit SimCommandBars(std::shared_ptr<Journal> journal);

    int32_t Count() override;
    std::shared_ptr<vbide::CommandBar> Item(int32_t index) override;
    std::shared_ptr<vbide::CommandBar> Item(const std::string& name) override;
    std::vector<std::shared_ptr<vbide::CommandBar>> items() override;
    std::shared_ptr<vbide::CommandBar> Add(const std::string& name, int32_t position = vbide::msoBarFloating,
                                           bool menuBar = false, bool temporary = false) override;

    // Simulation side (no journal entries).
    const std::vector<std::shared_ptr<SimCommandBar>>& bars() const { return bars_; }
    std::shared_ptr<SimCommandBar> bar(const std::string& name) const;  // ignoring case; Nothing when none
    std::shared_ptr<SimCommandBar> addBuiltIn(const std::string& name, int32_t position, bool visible);
    void remove(const SimCommandBar* bar);
    void endSession();

private:
    std::shared_ptr<Journal> journal_;
    std::vector<std::shared_ptr<SimCommandBar>> bars_;
};

} // namespace sim

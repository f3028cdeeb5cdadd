// SimCommandBarControls: the controls of a simulated bar or popup, with what the session keeps.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/CommandBarControls.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace sim {

class SimCommandBar;
class SimCommandBarControl;

class SimCommandBarControls : public vbide::CommandBarControls,
                              public std::enable_shared_from_this<SimCommandBarControls> {
public:
    // Owned by a bar or by a popup control (the other is empty).
    SimCommandBarControls(std::shared_ptr<Journal> journal, std::weak_ptr<SimCommandBar> bar,
                          std::weak_ptr<SimCommandBarControl> popup);

    int32_t Count() override;
    std::shared_ptr<vbide::CommandBarControl> Item(int32_t index) override;
    std::vector<std::shared_ptr<vbide::CommandBarControl>> items() override;
    std::shared_ptr<vbide::CommandBarControl> Add(const vbide::ControlAddArgs& args = {}) override;

    // Simulation side (no journal entries).
    const std::vector<std::shared_ptr<SimCommandBarControl>>& controls() const { return controls_; }
    std::shared_ptr<SimCommandBarControl> addBuiltIn(int32_t type, int32_t id, const std::string& caption);
    int32_t indexOf(const SimCommandBarControl* control) const;  // 1-based; 0 when absent
    // Takes the control out; forSession keeps it to come back at the end of the session.
    void remove(const SimCommandBarControl* control, bool forSession);
    // Drops temporary controls and brings back those removed for the session, here and below.
    void endSession();
    std::weak_ptr<SimCommandBar> bar() const { return bar_; }
    std::weak_ptr<SimCommandBarControl> popup() const { return popup_; }
    std::string path() const;  // of the owner: "Menu Bar/Add-Ins"
    bool reachable() const;    // the owner is visible and enabled all the way up

private:
    std::shared_ptr<SimCommandBarControl> create(int32_t type, int32_t id, bool temporary, bool builtIn);
    void enter(const std::string& member, std::vector<std::string> args = {});

    struct Removed {
        std::shared_ptr<SimCommandBarControl> control;
        std::size_t index;
    };

    std::shared_ptr<Journal> journal_;
    std::weak_ptr<SimCommandBar> bar_;
    std::weak_ptr<SimCommandBarControl> popup_;
    std::vector<std::shared_ptr<SimCommandBarControl>> controls_;
    std::vector<Removed> removedForSession_;
};

} // namespace sim

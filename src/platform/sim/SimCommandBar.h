// SimCommandBar: a simulated toolbar or menu bar.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/CommandBar.h"

#include <memory>
#include <string>

namespace sim {

class SimCommandBars;
class SimCommandBarControls;

class SimCommandBar : public vbide::CommandBar, public std::enable_shared_from_this<SimCommandBar> {
public:
    SimCommandBar(std::shared_ptr<Journal> journal, std::weak_ptr<SimCommandBars> owner, std::string name,
                  int32_t position, bool builtIn, bool temporary, bool visible);
    // Gives the bar its controls collection (needs the bar's own shared_ptr).
    void init();

    // vbide::CommandBar
    std::string Name() override;
    bool Visible() override;
    void setVisible(bool visible) override;
    int32_t Position() override;
    std::shared_ptr<vbide::CommandBarControls> Controls() override;
    std::shared_ptr<vbide::CommandBarControl> FindControl(const vbide::FindControlArgs& args = {}) override;
    void Delete() override;

    // Inspection (no journal entries).
    const std::string& name() const { return name_; }
    bool visible() const { return visible_; }
    bool builtIn() const { return builtIn_; }
    bool temporary() const { return temporary_; }
    bool deleted() const { return deleted_; }
    const std::shared_ptr<SimCommandBarControls>& controls() const { return controls_; }
    // Marks the bar and its controls deleted (the bar is gone from the IDE).
    void markDeleted();

private:
    void enter(const std::string& member, std::vector<std::string> args = {});

    std::shared_ptr<Journal> journal_;
    std::weak_ptr<SimCommandBars> owner_;
    std::string name_;
    int32_t position_;
    bool builtIn_;
    bool temporary_;
    bool visible_;
    bool deleted_ = false;
    std::shared_ptr<SimCommandBarControls> controls_;
};

} // namespace sim

// SimWindows: the simulated IDE's windows: the main window first, then the tool windows.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/sim/SimWindow.h"
#include "platform/vbide/Windows.h"

#include <memory>
#include <vector>

namespace sim {

class SimWindows : public vbide::Windows {
public:
    SimWindows(std::shared_ptr<Journal> journal, std::shared_ptr<Focus> focus, std::shared_ptr<SimWindow> mainWindow);

    int32_t Count() override;
    std::shared_ptr<vbide::Window> Item(int32_t index) override;
    std::shared_ptr<vbide::Window> CreateToolWindow(std::shared_ptr<vbide::AddIn> addInInst, const std::string& progId,
                                                    const std::string& caption, const std::string& guidPosition,
                                                    std::shared_ptr<vb::Object>& docObj) override;

    const std::vector<std::shared_ptr<SimWindow>>& toolWindows() const { return toolWindows_; }
    // The IDE destroys the add-in's tool windows (on disconnection).
    void closeToolWindowsOf(const vbide::AddIn* addIn);

private:
    std::shared_ptr<Journal> journal_;
    std::shared_ptr<Focus> focus_;
    std::shared_ptr<SimWindow> mainWindow_;
    std::vector<std::shared_ptr<SimWindow>> toolWindows_;
};

} // namespace sim

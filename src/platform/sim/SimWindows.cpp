#include "platform/sim/SimWindows.h"

#include "platform/error.h"
#include "platform/vbide/ClassRegistry.h"

namespace sim {

namespace {
constexpr int32_t toolWindowWidth = 4000;
constexpr int32_t toolWindowHeight = 6000;
} // namespace

SimWindows::SimWindows(std::shared_ptr<Journal> journal, std::shared_ptr<Focus> focus,
                       std::shared_ptr<SimWindow> mainWindow)
    : journal_(std::move(journal)), focus_(std::move(focus)), mainWindow_(std::move(mainWindow)) {}

int32_t SimWindows::Count() {
    journal_->enter("Windows.Count", "");
    return static_cast<int32_t>(toolWindows_.size()) + 1;
}

std::shared_ptr<vbide::Window> SimWindows::Item(int32_t index) {
    journal_->enter("Windows.Item", "", {std::to_string(index)});
    if (index == 1) {
        return mainWindow_;
    }
    if (index < 1 || index > static_cast<int32_t>(toolWindows_.size()) + 1) {
        throw vb::VBError(vb::err::SubscriptOutOfRange, "Subscript out of range");
    }
    return toolWindows_[static_cast<std::size_t>(index - 2)];
}

std::shared_ptr<vbide::Window> SimWindows::CreateToolWindow(std::shared_ptr<vbide::AddIn> addInInst,
                                                            const std::string& progId, const std::string& caption,
                                                            const std::string& guidPosition,
                                                            std::shared_ptr<vb::Object>& docObj) {
    journal_->enter("Windows.CreateToolWindow", "", {progId, caption, guidPosition});
    if (!addInInst || guidPosition.empty()) {
        throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
    }
    auto document = vbide::ClassRegistry::instance().create(progId);
    auto window = std::make_shared<SimWindow>(journal_, focus_, caption, toolWindowWidth, toolWindowHeight, false);
    window->hostDocument(document, std::move(addInInst), guidPosition);
    toolWindows_.push_back(window);
    docObj = std::move(document);
    return window;
}

void SimWindows::closeToolWindowsOf(const vbide::AddIn* addIn) {
    std::vector<std::shared_ptr<SimWindow>> closing;
    std::erase_if(toolWindows_, [&](const std::shared_ptr<SimWindow>& w) {
        if (w->addIn().get() != addIn) {
            return false;
        }
        closing.push_back(w);
        return true;
    });
    for (const auto& w : closing) {
        w->close();
    }
}

} // namespace sim

// FuzzWorld: what stands behind the poll loop in the fuzz targets - a simulated IDE with two
// projects (a code module, a form and a Data Environment), the server view's tree and details list
// published to viewAPIs, an integration manager with the real ModelUtilVB, the poller form, and a
// person who answers every message box with a button it offers, chosen by the fuzzer.
//
// One world per input, so nothing grows from one input to the next. check() aborts on a broken
// invariant; a crash or a sanitizer report ends the run by itself.
#pragma once

#include "addin/IntegrationMgr.h"
#include "platform/ui/User.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sim {
class SimVBE;
}
namespace ui {
class TreeView;
class ListView;
} // namespace ui

namespace nimb {
class ModelUtilVB;
class notificationThreadFrm;
} // namespace nimb

namespace nimbfuzz {

// Answers with a button the box offers; checks that the box is one the add-in can make.
class FuzzUser : public ui::User {
  public:
    struct Box {
        std::string prompt;
        int32_t style;
        std::string title;
        int32_t answer;
    };
    explicit FuzzUser(FuzzedDataProvider& input) : input_(input) {}

    int32_t msgBox(const std::string& prompt, int32_t style, const std::string& title) override;
    void showModal(ui::Form& form) override;
    ui::Menu* popupMenu(ui::Menu&, int32_t, int32_t) override { return nullptr; }
    std::optional<std::string> fileDialog(ui::CommonDialog&, ui::FileDialogMode) override {
        return std::nullopt;
    }

    std::vector<Box> boxes;

  private:
    FuzzedDataProvider& input_;
};

class FuzzMgr : public nimb::IntegrationMgr {
  public:
    void showDevView() override { ++calls; }
    void setWKFileName(const std::string& f) override { wkFileName = f; }
    std::string getWKFileName() override { return wkFileName; }
    void openWKProject() override { ++calls; }
    std::shared_ptr<nimb::ModelUtil> getModel() override;
    int32_t getIdeType() override { return 1; }
    void minimizeVSAppWin() override { ++calls; }
    void restoreVSAppWinState() override { ++calls; }

    std::shared_ptr<nimb::ModelUtilVB> model;
    std::string wkFileName = "C:\\vb\\wk\\Project1.wkv";
    int calls = 0;
};

class FuzzWorld {
  public:
    // Builds the world; the input chooses the starting tree, the selected node and the splash.
    explicit FuzzWorld(FuzzedDataProvider& input);
    ~FuzzWorld();
    FuzzWorld(const FuzzWorld&) = delete;
    FuzzWorld& operator=(const FuzzWorld&) = delete;

    // One timer tick of the poller.
    void tick();
    // Aborts when the tree, the list or the answers sent to the engine break what the add-in keeps.
    void check() const;

    std::shared_ptr<FuzzUser> user;

  private:
    void buildTree(FuzzedDataProvider& input);

    std::shared_ptr<sim::SimVBE> ide_;
    std::shared_ptr<FuzzMgr> mgr_;
    std::shared_ptr<ui::TreeView> tree_;
    std::shared_ptr<ui::ListView> list_;
    std::shared_ptr<nimb::notificationThreadFrm> poller_;
};

} // namespace nimbfuzz

// StandinWorld: the add-in's notification path as it runs inside the IDE, for measurements. The
// stand-in engine is loaded through the add-in's own run-time boundary (wkapis, with
// NIMB_ENGINE_LIBRARY naming the built library); the poller form runs on virtual time; the server
// view's tree and details list are published to viewAPIs; the real ModelUtilVB works on a simulated
// IDE whose Project1.Module1 holds a 100,000-line module. The stand-in's test functions (WKSI_)
// are looked up in the same loaded library.
#pragma once

#include "standin_api.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sim {
class SimCodeModule;
class SimVBE;
} // namespace sim
namespace ui {
class ImageList;
class ListView;
class ScriptedUser;
class TreeView;
} // namespace ui
namespace nimb {
class notificationThreadFrm;
}

namespace nimbbench {

class BenchMgr;

struct TestApi {
    decltype(&::WKSI_Reset) Reset;
    decltype(&::WKSI_InjectNotification) InjectNotification;
    decltype(&::WKSI_InjectSQLText) InjectSQLText;
    decltype(&::WKSI_InjectADOText) InjectADOText;
    decltype(&::WKSI_GenerateObjects) GenerateObjects;
    decltype(&::WKSI_FindHandle) FindHandle;
    decltype(&::WKSI_PendingNotifications) PendingNotifications;
};

class StandinWorld {
  public:
    static constexpr int32_t moduleLines = 100000;

    StandinWorld();
    ~StandinWorld();
    StandinWorld(const StandinWorld&) = delete;
    StandinWorld& operator=(const StandinWorld&) = delete;

    // A fresh engine project with one connection, opened through the poll loop as the add-in opens
    // it; its stored-procedure folder is selected in the tree and holds n generated procedures, and
    // the engine has queued that folder's contents (not yet listed). Returns the folder's handle.
    int32_t procedureFolder(int32_t n);
    int32_t projectHdl() const { return project_; }
    int32_t connectionHdl() const { return connection_; }

    // One tick of the poller: the whole queue is drained.
    void tick();

    ui::ListView& list() { return *list_; }
    // A new details list in place of the old one, as it is when the view is made: empty, and never
    // grown by an earlier listing.
    void freshList();
    sim::SimCodeModule& module() { return *module_; }
    // The module's lines as they were made.
    const std::vector<std::string>& originalLines() const { return lines_; }
    const TestApi& engine() const { return api_; }
    // Message boxes and other questions nobody expected (empty when everything went as planned).
    std::vector<std::string> problems() const;

  private:
    std::string directory_;
    TestApi api_{};
    std::shared_ptr<sim::SimVBE> ide_;
    std::shared_ptr<sim::SimCodeModule> module_;
    std::vector<std::string> lines_;
    std::shared_ptr<BenchMgr> mgr_;
    std::shared_ptr<ui::ScriptedUser> user_;
    std::shared_ptr<ui::TreeView> tree_;
    std::shared_ptr<ui::ImageList> images_;
    std::shared_ptr<ui::ListView> list_;
    std::shared_ptr<nimb::notificationThreadFrm> poller_;
    int32_t project_ = 0;
    int32_t connection_ = 0;
};

} // namespace nimbbench

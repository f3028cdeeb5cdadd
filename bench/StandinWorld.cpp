#include "StandinWorld.h"

#include "addin/IntegrationMgr.h"
#include "engine/VSAConstants.h"
#include "engine/ansi.h"
#include "engine/wkapis.h"
#include "model/ModelUtilVB.h"
#include "notify/notificationThreadFrm.h"
#include "notify/viewAPIs.h"
#include "platform/sim/SimCodeModule.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/LoadResPicture.h"
#include "platform/ui/ScriptedUser.h"
#include "platform/ui/TreeView.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace nimbbench {

using namespace nimb::VSAConstants;

namespace {

constexpr int32_t actionAdd = 9; // WKObjectDoAction on a project: a new connection

template <class Fn> Fn lookUp(void* library, const char* name) {
    auto fn = reinterpret_cast<Fn>(dlsym(library, name));
    if (!fn)
        throw std::runtime_error(std::string("the stand-in engine does not export ") + name);
    return fn;
}

std::vector<std::string> numberedLines(int32_t n) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(n));
    for (int32_t i = 1; i <= n; ++i)
        lines.push_back("    total = total + " + std::to_string(i) + " ' line");
    return lines;
}

} // namespace

// The integration manager as far as the poller needs it: it opens (creating) the engine project
// when the engine has started, as IMgrVB does, and hands out the model.
class BenchMgr : public nimb::IntegrationMgr {
  public:
    explicit BenchMgr(std::string wkFile) : wkFile_(std::move(wkFile)) {}
    void openWKProject() override {
        nimb::ansi::InOutBuffer name(wkFile_);
        nimb::ansi::InOutBuffer path("");
        nimb::wkapis::WKProjectDoAccess(name.data(), path.data(), WK_ACCESS_OPEN_OR_CREATE);
    }
    std::string getWKFileName() override { return wkFile_; }
    std::shared_ptr<nimb::ModelUtil> getModel() override { return model; }
    int32_t getIdeType() override { return IDE_VB; }

    std::shared_ptr<nimb::ModelUtilVB> model = std::make_shared<nimb::ModelUtilVB>();

  private:
    std::string wkFile_;
};

StandinWorld::StandinWorld()
    : directory_(
          (std::filesystem::temp_directory_path() / ("nimb-bench-" + std::to_string(getpid()))).string()),
      ide_(sim::SimVBE::create()), lines_(numberedLines(moduleLines)),
      mgr_(std::make_shared<BenchMgr>(directory_ + "/bench.wkv")),
      user_(std::make_shared<ui::ScriptedUser>()), tree_(std::make_shared<ui::TreeView>()),
      images_(std::make_shared<ui::ImageList>()) {
    setenv("NIMB_ENGINE_LIBRARY", NIMB_STANDIN_LIBRARY, 1);
    nimb::wkapis::useLibrary();
    void* library = dlopen(NIMB_STANDIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        throw std::runtime_error(std::string("cannot load the stand-in engine: ") + dlerror());
    api_ = {lookUp<decltype(TestApi::Reset)>(library, "WKSI_Reset"),
            lookUp<decltype(TestApi::InjectNotification)>(library, "WKSI_InjectNotification"),
            lookUp<decltype(TestApi::InjectSQLText)>(library, "WKSI_InjectSQLText"),
            lookUp<decltype(TestApi::InjectADOText)>(library, "WKSI_InjectADOText"),
            lookUp<decltype(TestApi::GenerateObjects)>(library, "WKSI_GenerateObjects"),
            lookUp<decltype(TestApi::FindHandle)>(library, "WKSI_FindHandle"),
            lookUp<decltype(TestApi::PendingNotifications)>(library, "WKSI_PendingNotifications")};

    ui::User::install(user_);
    ui::EventLoop::reset();
    auto project = ide_->addProject("Project1", directory_ + "/Project1.vbp");
    module_ = project->addModule("Module1", lines_)->code();
    mgr_->model->setVBInstance(ide_);

    for (const char* key : nimb::viewAPIs::images::inOrder)
        images_->ListImages().Add(0, key, ui::StoredPicture(key));
    tree_->setImageList(images_);
    tree_->setSorted(true);
    nimb::viewAPIs::setServerTreeView(tree_);
    freshList();
    nimb::viewAPIs::setIMgr(mgr_);

    poller_ = ui::New<nimb::notificationThreadFrm>();
    poller_->Load();
    poller_->setIMMgr(mgr_);
}

void StandinWorld::freshList() {
    list_ = std::make_shared<ui::ListView>();
    list_->setSmallIcons(images_);
    list_->setIcons(images_);
    list_->setView(ui::lvw::Report);
    nimb::viewAPIs::setServerDetailsView(list_);
}

StandinWorld::~StandinWorld() {
    ui::Forms::unloadAll();
    poller_.reset();
    nimb::viewAPIs::resetModuleState();
    ui::User::install(nullptr);
    nimb::wkapis::WKTerminate();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

int32_t StandinWorld::procedureFolder(int32_t n) {
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_);
    api_.Reset();
    nimb::wkapis::WKInitialize(IDE_VB, directory_.c_str(), "");
    tick(); // the engine has started: the manager opens (creates) the project
    tick(); // the project arrives and becomes the tree's root
    project_ = api_.FindHandle(WK_OBJ_PROJECT, "");
    nimb::wkapis::WKObjectDoAction(project_, actionAdd);
    tick(); // the new connection arrives with its five folders
    connection_ = api_.FindHandle(WK_OBJ_CONNECTION, "NEWDB");
    const int32_t folder = api_.FindHandle(WK_OBJ_PROCEDURE_FOLDER, "NEWDB");
    if (project_ == 0 || connection_ == 0 || folder == 0)
        throw std::runtime_error("the engine project did not open");
    tree_->setSelectedItem(tree_->Nodes().Item(nimb::viewAPIs::makeNodeKey(folder)));
    if (api_.GenerateObjects(folder, WK_OBJ_PROCEDURE, n) != n)
        throw std::runtime_error("no generated objects");
    return folder;
}

void StandinWorld::tick() {
    ui::EventLoop::advance(100);
}

std::vector<std::string> StandinWorld::problems() const {
    return user_->problems();
}

} // namespace nimbbench

// The server view on its own: the control made and set up as its document does it (10000 x 5000
// twips), a recording integration manager and model service, engine texts "t<id>", SourceSafe
// installed in an in-memory registry, and a scripted person whose popups are recorded. buildTree()
// adds a project K10, a connection K20 and the folders K21..K25 (tags 7, 9, 11, 13, 15) through the
// tree-update module.
#pragma once

#include "addin/IntegrationMgr.h"
#include "engine/wkutil.h"
#include "model/ModelUtil.h"
#include "notify/viewAPIs.h"
#include "platform/registry/Registry.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScriptedUser.h"
#include "scc/VSSAPI.h"
#include "serverview/svrViewCtl.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace svtest {

class PopupUser : public ui::ScriptedUser {
  public:
    ui::Menu* popupMenu(ui::Menu& menu, int32_t x, int32_t y) override {
        popups.push_back(menu.Name());
        return ScriptedUser::popupMenu(menu, x, y);
    }
    std::vector<std::string> popups;
};

using Log = std::vector<std::string>;

class Model : public nimb::ModelUtil {
  public:
    explicit Model(Log& log) : log(log) {}
    void saveWKFileName(std::string f) override { note("saveWKFileName(" + f + ")"); }
    void note(const std::string& call) { log.push_back(call); }
    Log& log;
};

class Manager : public nimb::IntegrationMgr {
  public:
    void setWKFileName(const std::string& f) override { log.push_back("setWKFileName(" + f + ")"); }
    std::string getWKFileName() override { return log.push_back("getWKFileName"), wkFile; }
    std::shared_ptr<nimb::ModelUtil> getModel() override { return log.push_back("getModel"), model; }
    int32_t getIdeType() override { return log.push_back("getIdeType"), ideType; }
    Log log;
    int32_t ideType = 1;
    std::string wkFile = "C:\\work\\shop\\shop.wkv";
    std::shared_ptr<Model> model = std::make_shared<Model>(log);
};

class ServerViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (auto [from, to] : {std::pair{400, 445}, {500, 532}, {610, 611}, {681, 682}})
            for (int32_t id = from; id <= to; ++id)
                engine.setString(id, "t" + std::to_string(id));
        ui::User::install(user);
        ui::EventLoop::reset();
        registry::install(reg);
        reg->setString(registry::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\SourceSafe", "SCCServerPath", "x");
        nimb::wkutil::moduleState() = {"Arial", 9, 1};
        ctl = start();
    }
    void TearDown() override {
        ctl.reset();
        ui::Forms::unloadAll();
        nimb::viewAPIs::resetModuleState();
        nimb::VSSAPI::resetModuleState();
        registry::install(nullptr);
        nimb::wkutil::resetModuleState();
        for (const auto& problem : user->problems())
            ADD_FAILURE() << problem;
        ui::User::install(nullptr);
    }

    std::shared_ptr<nimb::svrViewCtl> start() {
        auto c = ui::New<nimb::svrViewCtl>();
        c->setIMgr(mgr);
        c->setupGUI();
        c->Move(0, 0, 10000, 5000);
        return c;
    }
    void buildTree() {
        nimb::viewAPIs::addFolderNode("Shop", "5", "K10", "", true);
        nimb::viewAPIs::addConnectionNode("K10", {.lHdl = 20, .bConnected = true, .strDatabase = "DB"});
        for (int32_t tag : {7, 9, 11, 13, 15})
            nimb::viewAPIs::addFolderNode("F" + std::to_string(tag), std::to_string(tag),
                                          "K" + std::to_string(20 + (tag + 1) / 2 - 3), "K20", false);
        node("K10")->setExpanded(true);
        node("K20")->setExpanded(true);
    }
    ui::NodePtr node(const std::string& key) { return ctl->serverTreeView->Nodes().Item(key); }
    ui::ListView& list() { return *ctl->serverDetailsView; }
    // An SQL routine in the list as the tree-update module writes it.
    void addRoutine(int32_t hdl) {
        nimb::viewAPIs::addProcedureItem({.lHdl = hdl, .strName = "P" + std::to_string(hdl), .strLanguage = "SQL"});
    }
    std::vector<std::string> engineActions() const {
        std::vector<std::string> out;
        for (const auto& call : engine.journal())
            if (!call.starts_with("WKGetString"))
                out.push_back(call);
        return out;
    }
    std::vector<std::string> boxes() const {
        std::vector<std::string> out;
        for (const auto& box : user->messageBoxes())
            out.push_back(box.subject);
        return out;
    }

    nimbtest::EngineDouble engine;
    std::shared_ptr<PopupUser> user = std::make_shared<PopupUser>();
    std::shared_ptr<sim::MemoryRegistry> reg = std::make_shared<sim::MemoryRegistry>();
    std::shared_ptr<Manager> mgr = std::make_shared<Manager>();
    std::shared_ptr<nimb::svrViewCtl> ctl;
};

} // namespace svtest

// The notification tests' doubles: an integration manager and a model service that record their
// calls, and a server view's tree and list published to viewAPIs.
#pragma once

#include "addin/IntegrationMgr.h"
#include "model/ModelUtil.h"
#include "notify/viewAPIs.h"
#include "platform/error.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/LoadResPicture.h"
#include "platform/ui/ScriptedUser.h"
#include "platform/ui/TreeView.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace nimbtest {

// Every call as "name(arg|arg)"; the operation named in failOn fails with error 91.
struct CallLog {
    std::vector<std::string> calls;
    std::string failOn;

    static std::string text(const std::string& s) { return s; }
    static std::string text(int32_t n) { return std::to_string(n); }
    template <class... Args> void note(const std::string& name, const Args&... args) {
        std::string call = name + "(", sep;
        ((call += sep + text(args), sep = "|"), ...);
        calls.push_back(call + ")");
        if (name == failOn)
            throw vb::VBError(91, "Object variable not set", "double");
    }
};

class RecordingModelUtil : public nimb::ModelUtil {
  public:
    CallLog log;

    void insertClientCode(const std::string& code, const std::string& proj,
                          const std::string& comp) override {
        log.note("insertClientCode", code, proj, comp);
    }
    void insertSQLCode(const std::string& sql, int32_t l1, int32_t c1, int32_t l2, int32_t c2,
                       const std::string& proj, const std::string& comp) override {
        log.note("insertSQLCode", sql, l1, c1, l2, c2, proj, comp);
    }
    void addADOConnection(const std::string& conString, const std::string& con, const std::string& de,
                          const std::string& proj) override {
        log.note("addADOConnection", conString, con, de, proj);
    }
    void AddADOCommand(int32_t type, const std::string& text, const std::string& cmd, const std::string& con,
                       const std::string& de, const std::string& proj) override {
        log.note("AddADOCommand", type, text, cmd, con, de, proj);
    }
    void saveWKFileName(std::string fileName) override { log.note("saveWKFileName", fileName); }
};

class RecordingIntegrationMgr : public nimb::IntegrationMgr {
  public:
    CallLog log;
    int32_t ideType = 1;
    std::shared_ptr<nimb::ModelUtil> model;

    void showDevView() override { log.note("showDevView"); }
    void setWKFileName(const std::string& f) override { log.note("setWKFileName", f); }
    std::string getWKFileName() override { return log.note("getWKFileName"), "C:\\vb\\wk\\Project1.wkv"; }
    void openWKProject() override { log.note("openWKProject"); }
    std::shared_ptr<nimb::ModelUtil> getModel() override { return log.note("getModel"), model; }
    int32_t getIdeType() override { return log.note("getIdeType"), ideType; }
    void minimizeVSAppWin() override { log.note("minimizeVSAppWin"); }
    void restoreVSAppWinState() override { log.note("restoreVSAppWinState"); }
};

// A tree and a details list with the eleven images, published to viewAPIs with the manager.
class ServerViewFixture : public ::testing::Test {
  protected:
    ServerViewFixture() {
        ui::User::install(user);
        ui::EventLoop::reset();
        auto imageList = std::make_shared<ui::ImageList>();
        for (const char* key : nimb::viewAPIs::images::inOrder)
            imageList->ListImages().Add(0, key, ui::StoredPicture(key));
        tree->setImageList(imageList);
        tree->setSorted(true);
        list->setSmallIcons(imageList);
        list->setIcons(imageList);
        nimb::viewAPIs::setServerTreeView(tree);
        nimb::viewAPIs::setServerDetailsView(list);
        nimb::viewAPIs::setIMgr(mgr);
        mgr->model = model;
    }
    ~ServerViewFixture() override {
        ui::Forms::unloadAll();
        nimb::viewAPIs::resetModuleState();
        ui::User::install(nullptr);
    }

    std::vector<std::string> boxes() const {
        std::vector<std::string> out;
        for (const auto& box : user->messageBoxes())
            out.push_back(box.subject);
        return out;
    }
    // A project K10 (tag "5"), its connection K20 (tag 6) and the folders K21..K25 (tags "7".."15").
    void buildProjectTree() {
        auto& nodes = tree->Nodes();
        nodes.Add({}, ui::tvw::Next, "K10", "Proj")->setTag(vb::Variant("5"));
        nodes.Add(vb::Variant("K10"), ui::tvw::Child, "K20", "DB")->setTag(vb::Variant(int32_t{6}));
        for (int tag = 7; tag <= 15; tag += 2)
            nodes.Add(vb::Variant("K20"), ui::tvw::Child, "K" + std::to_string(17 + (tag + 1) / 2), "F")
                ->setTag(vb::Variant(std::to_string(tag)));
    }
    void select(const std::string& key) { tree->setSelectedItem(tree->Nodes().Item(key)); }

    EngineDouble engine;
    std::shared_ptr<ui::ScriptedUser> user = std::make_shared<ui::ScriptedUser>();
    std::shared_ptr<ui::TreeView> tree = std::make_shared<ui::TreeView>();
    std::shared_ptr<ui::ListView> list = std::make_shared<ui::ListView>();
    std::shared_ptr<RecordingModelUtil> model = std::make_shared<RecordingModelUtil>();
    std::shared_ptr<RecordingIntegrationMgr> mgr = std::make_shared<RecordingIntegrationMgr>();
};

} // namespace nimbtest

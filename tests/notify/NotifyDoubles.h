// Test doubles and the common fixture of the notification tests: an integration manager and a model
// service that record their calls, and a server view's tree and list published to viewAPIs.
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
#include <optional>
#include <string>
#include <vector>

namespace nimbtest {

// Every call as text; fails the operation named in failOn with error 91.
struct CallLog {
    std::vector<std::string> calls;
    std::string failOn;

    void note(const std::string& call) {
        calls.push_back(call);
        const auto name = call.substr(0, call.find('('));
        if (name == failOn) throw vb::VBError(91, "Object variable not set", "double");
    }
};

class RecordingModelUtil : public nimb::ModelUtil {
public:
    CallLog log;

    void insertClientCode(const std::string& code, const std::string& proj, const std::string& comp) override {
        log.note("insertClientCode(" + code + "|" + proj + "|" + comp + ")");
    }
    void insertSQLCode(const std::string& sql, int32_t l1, int32_t c1, int32_t l2, int32_t c2, const std::string& proj,
                       const std::string& comp) override {
        log.note("insertSQLCode(" + sql + "|" + std::to_string(l1) + "|" + std::to_string(c1) + "|" +
                 std::to_string(l2) + "|" + std::to_string(c2) + "|" + proj + "|" + comp + ")");
    }
    void addADOConnection(const std::string& conString, const std::string& con, const std::string& de,
                          const std::string& proj) override {
        log.note("addADOConnection(" + conString + "|" + con + "|" + de + "|" + proj + ")");
    }
    void AddADOCommand(int32_t type, const std::string& text, const std::string& cmd, const std::string& con,
                       const std::string& de, const std::string& proj) override {
        log.note("AddADOCommand(" + std::to_string(type) + "|" + text + "|" + cmd + "|" + con + "|" + de + "|" + proj +
                 ")");
    }
    void saveWKFileName(std::string fileName) override { log.note("saveWKFileName(" + fileName + ")"); }
};

class RecordingIntegrationMgr : public nimb::IntegrationMgr {
public:
    CallLog log;
    int32_t ideType = 1;
    std::string wkFileName = "C:\\vb\\wk\\Project1.wkv";
    std::shared_ptr<nimb::ModelUtil> model;

    void showDevView() override { log.note("showDevView()"); }
    void setWKFileName(const std::string& f) override { log.note("setWKFileName(" + f + ")"); }
    std::string getWKFileName() override {
        log.note("getWKFileName()");
        return wkFileName;
    }
    void openWKProject() override { log.note("openWKProject()"); }
    std::shared_ptr<nimb::ModelUtil> getModel() override {
        log.note("getModel()");
        return model;
    }
    int32_t getIdeType() override {
        log.note("getIdeType()");
        return ideType;
    }
    void minimizeVSAppWin() override { log.note("minimizeVSAppWin()"); }
    void restoreVSAppWinState() override { log.note("restoreVSAppWinState()"); }
};

// A server view's tree and details list with the eleven images, published to viewAPIs, an engine
// double, a scripted person and the two recording doubles.
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

    // The texts of the message boxes shown so far.
    std::vector<std::string> boxes() const {
        std::vector<std::string> out;
        for (const auto& box : user->messageBoxes()) out.push_back(box.subject);
        return out;
    }

    // A project root with one connection (handle 20) and its five folders (21 to 25).
    void buildProjectTree() {
        auto& nodes = tree->Nodes();
        nodes.Add({}, ui::tvw::Next, "K10", "Proj")->setTag(vb::Variant("5"));
        nodes.Add(vb::Variant("K10"), ui::tvw::Child, "K20", "DB")->setTag(vb::Variant(int32_t{6}));
        const char* tags[] = {"7", "9", "11", "13", "15"};
        for (int i = 0; i < 5; ++i)
            nodes.Add(vb::Variant("K20"), ui::tvw::Child, "K" + std::to_string(21 + i), std::string("F") + tags[i])
                ->setTag(vb::Variant(tags[i]));
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

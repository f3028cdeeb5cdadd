// What the add-in core's tests share: the engine double with texts "t<id>" and the font Arial 9, the
// simulated IDE, a scripted person, an in-memory registry, the module registered, and a server view
// stand-in that records what its document asks of it.
#pragma once

#include "addin/Connect.h"
#include "addin/IMgrVB.h"
#include "addin/Registration.h"
#include "addin/serverViewDoc.h"
#include "engine/wkutil.h"
#include "platform/registry/Registry.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/sim/SimAddIn.h"
#include "platform/sim/SimCommandBar.h"
#include "platform/sim/SimCommandBarControl.h"
#include "platform/sim/SimCommandBarControls.h"
#include "platform/sim/SimCommandBars.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScriptedUser.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace addintest {

// Stands in for svrViewCtl: records the sizes its document gives it.
class RecordingServerView : public nimb::ServerViewControl {
public:
    void setIMgr(std::shared_ptr<nimb::IntegrationMgr>) override {}
    void setupGUI() override {}

    std::vector<std::pair<int32_t, int32_t>> sizes;  // width and height after each resize

protected:
    void UserControl_Resize() override { sizes.emplace_back(Width(), Height()); }
};

class AddinTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int32_t id = 200; id <= 645; ++id) engine.setString(id, "t" + std::to_string(id));
        engine.setString(100, "Arial");
        engine.setString(101, "9");
        ui::User::install(user);
        registry::install(reg);
        ui::EventLoop::reset();
        nimb::setServerViewControlFactory([this] {
            auto view = ui::New<RecordingServerView>();
            views.push_back(view);
            return view;
        });
        ASSERT_EQ(nimb::Registration::registerServer(), nimb::Registration::resultOK);
    }

    void TearDown() override {
        ide->endSession();  // the IDE and a connected add-in hold each other until it disconnects
        ui::Forms::unloadAll();
        nimb::Registration::unregisterServer();
        nimb::setServerViewControlFactory(nullptr);
        registry::install(nullptr);
        nimb::wkutil::resetModuleState();
        ui::Clipboard::Clear();
        for (const auto& problem : user->problems()) ADD_FAILURE() << problem;
    }

    // The IDE loads the add-in (as the Add-In Manager does).
    std::shared_ptr<sim::SimAddIn> connect() {
        addIn = ide->connectAddIn(nimb::connectProgId, nimb::Registration::addInDisplayName);
        return addIn;
    }
    nimb::Connect& connection() { return dynamic_cast<nimb::Connect&>(*addIn->object()); }
    std::shared_ptr<sim::SimCommandBarControl> control(const std::string& field) {
        return std::dynamic_pointer_cast<sim::SimCommandBarControl>(connection().controlNamed(field));
    }
    // A person clicks the Add-Ins entry; false when it could not be reached.
    bool clickAddInsEntry() { return ide->click(control("addInMenuItem")); }

    // A project open and the add-in connected and started.
    void start(const std::string& projectName = "Project1", const std::string& fileName = "C:\\Work\\Project1.vbp") {
        project = ide->addProject(projectName, fileName);
        connect();
        ASSERT_TRUE(clickAddInsEntry());
    }

    std::shared_ptr<sim::SimWindow> toolWindow() {
        auto windows = ide->toolWindows();
        return windows.empty() ? nullptr : windows.back();
    }
    std::shared_ptr<nimb::serverViewDoc> document() {
        auto window = toolWindow();
        return window ? std::dynamic_pointer_cast<nimb::serverViewDoc>(window->document()) : nullptr;
    }
    // The manager as the rest of the add-in reaches it: through the server view's IMgr.
    std::shared_ptr<nimb::IntegrationMgr> manager() {
        auto doc = document();
        return doc ? doc->IMgr() : nullptr;
    }

    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& box : user->messageBoxes()) out.push_back(box.subject);
        return out;
    }

    nimbtest::EngineDouble engine;
    std::shared_ptr<ui::ScriptedUser> user = std::make_shared<ui::ScriptedUser>();
    std::shared_ptr<sim::MemoryRegistry> reg = std::make_shared<sim::MemoryRegistry>();
    std::vector<std::shared_ptr<RecordingServerView>> views;
    std::shared_ptr<sim::SimVBE> ide = sim::SimVBE::create();
    std::shared_ptr<sim::SimProject> project;
    std::shared_ptr<sim::SimAddIn> addIn;
};

// Every control on the IDE's command bars that is not the IDE's own, at any depth.
inline std::vector<std::shared_ptr<sim::SimCommandBarControl>> foreignControls(const sim::SimVBE& ide) {
    std::vector<std::shared_ptr<sim::SimCommandBarControl>> out;
    auto walk = [&](auto& self, const std::shared_ptr<sim::SimCommandBarControls>& controls) -> void {
        if (!controls) return;
        for (const auto& c : controls->controls()) {
            if (!c->builtIn()) out.push_back(c);
            self(self, c->controls());
        }
    };
    for (const auto& bar : ide.commandBars()->bars()) walk(walk, bar->controls());
    return out;
}

} // namespace addintest

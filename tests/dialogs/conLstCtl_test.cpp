// The Data Environment object dialog, run through the caller's protocol as the server view runs it.
#include "dialogs/conLstCtl.h"

#include "engine/wkutil.h"
#include "platform/error.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScriptedUser.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using nimb::conLstCtl;
using ui::ScriptedUser;
using Step = ScriptedUser::Step;
using Strings = std::vector<std::string>;

// The lists as the IDE model gives them: a Data Environment without connections is an error.
class FakeIntegrationMgr : public nimb::IntegrationMgr {
public:
    Strings projects{"Proj2", ""};  // two open projects, only the second with Data Environments
    Strings dataEnvs{"DE1", "DE2"};
    std::map<std::string, Strings> connections{{"DE1", {"Con1", "Con2"}}, {"DE2", {"Con3"}}};
    Strings calls;

    void getProjList(Strings& list) override {
        calls.push_back("projects");
        list = projects;
    }
    void getDataEnvList(Strings& list, const std::string& projName) override {
        calls.push_back("DEs of " + projName);
        list = dataEnvs;
    }
    void getConnectionList(Strings& list, const std::string& dataenvName, const std::string& projName) override {
        calls.push_back("connections of " + projName + "." + dataenvName);
        if (connections[dataenvName].empty()) throw vb::VBError(9, "9:Subscript out of range");
        list = connections[dataenvName];
    }
};

struct Target {
    bool accepted = false;
    std::string name = "-", project = "-", dataEnv = "-", connection = "-";
};

// The caller's protocol: load, IMgr, setupGUI, modal show, decision, copy, unload.
Target askADOTarget(const std::shared_ptr<nimb::IntegrationMgr>& mgr, bool isCommand, const std::string& name) {
    Target target;
    auto dialog = ui::Forms::instance<conLstCtl>();
    dialog->setIMgr(mgr);
    dialog->setupGUI(name, isCommand);
    dialog->Show(ui::vbModal);
    target.accepted = dialog->userDecision() == "True";
    if (target.accepted) {
        target.name = dialog->selectedName();
        target.project = dialog->selectedProj();
        target.dataEnv = dialog->selectedDataEnv();
        if (isCommand) target.connection = dialog->selectedCon();
    }
    dialog->Unload();
    return target;
}

Strings items(const ui::ComboBox& combo) {
    Strings out;
    for (int32_t i = 0; i < combo.ListCount(); ++i) out.push_back(combo.List(i));
    return out;
}

Step check(std::string what, std::function<void(conLstCtl&)> fn) {
    return ScriptedUser::run(std::move(what), [fn](ui::Form& form) { fn(static_cast<conLstCtl&>(form)); });
}

class ConLstCtlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::User::install(user);
        for (int32_t id = 520; id <= 532; ++id) engine.setString(id, "text " + std::to_string(id));
    }
    void TearDown() override {
        EXPECT_EQ(user->problems(), Strings{});
        ui::Forms::unloadAll();
        ui::User::install(nullptr);
    }
    Target run(bool isCommand, std::vector<Step> steps) {
        user->expectModal("conLstCtl", std::move(steps));
        return askADOTarget(mgr, isCommand, "Proposed");
    }

    nimbtest::EngineDouble engine;
    std::shared_ptr<ScriptedUser> user = std::make_shared<ScriptedUser>();
    std::shared_ptr<FakeIntegrationMgr> mgr = std::make_shared<FakeIntegrationMgr>();
};

TEST_F(ConLstCtlTest, ConnectionModeHidesTheConnectionRowAndTheEmptyProjectGivesEmptyTargets) {
    auto target = run(false, {check("set-up", [](conLstCtl& d) { EXPECT_FALSE(d.conCombo->Visible()); }),
                              ScriptedUser::chooseIndex("projCombo", 1),
                              check("no DE", [](conLstCtl& d) { EXPECT_EQ(d.dataEnvCombo->ListCount(), 0); }),
                              ScriptedUser::press("okBtn")});
    EXPECT_TRUE(target.accepted);
    EXPECT_EQ((Strings{target.name, target.project, target.dataEnv}), (Strings{"Proposed", "", ""}));
    EXPECT_EQ(mgr->calls, (Strings{"projects", "DEs of Proj2"})); // none for the empty item
    EXPECT_EQ(ui::Forms::existing<conLstCtl>(), nullptr);
}

TEST_F(ConLstCtlTest, SelectedConIsEmptyInConnectionModeEvenAfterACommandModeRun) {
    auto dialog = ui::Forms::instance<conLstCtl>();
    dialog->setIMgr(mgr);
    dialog->setupGUI("x", true);
    dialog->okBtn->click();
    ASSERT_EQ(dialog->selectedCon(), "Con1");
    dialog->setupGUI("x", vb::Variant(vb::Null{}));  // Null counts as False
    dialog->okBtn->click();
    EXPECT_EQ(dialog->selectedCon(), "");
    EXPECT_FALSE(dialog->conCombo->Visible());
}

// The first Data Environment has no connections (the IDE model raises error 9 for it): the list is
// empty and the dialog stays usable; another Data Environment refills the list. What a person sees
// of the filled lists (the first connection preselected) is in the Data Environment scenario.
TEST_F(ConLstCtlTest, CommandModeRefillsTheConnectionsForAnotherDataEnvironmentEvenAfterOneWithout) {
    mgr->connections["DE1"].clear();
    auto target = run(true, {check("empty", [](conLstCtl& d) { EXPECT_EQ(d.conCombo->ListCount(), 0); }),
                             ScriptedUser::chooseItem("dataEnvCombo", "DE2"),
                             check("refilled", [](conLstCtl& d) { EXPECT_EQ(items(*d.conCombo), Strings{"Con3"}); }),
                             ScriptedUser::setText("nameTxt", "NewCmd"), ScriptedUser::press("okBtn")});
    EXPECT_TRUE(target.accepted);
    EXPECT_EQ((Strings{target.name, target.project, target.dataEnv, target.connection}),
              (Strings{"NewCmd", "Proj2", "DE2", "Con3"}));
}

TEST_F(ConLstCtlTest, OkAcceptsEvenAnEmptyNameAndCancelOrTheCloseBoxLetTheCallerCopyNothing) {
    for (const auto& [way, accepted] : {std::pair{ScriptedUser::press("okBtn"), true},
                                        {ScriptedUser::press("cancelBtn"), false}, {ScriptedUser::closeBox(), false}}) {
        SCOPED_TRACE(way.description);
        auto target = run(true, {ScriptedUser::setText("nameTxt", ""), way});
        EXPECT_EQ(target.accepted, accepted);
        EXPECT_EQ(target.name, accepted ? "" : "-");
        EXPECT_EQ(target.connection, accepted ? "Con1" : "-");
    }
}

} // namespace

TEST_F(ConLstCtlTest, TabGoesDownTheRowsThenToTheButtons) {
    auto dialog = ui::Forms::instance<conLstCtl>();
    Strings order;
    for (const ui::Control* c : dialog->tabOrder()) order.push_back(c->Name());
    EXPECT_EQ(order, (Strings{"descLbl", "nameLbl", "nameTxt", "projLbl", "projCombo", "dataEnvLbl", "dataEnvCombo",
                              "conLbl", "conCombo", "okBtn", "cancelBtn"}));
}

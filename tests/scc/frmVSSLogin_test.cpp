// The SourceSafe login dialog, run as the server view's runner runs it.
#include "scc/frmVSSLogin.h"

#include "scc/SourceSafeFixture.h"

namespace {

using nimb::frmVSSLogin;
using ui::ScriptedUser;
using Step = ScriptedUser::Step;
using Strings = std::vector<std::string>;

Step check(std::string what, std::function<void(frmVSSLogin&)> fn) {
    return ScriptedUser::run(std::move(what), [fn](ui::Form& form) { fn(static_cast<frmVSSLogin&>(form)); });
}

std::vector<Step> login(const std::string& name, const std::string& password, std::vector<Step> then) {
    std::vector<Step> steps{ScriptedUser::setText("txtUserName", name), ScriptedUser::setText("txtPassword", password),
                            ScriptedUser::press("loginBtn")};
    steps.insert(steps.end(), then.begin(), then.end());
    return steps;
}

class FrmVSSLoginTest : public scctest::SourceSafeTest {
protected:
    // The runner: load once, set up, show the text instead of the form when there is one.
    bool addProjectToSourceSafe() {
        auto form = ui::Forms::instance<frmVSSLogin>();
        const std::string problem = form->setupForm();
        if (!problem.empty()) {
            ui::MsgBox(problem);
            return false;
        }
        form->Show(ui::vbModal);
        return form->successfulLogin();
    }
    bool runLogin(std::vector<Step> steps) {
        user->expectModal("frmVSSLogin", std::move(steps));
        return addProjectToSourceSafe();
    }
};

// The form's texts and what it disables as it opens are what the SourceSafe scenario shows, with
// one database; of several the first is chosen. Without a database the runner shows text 681.
TEST_F(FrmVSSLoginTest, SetupChoosesTheFirstDatabaseOrTheRunnerShowsText681) {
    auto form = ui::Forms::instance<frmVSSLogin>();
    EXPECT_EQ(form->setupForm(), "");
    EXPECT_EQ(form->DBCombo->Text(), "Common");
    EXPECT_EQ(form->DBCombo->ListCount(), 2);

    auto empty = std::make_shared<sim::MemoryRegistry>();
    empty->createKey(scctest::HKLM, scctest::databasesKey);
    registry::install(empty);
    user->answerMsgBox(ui::mb::OK);
    EXPECT_FALSE(addProjectToSourceSafe());
    EXPECT_EQ(shown(), Strings{"text 681"});
}

TEST_F(FrmVSSLoginTest, LoginIsEnabledByADatabaseAndAUserNameWhateverThePassword) {
    struct Case {
        const char *database, *password, *userName;
        bool login;
    };
    auto form = ui::Forms::instance<frmVSSLogin>();
    for (const Case c : {Case{"Common", "", "alice", true}, Case{"Common", "x", "", false},
                         Case{"", "x", "alice", false}, Case{"Team", "", "bob", true}}) {
        form->DBCombo->setText(c.database);
        form->txtPassword->setText(c.password);
        form->txtUserName->setText(c.userName);
        EXPECT_EQ(form->loginBtn->Enabled(), c.login) << c.database << "/" << c.password << "/" << c.userName;
    }
}

TEST_F(FrmVSSLoginTest, EditingAfterALoginWantsAnotherLoginBeforeOk) {
    EXPECT_FALSE(runLogin(login("alice", "secret", {ScriptedUser::setText("txtPassword", "other"),
                                                    check("OK waits", [](frmVSSLogin& form) {
                                                        EXPECT_FALSE(form.cmdOK->Enabled());
                                                        EXPECT_TRUE(form.loginBtn->Enabled());
                                                    }),
                                                    ScriptedUser::pressEscape()})));
}

// A refused login, then the close box, then a login that picks an existing project with Enter: the
// form stays loaded throughout and keeps what was typed for the next login.
TEST_F(FrmVSSLoginTest, ARefusedOrAbandonedLoginKeepsTheFormAndItsNameAndOkTakesAnExistingProjectSilently) {
    user->expectModal("frmVSSLogin", login("alice", "wrong", {check("no way on", [](frmVSSLogin& form) {
                                                                   EXPECT_FALSE(form.cmdOK->Enabled());
                                                                   EXPECT_FALSE(form.projNameCombo->Enabled());
                                                               }),
                                                               ScriptedUser::press("cmdCancel")}));
    user->answerMsgBox(ui::mb::OK);  // asked while the form is shown
    EXPECT_FALSE(addProjectToSourceSafe());
    EXPECT_EQ(shown(), Strings{"Invalid password"});
    ASSERT_TRUE(ui::Forms::isLoaded<frmVSSLogin>());
    EXPECT_FALSE(runLogin({check("the name is kept", [](frmVSSLogin& f) { EXPECT_EQ(f.txtUserName->Text(), "alice"); }),
                           ScriptedUser::closeBox()}));
    ASSERT_TRUE(ui::Forms::isLoaded<frmVSSLogin>());
    EXPECT_TRUE(runLogin({ScriptedUser::setText("txtPassword", "secret"), ScriptedUser::press("loginBtn"),
                          check("the projects", [](frmVSSLogin& form) {
                              EXPECT_EQ(form.projNameCombo->Text(), "Routines");
                              EXPECT_TRUE(form.cmdOK->Enabled());
                          }),
                          ScriptedUser::chooseItem("projNameCombo", "Other"), ScriptedUser::pressEnter()}));
    EXPECT_EQ(shown(), Strings{"Invalid password"});
    EXPECT_EQ(nimb::VSSAPI::moduleState().vssCurrentProject->Spec(), "$/Other");
    EXPECT_TRUE(ui::Forms::isLoaded<frmVSSLogin>());
    EXPECT_EQ(engine.callsTo("WKGetString").size(), 9u);  // the load-time texts, once for three displays
}

} // namespace

TEST_F(FrmVSSLoginTest, TabGoesThroughTheFieldsAndButtonsBeforeTheFrameAndTheLabels) {
    auto form = ui::Forms::instance<frmVSSLogin>();
    Strings order;
    for (const ui::Control* c : form->tabOrder()) order.push_back(c->Name());
    EXPECT_EQ(order, (Strings{"txtUserName", "txtPassword", "cmdOK", "cmdCancel", "DBCombo", "loginBtn", "Frame1",
                              "userNameLbl", "passwordLbl", "DBLbl", "projNameLbl", "projNameCombo"}));
}

#include "scc/frmVSSLogin.h"

#include "dialogs/designLayout.h"
#include "dialogs/uiFontRule.h"
#include "engine/wkutil.h"
#include "platform/ui/LoadResPicture.h"

#include <initializer_list>
#include <vector>

namespace nimb {

using wkutil::getString;
using namespace designLayout;

namespace {

} // namespace

frmVSSLogin::frmVSSLogin() : ui::Form("frmVSSLogin") {
    setCaption("Visual SourceSafe Login");
    setClientSize(4665, 3960);
    setIcon(ui::LoadResPicture(dialogIcon, ui::vbResIcon));
    Frame1 = captioned(place(add<ui::Frame>("Frame1"), 120, 120, 4335, 2415), "Login Information");
    userNameLbl = captioned(place(Frame1->add<ui::Label>("userNameLbl"), 120, 360, 1455, 255), "&User Name");
    txtUserName = place(Frame1->add<ui::TextBox>("txtUserName"), 1920, 360, 2415, 375);
    passwordLbl = captioned(place(Frame1->add<ui::Label>("passwordLbl"), 120, 840, 1455, 255), "&Password");
    txtPassword = place(Frame1->add<ui::TextBox>("txtPassword"), 1920, 840, 2415, 375);
    txtPassword->setPasswordChar("*");
    DBLbl = captioned(place(Frame1->add<ui::Label>("DBLbl"), 120, 1200, 1455, 255), "&Database");
    DBCombo = place(Frame1->add<ui::ComboBox>("DBCombo", ui::vbComboDropdown), 1920, 1320, 2415, 315);
    loginBtn = captioned(place(Frame1->add<ui::CommandButton>("loginBtn"), 3240, 1920, 1095, 375), "&Login");
    projNameLbl = captioned(place(add<ui::Label>("projNameLbl"), 120, 2760, 1695, 255), "Project Name");
    projNameCombo = place(add<ui::ComboBox>("projNameCombo", ui::vbComboDropdown), 2040, 2640, 2415, 315);
    cmdOK = captioned(place(add<ui::CommandButton>("cmdOK"), 2040, 3360, 1140, 390), "OK");
    cmdOK->setDefault(true);
    cmdCancel = captioned(place(add<ui::CommandButton>("cmdCancel"), 3360, 3360, 1140, 390), "Cancel");
    cmdCancel->setCancel(true);
    // The fields and the buttons that act on them first; the frame and the labels last.
    int32_t tab = 0;
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             txtUserName.get(), txtPassword.get(), cmdOK.get(), cmdCancel.get(), DBCombo.get(), loginBtn.get(),
             Frame1.get(), userNameLbl.get(), passwordLbl.get(), DBLbl.get(), projNameLbl.get(), projNameCombo.get()})
        control->setTabIndex(tab++);

    txtUserName->onChange = [this] { updateEnabling(); };
    txtPassword->onChange = [this] { updateEnabling(); };
    DBCombo->onChange = [this] { updateEnabling(); };
    loginBtn->onClick = [this] { loginBtn_Click(); };
    cmdOK->onClick = [this] { cmdOK_Click(); };
    cmdCancel->onClick = [this] { cmdCancel_Click(); };
}

void frmVSSLogin::Form_Load() {
    applyUIFont(*this, {userNameLbl.get(), txtUserName.get(), passwordLbl.get(), txtPassword.get(), DBLbl.get(),
                        DBCombo.get(), projNameLbl.get(), projNameCombo.get(), loginBtn.get(), cmdOK.get(),
                        cmdCancel.get(), Frame1.get()});
    setCaption(getString(523));
    setIcon(ui::LoadResPicture(dialogIcon, ui::vbResIcon));
    userNameLbl->setCaption(getString(515));
    passwordLbl->setCaption(getString(516));
    DBLbl->setCaption(getString(517));
    projNameLbl->setCaption(getString(519));
    loginBtn->setCaption(getString(518));
    cmdOK->setCaption(getString(520));
    cmdCancel->setCaption(getString(521));
    Frame1->setCaption(getString(522));
    loginBtn->setEnabled(false);
    cmdOK->setEnabled(false);
    projNameCombo->setEnabled(false);
}

std::string frmVSSLogin::setupForm() {
    DBCombo->Clear();
    if (VSSAPI::getVSSDatabases(dbList)) {
        for (const auto& entry : dbList) DBCombo->AddItem(entry.name);
    }
    if (DBCombo->ListCount() == 0) return getString(681);
    DBCombo->setListIndex(0);
    return {};
}

// The password may be empty. Any edit after a login wants a new login before OK.
void frmVSSLogin::updateEnabling() {
    if (!DBCombo->Text().empty() && !txtUserName->Text().empty()) {
        loginBtn->setEnabled(true);
        cmdOK->setEnabled(false);
    } else {
        loginBtn->setEnabled(false);
    }
}

void frmVSSLogin::loginBtn_Click() {
    if (!VSSAPI::openVSSDatabase(txtUserName->Text(), txtPassword->Text(), DBCombo->Text(), dbList)) return;
    projNameCombo->Clear();
    // Without a project list a new project name can still be typed.
    std::vector<std::string> projList;
    if (VSSAPI::getVSSProjects(projList)) {
        for (const auto& name : projList) projNameCombo->AddItem(name);
    }
    if (projNameCombo->ListCount() > 0) projNameCombo->setListIndex(0);
    projNameCombo->setEnabled(true);
    cmdOK->setEnabled(true);
}

void frmVSSLogin::cmdOK_Click() {
    successfulLogin_ = true;
    VSSAPI::createVSSProject(projNameCombo->Text());
    Hide();
}

void frmVSSLogin::cmdCancel_Click() {
    successfulLogin_ = false;
    Hide();
}

// Closing the window is the person's Cancel, and the form stays loaded like after Cancel.
void frmVSSLogin::Form_QueryUnload(bool& cancel, int32_t unloadMode) {
    if (unloadMode != ui::vbFormControlMenu) return;
    cancel = true;
    cmdCancel_Click();
}

} // namespace nimb

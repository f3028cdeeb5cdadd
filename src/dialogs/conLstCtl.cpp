#include "dialogs/conLstCtl.h"

#include "dialogs/designLayout.h"
#include "dialogs/uiFontRule.h"
#include "engine/wkutil.h"
#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/ui/LoadResPicture.h"

#include <vector>

namespace nimb {

using wkutil::getString;
using namespace designLayout;

namespace {

// Every entry in order, empty ones too, then the first one chosen (which runs the combo's Click).
void fillAndSelectFirst(ui::ComboBox& combo, const std::vector<std::string>& entries) {
    for (const auto& entry : entries) combo.AddItem(entry);
    if (combo.ListCount() > 0) combo.setListIndex(0);
}

} // namespace

// Controls are made in tab order.
conLstCtl::conLstCtl() : ui::Form("conLstCtl") {
    setCaption("conLstCtl");
    setClientSize(4830, 3510);
    setIcon(ui::LoadResPicture(dialogIcon, ui::vbResIcon));
    descLbl = captioned(place(add<ui::Label>("descLbl"), 120, 240, 4575, 375), "Specify the following information.");
    nameLbl = captioned(place(add<ui::Label>("nameLbl"), 120, 840, 1815, 255), "Command Name");
    nameTxt = place(add<ui::TextBox>("nameTxt"), 2280, 840, 2415, 375);
    projLbl = captioned(place(add<ui::Label>("projLbl"), 120, 1440, 1935, 255), "Project");
    projCombo = place(add<ui::ComboBox>("projCombo", ui::vbComboDropdownList), 2280, 1440, 2415, 315);
    dataEnvLbl = captioned(place(add<ui::Label>("dataEnvLbl"), 120, 1920, 1935, 255), "Data environment");
    dataEnvCombo = place(add<ui::ComboBox>("dataEnvCombo", ui::vbComboDropdownList), 2280, 1920, 2415, 315);
    conLbl = captioned(place(add<ui::Label>("conLbl"), 120, 2400, 1935, 255), "Connection");
    conCombo = place(add<ui::ComboBox>("conCombo", ui::vbComboDropdownList), 2280, 2400, 2415, 315);
    okBtn = place(add<ui::CommandButton>("okBtn"), 1800, 3000, 1335, 375);
    okBtn->setCaption("OK");
    cancelBtn = place(add<ui::CommandButton>("cancelBtn"), 3360, 3000, 1335, 375);
    cancelBtn->setCaption("Cancel");

    projCombo->onClick = [this] { projCombo_Click(); };
    dataEnvCombo->onClick = [this] { dataEnvCombo_Click(); };
    okBtn->onClick = [this] { okBtn_Click(); };
    cancelBtn->onClick = [this] { cancelBtn_Click(); };
}

std::string conLstCtl::userDecision() const { return userDecision_ ? "True" : "False"; }

void conLstCtl::Form_Load() {
    applyUIFont(*this, {descLbl.get(), conLbl.get(), conCombo.get(), nameLbl.get(), nameTxt.get(), projLbl.get(),
                        projCombo.get(), dataEnvLbl.get(), dataEnvCombo.get(), okBtn.get(), cancelBtn.get()});
}

void conLstCtl::setupGUI(const std::string& nameTxtStr, const vb::Variant& isCommand) {
    userDecision_ = false;
    isCommandMode_ = isCommand.toBool();
    conLbl->setVisible(isCommandMode_);
    conCombo->setVisible(isCommandMode_);
    if (isCommandMode_) {
        setCaption(getString(525));
        descLbl->setCaption(getString(532));
        nameLbl->setCaption(getString(526));
        conLbl->setCaption(getString(530));
    } else {
        setCaption(getString(524));
        descLbl->setCaption(getString(531));
        nameLbl->setCaption(getString(527));
    }
    setIcon(ui::LoadResPicture(dialogIcon, ui::vbResIcon));
    nameTxt->setText(nameTxtStr);
    projLbl->setCaption(getString(528));
    dataEnvLbl->setCaption(getString(529));
    cancelBtn->setCaption(getString(521));
    okBtn->setCaption(getString(520));
    fillProjCombo();
}

IntegrationMgr& conLstCtl::mgr() const {
    if (!IMgr_) throw vb::VBError(vb::err::ObjectVariableNotSet, "Object variable or With block variable not set");
    return *IMgr_;
}

void conLstCtl::fillProjCombo() {
    projCombo->Clear();
    std::vector<std::string> projList;
    mgr().getProjList(projList);
    fillAndSelectFirst(*projCombo, projList);
}

void conLstCtl::fillDataEnvCombo() {
    dataEnvCombo->Clear();
    const std::string project = projCombo->Text();
    if (project.empty()) return;
    std::vector<std::string> dataEnvList;
    mgr().getDataEnvList(dataEnvList, project);
    fillAndSelectFirst(*dataEnvCombo, dataEnvList);
}

void conLstCtl::fillConCombo() {
    conCombo->Clear();
    const std::string project = projCombo->Text();
    const std::string dataEnv = dataEnvCombo->Text();
    if (project.empty() || dataEnv.empty()) return;
    IntegrationMgr& manager = mgr();
    std::vector<std::string> conList;
    // The IDE model reports a Data Environment without connections as an error, not as an empty
    // list; to the person choosing a target that is just an empty connection list, and the other
    // Data Environments stay within reach.
    if (!vb::silently([&] { manager.getConnectionList(conList, dataEnv, project); })) return;
    fillAndSelectFirst(*conCombo, conList);
}

void conLstCtl::projCombo_Click() { fillDataEnvCombo(); }

void conLstCtl::dataEnvCombo_Click() {
    if (isCommandMode_) fillConCombo();
}

void conLstCtl::okBtn_Click() {
    userDecision_ = true;
    selectedName_ = nameTxt->Text();
    selectedProj_ = projCombo->Text();
    selectedDataEnv_ = dataEnvCombo->Text();
    selectedCon_ = conCombo->Visible() ? conCombo->Text() : std::string();
    Hide();
}

void conLstCtl::cancelBtn_Click() {
    userDecision_ = false;
    Hide();
}

void conLstCtl::Form_Terminate() { IMgr_.reset(); }

} // namespace nimb

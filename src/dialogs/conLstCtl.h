// conLstCtl: the modal dialog in which the user says where a new Data Environment object goes:
// which VB project, which Data Environment, under which name and - for a command - over which
// Data Environment connection. The lists come from the integration manager.
//
// The caller's protocol: load the shared instance, setIMgr, setupGUI, Show(vbModal), read
// userDecision ("True"/"False"), copy the selected values after True, Unload. The close box
// unloads the dialog before OK could set the decision, so the caller reads False as after Cancel.
#pragma once

#include "addin/IntegrationMgr.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextBox.h"
#include "platform/variant.h"

#include <memory>
#include <string>

namespace nimb {

class conLstCtl : public ui::Form {
public:
    conLstCtl();

    const std::shared_ptr<IntegrationMgr>& IMgr() const { return IMgr_; }
    void setIMgr(std::shared_ptr<IntegrationMgr> mgr) { IMgr_ = std::move(mgr); }

    const std::string& selectedName() const { return selectedName_; }
    void setSelectedName(std::string name) { selectedName_ = std::move(name); }
    const std::string& selectedProj() const { return selectedProj_; }
    const std::string& selectedDataEnv() const { return selectedDataEnv_; }
    const std::string& selectedCon() const { return selectedCon_; }
    // The decision as the words "True" or "False".
    std::string userDecision() const;

    void setTitle(const std::string& title) { setCaption(title); }
    // Prepares the dialog for a command (isCommand True) or a connection (False, or Null):
    // texts, the proposed name, and the lists with their first entries preselected.
    void setupGUI(const std::string& nameTxtStr, const vb::Variant& isCommand);

    std::shared_ptr<ui::Label> descLbl;
    std::shared_ptr<ui::Label> nameLbl;
    std::shared_ptr<ui::TextBox> nameTxt;
    std::shared_ptr<ui::Label> projLbl;
    std::shared_ptr<ui::ComboBox> projCombo;
    std::shared_ptr<ui::Label> dataEnvLbl;
    std::shared_ptr<ui::ComboBox> dataEnvCombo;
    std::shared_ptr<ui::Label> conLbl;
    std::shared_ptr<ui::ComboBox> conCombo;
    std::shared_ptr<ui::CommandButton> okBtn;
    std::shared_ptr<ui::CommandButton> cancelBtn;

protected:
    void Form_Load() override;
    void Form_Terminate() override;

private:
    IntegrationMgr& mgr() const;
    void fillProjCombo();
    void fillDataEnvCombo();
    void fillConCombo();
    void projCombo_Click();
    void dataEnvCombo_Click();
    void okBtn_Click();
    void cancelBtn_Click();

    std::shared_ptr<IntegrationMgr> IMgr_;
    std::string selectedName_;
    std::string selectedProj_;
    std::string selectedDataEnv_;
    std::string selectedCon_;
    bool userDecision_ = false;
    bool isCommandMode_ = false;
};

} // namespace nimb

// frmVSSLogin: the SourceSafe login dialog. The runner loads it once, calls setupForm before each
// display (a non-empty answer is the message to show instead), shows it modally and reads
// successfulLogin. OK and Cancel hide the form rather than unload it, so it keeps what was typed
// for the next login; the close box counts as Cancel.
#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/Form.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextBox.h"
#include "scc/VSSAPI.h"

#include <memory>
#include <string>

namespace nimb {

class frmVSSLogin : public ui::Form {
public:
    frmVSSLogin();

    // Lists the registered databases and chooses the first; "" when there is one, else the text
    // to show (engine text 681).
    std::string setupForm();
    bool successfulLogin() const { return successfulLogin_; }

    std::shared_ptr<ui::Frame> Frame1;
    std::shared_ptr<ui::Label> userNameLbl;
    std::shared_ptr<ui::TextBox> txtUserName;
    std::shared_ptr<ui::Label> passwordLbl;
    std::shared_ptr<ui::TextBox> txtPassword;
    std::shared_ptr<ui::Label> DBLbl;
    std::shared_ptr<ui::ComboBox> DBCombo;
    std::shared_ptr<ui::CommandButton> loginBtn;
    std::shared_ptr<ui::Label> projNameLbl;
    std::shared_ptr<ui::ComboBox> projNameCombo;
    std::shared_ptr<ui::CommandButton> cmdOK;
    std::shared_ptr<ui::CommandButton> cmdCancel;

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int32_t unloadMode) override;

private:
    void updateEnabling();
    void loginBtn_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    VSSAPI::DatabaseList dbList;
    bool successfulLogin_ = false;
};

} // namespace nimb

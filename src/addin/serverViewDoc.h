// serverViewDoc: the document inside the server view's tool window. Its one control, svrViewCtl1,
// is the server view; the document keeps it filling the window, hands it the integration manager
// and, when the window goes, drops the tree-update module's references to the control's views.
#pragma once

#include "platform/ui/UserControl.h"
#include "platform/ui/UserDocument.h"

#include <functional>
#include <memory>

namespace nimb {

class IntegrationMgr;

// What the document calls on its control (late bound in the original design). svrViewCtl
// implements it.
class ServerViewControl : public ui::UserControl {
public:
    using ui::UserControl::UserControl;
    virtual void setIMgr(std::shared_ptr<IntegrationMgr> mgr) = 0;
    virtual void setupGUI() = 0;
};

// How a new document makes its control: svrViewCtl unless another factory is installed. A document
// made while the factory is empty (nullptr installed) has no control: its setupGUI raises 91 and
// its Resize has nothing to fit.
using ServerViewControlFactory = std::function<std::shared_ptr<ServerViewControl>()>;
void setServerViewControlFactory(ServerViewControlFactory factory);

class serverViewDoc : public ui::UserDocument {
public:
    serverViewDoc();

    std::shared_ptr<IntegrationMgr> IMgr() const { return IMgr_; }
    void setIMgr(std::shared_ptr<IntegrationMgr> mgr) { IMgr_ = std::move(mgr); }
    // Hands IMgr to the control, then lets the control build itself.
    void setupGUI();

    std::shared_ptr<ServerViewControl> svrViewCtl1;

protected:
    void UserDocument_Initialize() override;
    void UserDocument_Resize() override;
    void UserDocument_Terminate() override;

private:
    std::shared_ptr<IntegrationMgr> IMgr_;
};

} // namespace nimb

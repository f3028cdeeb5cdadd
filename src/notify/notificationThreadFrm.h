// notificationThreadFrm: a form that is never shown; its timer polls the engine's notification
// queue every 100 ms and hands each notification to its handler. The add-in has no thread of its
// own, so the poll runs on the user-interface thread between the user's actions.
//
//   auto frm = ui::New<nimb::notificationThreadFrm>();
//   frm->Load();              // the timer starts with the load
//   frm->setIMMgr(manager);   // released again when the form terminates
#pragma once

#include "engine/WKTypes.h"
#include "platform/ui/Form.h"
#include "platform/ui/Timer.h"

#include <cstdint>
#include <memory>
#include <string>

namespace nimb {

class IntegrationMgr;
class ModelUtil;

class notificationThreadFrm : public ui::Form {
public:
    notificationThreadFrm();

    // Write-only: the integration manager of the open engine connection.
    void setIMMgr(std::shared_ptr<IntegrationMgr> mgr) { IMMgr_ = std::move(mgr); }

    std::shared_ptr<ui::Timer> timerThread;

protected:
    void Form_Terminate() override;

private:
    void timerThread_Timer();
    void dispatchNotification(const twkNotify& n);
    void onText(const twkNotify& n);
    void onSQLText(const twkNotify& n);
    void onADOText(const twkNotify& n);
    void onFolderChanged(const twkNotify& n);
    void onObjectChanged(const twkNotify& n);
    void onObjectRemoved(const twkNotify& n);
    void onObjectAdded(const twkNotify& n);
    void onDEConnection(const twkNotify& n);
    void onDECommand(const twkNotify& n);

    void addProject(int32_t hdl);
    void addConnection(const twkNotify& n);

    IntegrationMgr& mgr() const;
    ModelUtil& model() const;

    std::shared_ptr<IntegrationMgr> IMMgr_;
};

} // namespace nimb

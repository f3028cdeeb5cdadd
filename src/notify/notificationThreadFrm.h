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
#include <vector>

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
    void askUser(const std::string& msg, const std::string& buttons);

    IntegrationMgr& mgr() const;
    ModelUtil& model() const;

    std::shared_ptr<IntegrationMgr> IMMgr_;
};

// Helpers of the text handler, open for the tests of their tables.
namespace notifyText {
// The message box icon of an icon word (anything unknown: information).
int32_t iconStyle(const std::string& word);
// The message box buttons of a button word (anything unknown: OK alone).
int32_t buttonStyle(const std::string& word);
// The "#"-separated fields of a message box description, at most five; a "#" that ends the text
// stays in the last field. A sixth field raises 9 (subscript out of range).
std::vector<std::string> splitFields(const std::string& s);
// The ADO command type of an engine command type (1..7; anything else 0).
int32_t toADOCommandType(int32_t engineType);
} // namespace notifyText

} // namespace nimb

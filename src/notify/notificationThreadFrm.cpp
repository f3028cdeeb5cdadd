#include "notify/notificationThreadFrm.h"

#include "addin/IntegrationMgr.h"
#include "dialogs/splashscrnFrm.h"
#include "engine/VSAConstants.h"
#include "engine/wkapis.h"
#include "engine/wkutil.h"
#include "model/ModelUtil.h"
#include "notify/viewAPIs.h"
#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MsgBox.h"

#include <functional>
#include <vector>

namespace nimb {

namespace {

using namespace VSAConstants;

constexpr int32_t pollInterval = 100;
constexpr std::size_t maxMessageFields = 5;

// Engine texts the handlers show when they fail.
constexpr int32_t txtObjectAddedFailed = 657;
constexpr int32_t txtObjectRemovedFailed = 658;
constexpr int32_t txtSQLTextFailed = 659;
constexpr int32_t txtADOTextFailed = 660;
constexpr int32_t txtDEConnectionFailed = 655;
constexpr int32_t txtDECommandFailed = 656;
// Splash status lines of the last two start-up steps.
constexpr int32_t txtEngineStarted = 646;
constexpr int32_t txtProjectLoaded = 647;

std::function<std::string()> engineText(int32_t id) {
    return [id] { return wkutil::getString(id); };
}

twkNotify fromBoundary(const twkNotify_abi& n) {
    return {n.lNotifyType, n.lProjectHdl, n.lConnectionHdl, n.lObjectType, n.lObjectHdl};
}

// The splash screen while it is up. Touching the default instance when it is gone would load a
// hidden one that nothing unloads again.
std::shared_ptr<splashscrnFrm> visibleSplash() {
    auto splash = ui::Forms::existing<splashscrnFrm>();
    return splash && splash->Visible() ? splash : nullptr;
}

// One folder kind: its enumeration calls and how its objects enter the details list.
template <class Rec>
struct FolderKind {
    int16_t (*begin)(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl);
    int16_t (*next)(int32_t enumHdl, Rec& rec);
    int32_t (*end)(int32_t enumHdl);
    void (*add)(const Rec& rec);
};

constexpr FolderKind<twkProcedure> procedures{wkapis::WKProcedureEnumBegin, wkutil::wkProcedureEnumNext,
                                              wkapis::WKProcedureEnumEnd, viewAPIs::addProcedureItem};
constexpr FolderKind<twkFunction> functions{wkapis::WKFunctionEnumBegin, wkutil::wkFunctionEnumNext,
                                            wkapis::WKFunctionEnumEnd, viewAPIs::addFunctionItem};
constexpr FolderKind<twkTrigger> triggers{wkapis::WKTriggerEnumBegin, wkutil::wkTriggerEnumNext,
                                          wkapis::WKTriggerEnumEnd, viewAPIs::addTriggerItem};
constexpr FolderKind<twkTable> tables{wkapis::WKTableEnumBegin, wkutil::wkTableEnumNext, wkapis::WKTableEnumEnd,
                                      viewAPIs::addTableItem};
constexpr FolderKind<twkView> views{wkapis::WKViewEnumBegin, wkutil::wkViewEnumNext, wkapis::WKViewEnumEnd,
                                    viewAPIs::addViewItem};

// Lists the folder's objects into the details list; returns whether the engine filters the folder.
template <class Rec>
bool listFolder(int32_t folderHdl, const FolderKind<Rec>& kind) {
    wkBool filtered = WK_FALSE;
    int32_t enumHdl = 0;
    const int16_t ok = kind.begin(folderHdl, &filtered, &enumHdl);
    try {
        Rec rec;
        if (ok != 0)
            while (kind.next(enumHdl, rec) != 0) kind.add(rec);
    } catch (...) {
        // The engine holds the enumeration until End, so End follows Begin on every path; the
        // first error is the one worth reporting.
        vb::silently([&] { kind.end(enumHdl); });
        throw;
    }
    kind.end(enumHdl);
    return filtered != 0;
}

template <class Rec>
void refreshFolder(int32_t folderType, int32_t folderHdl, const FolderKind<Rec>& kind) {
    bool filtered = false;
    if (viewAPIs::isSelectedNodeType(folderType)) {
        viewAPIs::clearDetails();
        filtered = listFolder(folderHdl, kind);
    }
    // An unselected folder thus gets the plain image back.
    viewAPIs::setFolderFiltered(viewAPIs::makeNodeKey(folderHdl), filtered);
}

// Reads an object and hands it to the details list, which shows it only while the object's folder
// is the one selected (the record is read either way).
template <class Rec>
void showIfFolderSelected(int32_t objectType, int32_t hdl, int16_t (*get)(int32_t, Rec&), void (*apply)(const Rec&)) {
    Rec rec;
    get(hdl, rec);
    if (viewAPIs::isSelectedNodeType(objectType - 1)) apply(rec);
}

struct FolderNode {
    int32_t textId;
    const char* tag;
    int32_t twkConnection::*hdl;
};
// A connection's folders, in the order they are added under it.
constexpr FolderNode connectionFolders[] = {{426, "7", &twkConnection::lProceduresHdl},
                                            {427, "9", &twkConnection::lFunctionsHdl},
                                            {428, "11", &twkConnection::lTriggersHdl},
                                            {429, "13", &twkConnection::lTablesHdl},
                                            {430, "15", &twkConnection::lViewsHdl}};

// The message box icon of an icon word; an unknown word gives the information icon.
int32_t iconStyle(const std::string& word) {
    if (word == "IDE_CRITICAL") return ui::mb::Critical;
    if (word == "IDE_WARNING") return ui::mb::Exclamation;
    if (word == "IDE_QUESTION") return ui::mb::Question;
    return ui::mb::Information;
}

// The message box buttons of a button word; an unknown word gives OK alone.
int32_t buttonStyle(const std::string& word) {
    if (word == "672") return ui::mb::YesNoCancel;
    if (word == "67") return ui::mb::YesNo;
    return ui::mb::OKOnly;
}

// The "#"-separated fields of a message box description in five slots; a "#" that ends the text
// stays in the last field, and a sixth field is a subscript out of range.
std::vector<std::string> splitFields(const std::string& s) {
    std::vector<std::string> fields;
    auto store = [&](std::string field) {
        if (fields.size() == maxMessageFields)
            throw vb::VBError(vb::err::SubscriptOutOfRange, "Subscript out of range");
        fields.push_back(std::move(field));
    };
    std::string rest = s;
    for (;;) {
        const auto hash = rest.find('#');
        if (hash == std::string::npos || hash + 1 == rest.size()) {
            store(std::move(rest));
            return fields;
        }
        store(rest.substr(0, hash));
        rest.erase(0, hash + 1);
    }
}

int32_t toADOCommandType(int32_t engineType) {
    switch (engineType) {
    case 1: return 4;   // stored procedure
    case 2: return 1;   // text
    case 3: return 2;   // table
    case 4: return 512; // table direct
    case 5: return 128;
    case 6: return 256; // file
    case 7: return 8;   // not given
    default: return 0;
    }
}

// Shows a question as its description asks and sends the pressed button back to the engine.
void askUser(const std::string& msg, const std::string& buttons) {
    const auto fields = splitFields(buttons);
    const int32_t style = fields.size() >= 2 ? iconStyle(fields[0]) + buttonStyle(fields[1]) : ui::mb::OKOnly;
    const std::string title = fields.size() == 3 ? fields[2] : std::string();
    const int32_t result = ui::MsgBox(msg, style, title);
    wkapis::WKButtonDoAction("User response", result);
}

} // namespace

notificationThreadFrm::notificationThreadFrm() : ui::Form("notificationThreadFrm") {
    timerThread = add<ui::Timer>("timerThread");
    timerThread->setInterval(pollInterval);
    timerThread->onTimer = [this] { timerThread_Timer(); };
}

void notificationThreadFrm::Form_Terminate() { IMMgr_.reset(); }

IntegrationMgr& notificationThreadFrm::mgr() const {
    if (!IMMgr_) throw vb::VBError(vb::err::ObjectVariableNotSet, "Object variable not set", wkapis::errorSource);
    return *IMMgr_;
}

ModelUtil& notificationThreadFrm::model() const {
    auto model = mgr().getModel();
    if (!model) throw vb::VBError(vb::err::ObjectVariableNotSet, "Object variable not set", wkapis::errorSource);
    return *model;
}

void notificationThreadFrm::timerThread_Timer() {
    // A handler may unload this form (and drop the last reference to it) while the tick runs.
    auto keepAlive = weak_from_this().lock();
    // The record is not cleared between calls: the engine sees what it left last time, and the
    // record that comes with "no more" is dispatched too (its kind is then outside 2..10).
    twkNotify_abi record{};
    wkBool more = WK_TRUE;
    vb::reportTo(
        [&] {
            while (more != 0) {
                wkapis::WKGetNotification(&record, &more);
                dispatchNotification(fromBoundary(record));
            }
        },
        vb::numberDescriptionSource);
}

void notificationThreadFrm::dispatchNotification(const twkNotify& n) {
    vb::reportTo(
        [&] {
            switch (n.lNotifyType) {
            case WK_NOTIFY_TEXT: return onText(n);
            case WK_NOTIFY_SQL_TEXT: return onSQLText(n);
            case WK_NOTIFY_ADO_TEXT: return onADOText(n);
            case WK_NOTIFY_FOLDER_CHANGED: return onFolderChanged(n);
            case WK_NOTIFY_OBJECT_CHANGED: return onObjectChanged(n);
            case WK_NOTIFY_OBJECT_REMOVED: return onObjectRemoved(n);
            case WK_NOTIFY_OBJECT_ADDED: return onObjectAdded(n);
            case WK_NOTIFY_DE_CONNECTION: return onDEConnection(n);
            case WK_NOTIFY_DE_COMMAND: return onDECommand(n);
            default: return;
            }
        },
        vb::numberDescriptionSource);
}

void notificationThreadFrm::onText(const twkNotify& n) {
    // A text that cannot be read or shown ends here, without a word and without an answer.
    vb::silently([&] {
        twkText text;
        wkutil::wkGetText(n.lObjectHdl, text);
        const std::string& msg = text.strText;
        if (text.lTextType == WK_TEXT_MESSAGE) {
            ui::MsgBox(msg);
        } else if (text.lTextType == WK_TEXT_COMMAND) {
            if (msg == "WK_TASK_COMPLETE") {
                mgr().restoreVSAppWinState();
            } else if (msg == "MINIMIZE_MSWIN") {
                mgr().minimizeVSAppWin();
            } else if (msg == "WK_INIT_COMPLETE") {
                if (auto splash = visibleSplash()) splash->updateProgress(wkutil::getString(txtEngineStarted));
                mgr().openWKProject();
            } else if (!text.strButtons.empty()) {
                askUser(msg, text.strButtons);
            }
        }
    });
}

void notificationThreadFrm::onSQLText(const twkNotify& n) {
    vb::reportTo(
        [&] {
            twkSQLText sql;
            wkutil::wkGetSQLText(n.lObjectHdl, sql);
            model().insertSQLCode(sql.strText, sql.lSelFromLine, sql.lSelFromColumn, sql.lSelToLine, sql.lSelToColumn,
                                  sql.strVSProject, sql.strVSFile);
        },
        engineText(txtSQLTextFailed));
}

void notificationThreadFrm::onADOText(const twkNotify& n) {
    vb::reportTo(
        [&] {
            twkADOText ado;
            wkutil::wkGetADOText(n.lObjectHdl, ado);
            model().insertClientCode(ado.strText, ado.strVSProject, ado.strVSFile);
        },
        engineText(txtADOTextFailed));
}

void notificationThreadFrm::onDEConnection(const twkNotify& n) {
    vb::reportTo(
        [&] {
            twkConnectionDE de;
            wkutil::wkConnectionGetDE(n.lObjectHdl, de);
            model().addADOConnection(de.strConnectionString, de.strDEConnection, de.strDEName, de.strVSProject);
        },
        engineText(txtDEConnectionFailed));
}

void notificationThreadFrm::onDECommand(const twkNotify& n) {
    vb::reportTo(
        [&] {
            twkCommandDE cmd;
            wkutil::wkCommandGetDE(n.lObjectHdl, cmd);
            model().AddADOCommand(toADOCommandType(cmd.lCommandType), cmd.strCommandText, cmd.strDECommand,
                                  cmd.strDEConnection, cmd.strDEName, cmd.strVSProject);
        },
        engineText(txtDECommandFailed));
}

void notificationThreadFrm::onFolderChanged(const twkNotify& n) {
    vb::reportTo(
        [&] {
            const int32_t type = n.lObjectType, hdl = n.lObjectHdl;
            switch (type) {
            case WK_OBJ_PROCEDURE_FOLDER: return refreshFolder(type, hdl, procedures);
            case WK_OBJ_FUNCTION_FOLDER: return refreshFolder(type, hdl, functions);
            case WK_OBJ_TRIGGER_FOLDER: return refreshFolder(type, hdl, triggers);
            case WK_OBJ_TABLE_FOLDER: return refreshFolder(type, hdl, tables);
            case WK_OBJ_VIEW_FOLDER: return refreshFolder(type, hdl, views);
            default: return;
            }
        },
        vb::numberDescriptionSource);
}

void notificationThreadFrm::onObjectChanged(const twkNotify& n) {
    vb::reportTo(
        [&] {
            const int32_t type = n.lObjectType, hdl = n.lObjectHdl;
            switch (type) {
            case WK_OBJ_PROJECT: {
                twkProject p;
                wkutil::wkProjectGet(hdl, p);
                return viewAPIs::updateProjectNode(p);
            }
            case WK_OBJ_CONNECTION: {
                twkConnection c;
                wkutil::wkConnectionGet(hdl, c);
                return viewAPIs::updateConnectionNode(c);
            }
            case WK_OBJ_PROCEDURE:
                return showIfFolderSelected(type, hdl, wkutil::wkProcedureGet, viewAPIs::updateProcedureItem);
            case WK_OBJ_FUNCTION:
                return showIfFolderSelected(type, hdl, wkutil::wkFunctionGet, viewAPIs::updateFunctionItem);
            default: return;
            }
        },
        vb::numberDescriptionSource);
}

void notificationThreadFrm::onObjectRemoved(const twkNotify& n) {
    vb::reportTo(
        [&] {
            const std::string key = viewAPIs::makeNodeKey(n.lObjectHdl);
            if (n.lObjectType == WK_OBJ_PROJECT || n.lObjectType == WK_OBJ_CONNECTION)
                viewAPIs::removeNode(key);
            else
                viewAPIs::removeDetailsItem(std::to_string(n.lObjectType), key);
        },
        engineText(txtObjectRemovedFailed));
}

void notificationThreadFrm::onObjectAdded(const twkNotify& n) {
    vb::reportTo(
        [&] {
            const int32_t type = n.lObjectType, hdl = n.lObjectHdl;
            switch (type) {
            case WK_OBJ_PROJECT: return addProject(hdl);
            case WK_OBJ_CONNECTION: return addConnection(n);
            case WK_OBJ_PROCEDURE:
                return showIfFolderSelected(type, hdl, wkutil::wkProcedureGet, viewAPIs::addProcedureItem);
            case WK_OBJ_FUNCTION:
                return showIfFolderSelected(type, hdl, wkutil::wkFunctionGet, viewAPIs::addFunctionItem);
            case WK_OBJ_TRIGGER: return showIfFolderSelected(type, hdl, wkutil::wkTriggerGet, viewAPIs::addTriggerItem);
            case WK_OBJ_TABLE: return showIfFolderSelected(type, hdl, wkutil::wkTableGet, viewAPIs::addTableItem);
            case WK_OBJ_VIEW: return showIfFolderSelected(type, hdl, wkutil::wkViewGet, viewAPIs::addViewItem);
            default: return;
            }
        },
        engineText(txtObjectAddedFailed));
}

// The engine has loaded its project: it becomes the tree's root and the add-in's user interface
// comes out of hiding.
void notificationThreadFrm::addProject(int32_t hdl) {
    twkProject p;
    wkutil::wkProjectGet(hdl, p);
    viewAPIs::addFolderNode(p.strName, std::to_string(WK_OBJ_PROJECT), viewAPIs::makeNodeKey(p.lHdl), {}, true);
    if (mgr().getIdeType() == IDE_VB) {
        ModelUtil& m = model(); // the model first, then the name, in the order the call is written
        m.saveWKFileName(mgr().getWKFileName());
    }
    if (auto splash = visibleSplash()) splash->updateProgress(wkutil::getString(txtProjectLoaded));
    mgr().showDevView();
    if (auto splash = visibleSplash()) splash->Unload();
}

void notificationThreadFrm::addConnection(const twkNotify& n) {
    twkConnection c;
    wkutil::wkConnectionGet(n.lObjectHdl, c);
    const std::string key = viewAPIs::makeNodeKey(c.lHdl);
    viewAPIs::addConnectionNode(viewAPIs::makeNodeKey(n.lProjectHdl), c);
    for (const auto& folder : connectionFolders)
        viewAPIs::addFolderNode(wkutil::getString(folder.textId), folder.tag, viewAPIs::makeNodeKey(c.*folder.hdl), key,
                                false);
    viewAPIs::expandSelectedNode();
}

} // namespace nimb

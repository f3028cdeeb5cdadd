#include "support/EngineDouble.h"

#include "engine/wkabi.h"
#include "engine/wkapis.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <stdexcept>
#include <tuple>
#include <type_traits>

namespace nimbtest {

using namespace nimb;

namespace {

template <class R>
struct Folder {
    std::vector<R> items;
    bool filtered = false;
};

struct Cursor {
    int32_t folder = 0;
    size_t next = 0;
};

// Everything served for one kind of record.
template <class R>
struct Kind {
    std::map<int32_t, R> records;
    std::map<int32_t, Folder<R>> folders;
    std::map<int32_t, Cursor> cursors;  // by enumeration handle
};

} // namespace

struct EngineDouble::State {
    std::map<int32_t, std::string> strings;
    std::tuple<Kind<twkProject>, Kind<twkConnection>, Kind<twkProcedure>, Kind<twkFunction>, Kind<twkTrigger>,
               Kind<twkTable>, Kind<twkView>, Kind<twkText>, Kind<twkSQLText>, Kind<twkADOText>,
               Kind<twkConnectionDE>, Kind<twkCommandDE>>
        kinds;
    std::deque<twkNotify> notifications;
    std::optional<std::string> accessFileName;
    std::map<std::string, vb::VBError> failures;
    std::map<std::string, Hostility> hostilities;
    std::map<std::string, std::function<void()>> reactions;
    std::vector<std::string> journal;
    int32_t nextEnumHdl = 7001;

    template <class R>
    Kind<R>& kind() {
        return std::get<Kind<R>>(kinds);
    }

    const Hostility& hostility(const std::string& function) const {
        static const Hostility none;
        auto it = hostilities.find(function);
        return it == hostilities.end() ? none : it->second;
    }
};

namespace {

using State = EngineDouble::State;

State* active = nullptr;

// ---- Journal text ----

std::string argText(int32_t v) { return std::to_string(v); }
std::string argText(const char* s) { return s ? "\"" + std::string(s) + "\"" : "null"; }

template <class... Args>
std::string callText(const char* name, const Args&... args) {
    const std::vector<std::string> parts{argText(args)...};
    std::string text = std::string(name) + "(";
    for (size_t i = 0; i < parts.size(); ++i) text += (i ? ", " : "") + parts[i];
    return text + ")";
}

// ---- One call: journal, scripted failure, the work, the reaction ----

template <class Body>
auto serve(const char* name, std::string text, Body body) {
    if (!active) throw std::logic_error("engine call without an EngineDouble");
    State& s = *active;
    s.journal.push_back(std::move(text));
    if (auto failure = s.failures.find(name); failure != s.failures.end()) throw failure->second;
    auto result = body(s);
    if (auto reaction = s.reactions.find(name); reaction != s.reactions.end()) {
        auto run = reaction->second;  // the reaction may replace itself
        run();
    }
    return result;
}

// ---- Writing into the caller's buffers ----

// Large enough that a caller reading a buffer's worth through a foreign slot stays in bounds and
// sees this text, so a test can tell it was read.
char engineOwnedText[1 << 17] = "engine-owned text";

wkBool vbBool(bool b) { return b ? WK_TRUE : WK_FALSE; }

class SlotWriter {
public:
    explicit SlotWriter(const Hostility& hostility) : h_(hostility) {}
    const Hostility& hostility() const { return h_; }

    // Puts text into the caller's buffer of room characters; returns the characters written.
    int32_t write(char*& slot, const std::string& text, int32_t room) const {
        if (h_.nullSlots) {
            slot = nullptr;
            return 0;
        }
        if (h_.foreignSlots) {
            slot = engineOwnedText;
            return 0;
        }
        if (!slot || room <= 0) return 0;
        if (h_.noNul) {
            auto n = static_cast<int32_t>(std::min(text.size(), static_cast<size_t>(room)));
            std::copy_n(text.data(), n, slot);
            return n;
        }
        auto n = static_cast<int32_t>(std::min(text.size(), static_cast<size_t>(room - 1)));
        std::copy_n(text.data(), n, slot);
        slot[n] = '\0';
        return n;
    }

private:
    const Hostility& h_;
};

// The text protocol: a text of L characters needs L + 1; returns 1 when it was written.
int32_t writeText(char*& slot, int32_t& lTextSz, const std::string& text, const SlotWriter& w) {
    const Hostility& h = w.hostility();
    const int32_t room = lTextSz;
    const auto needed = static_cast<int32_t>(text.size()) + 1;
    const bool fits = needed <= room;
    if (fits || h.noNul || h.nullSlots || h.foreignSlots) w.write(slot, text, room);
    lTextSz = h.textSize.value_or(h.noNul ? room : needed);
    return fits ? 1 : 0;
}

// The buffer sizes the add-in's wrappers are meant to give, written out here on their own.
constexpr int32_t shortText = 256;
constexpr int32_t longText = 1024;

void fill(twkProject_abi& a, const twkProject& r, const SlotWriter& w) {
    a.lHdl = r.lHdl;
    w.write(a.strName, r.strName, shortText);
    w.write(a.strPath, r.strPath, longText);
}

void fill(twkConnection_abi& a, const twkConnection& r, const SlotWriter& w) {
    a.lHdl = r.lHdl;
    a.bConnected = vbBool(r.bConnected);
    w.write(a.strDatabase, r.strDatabase, shortText);
    a.lProceduresHdl = r.lProceduresHdl;
    a.lFunctionsHdl = r.lFunctionsHdl;
    a.lTriggersHdl = r.lTriggersHdl;
    a.lTablesHdl = r.lTablesHdl;
    a.lViewsHdl = r.lViewsHdl;
}

void fill(twkProcedure_abi& a, const twkProcedure& r, const SlotWriter& w) {
    a.lHdl = r.lHdl;
    a.bIsDirty = vbBool(r.bIsDirty);
    a.bCanDebug = vbBool(r.bCanDebug);
    w.write(a.strSchema, r.strSchema, shortText);
    w.write(a.strName, r.strName, longText);
    w.write(a.strSpecific, r.strSpecific, longText);
    w.write(a.strParameters, r.strParameters, longText);
    w.write(a.strLanguage, r.strLanguage, shortText);
    w.write(a.strSQLPackage, r.strSQLPackage, shortText);
    a.lResultSets = r.lResultSets;
    a.bIsFenced = vbBool(r.bIsFenced);
    w.write(a.strComment, r.strComment, shortText);
    w.write(a.strFileName, r.strFileName, longText);
}

void fill(twkFunction_abi& a, const twkFunction& r, const SlotWriter& w) {
    a.lHdl = r.lHdl;
    a.bIsDirty = vbBool(r.bIsDirty);
    a.bCanDebug = vbBool(r.bCanDebug);
    w.write(a.strSchema, r.strSchema, shortText);
    w.write(a.strName, r.strName, shortText);
    w.write(a.strSpecific, r.strSpecific, longText);
    w.write(a.strParameters, r.strParameters, longText);
    w.write(a.strResult, r.strResult, longText);
    w.write(a.strLanguage, r.strLanguage, shortText);
    a.bIsFenced = r.bIsFenced;
    w.write(a.strComment, r.strComment, shortText);
    w.write(a.strFileName, r.strFileName, longText);
}

void fill(twkTrigger_abi& a, const twkTrigger& r, const SlotWriter& w) {
    a.lHdl = r.lHdl;
    a.bIsDirty = vbBool(r.bIsDirty);
    a.bCanDebug = vbBool(r.bCanDebug);
    w.write(a.strSchema, r.strSchema, shortText);
    w.write(a.strName, r.strName, shortText);
    w.write(a.strTableSchema, r.strTableSchema, shortText);
    w.write(a.strTableName, r.strTableName, shortText);
    w.write(a.strComment, r.strComment, shortText);
    w.write(a.strFileName, r.strFileName, longText);
}

void fill(twkTable_abi& a, const twkTable& r, const SlotWriter& w) {
    a.lHdl = r.lHdl;
    a.bIsDirty = vbBool(r.bIsDirty);
    w.write(a.strSchema, r.strSchema, shortText);
    w.write(a.strName, r.strName, shortText);
    w.write(a.strTableSpace, r.strTableSpace, shortText);
    a.lType = r.lType;
    w.write(a.strComment, r.strComment, shortText);
}

void fill(twkView_abi& a, const twkView& r, const SlotWriter& w) {
    a.lHdl = r.lHdl;
    a.bIsDirty = vbBool(r.bIsDirty);
    w.write(a.strSchema, r.strSchema, shortText);
    w.write(a.strName, r.strName, shortText);
    w.write(a.strComment, r.strComment, shortText);
}

int32_t fill(twkText_abi& a, const twkText& r, const SlotWriter& w) {
    a.lTextType = r.lTextType;
    w.write(a.strButtons, r.strButtons, shortText);
    return writeText(a.strText, a.lTextSz, r.strText, w);
}

int32_t fill(twkSQLText_abi& a, const twkSQLText& r, const SlotWriter& w) {
    w.write(a.strVSProject, r.strVSProject, longText);
    w.write(a.strVSFile, r.strVSFile, longText);
    a.lSelFromLine = r.lSelFromLine;
    a.lSelFromColumn = r.lSelFromColumn;
    a.lSelToLine = r.lSelToLine;
    a.lSelToColumn = r.lSelToColumn;
    return writeText(a.strText, a.lTextSz, r.strText, w);
}

int32_t fill(twkADOText_abi& a, const twkADOText& r, const SlotWriter& w) {
    w.write(a.strVSProject, r.strVSProject, longText);
    w.write(a.strVSFile, r.strVSFile, longText);
    return writeText(a.strText, a.lTextSz, r.strText, w);
}

void fill(twkConnectionDE_abi& a, const twkConnectionDE& r, const SlotWriter& w) {
    w.write(a.strVSProject, r.strVSProject, shortText);
    w.write(a.strDEName, r.strDEName, shortText);
    w.write(a.strDEConnection, r.strDEConnection, shortText);
    w.write(a.strConnectionString, r.strConnectionString, longText);
}

void fill(twkCommandDE_abi& a, const twkCommandDE& r, const SlotWriter& w) {
    w.write(a.strVSProject, r.strVSProject, shortText);
    w.write(a.strDEName, r.strDEName, shortText);
    w.write(a.strDEConnection, r.strDEConnection, shortText);
    w.write(a.strDECommand, r.strDECommand, shortText);
    w.write(a.strCommandText, r.strCommandText, 4096);
    a.lCommandType = r.lCommandType;
    a.bHasParemeters = vbBool(r.bHasParemeters);
}

// ---- Serving kinds of calls ----

template <class Result, class R, class Abi>
Result serveRecord(const char* name, std::string text, int32_t hdl, Abi* rec) {
    return serve(name, std::move(text), [&](State& s) -> Result {
        auto& records = s.kind<R>().records;
        auto it = records.find(hdl);
        if (it == records.end()) return 0;
        SlotWriter writer(s.hostility(name));
        if constexpr (std::is_void_v<decltype(fill(*rec, it->second, writer))>) {
            fill(*rec, it->second, writer);
            return WK_TRUE;
        } else {
            return fill(*rec, it->second, writer);
        }
    });
}

// The Get calls answer a 16-bit flag, the Data Environment calls a 32-bit one.
template <class R, class Result = int16_t, class Abi>
Result serveGet(const char* name, int32_t hdl, Abi* rec) {
    return serveRecord<Result, R>(name, callText(name, hdl), hdl, rec);
}

template <class R, class Abi>
int32_t serveText(const char* name, int32_t hdl, Abi* rec) {
    std::string text = std::string(name) + "(" + std::to_string(hdl) + ", lTextSz=" + std::to_string(rec->lTextSz) + ")";
    return serveRecord<int32_t, R>(name, std::move(text), hdl, rec);
}

template <class R>
int16_t serveEnumBegin(const char* name, int32_t folderHdl, wkBool* filtered, int32_t* enumHdl) {
    return serve(name, callText(name, folderHdl), [&](State& s) -> int16_t {
        auto& kind = s.kind<R>();
        auto folder = kind.folders.find(folderHdl);
        if (folder == kind.folders.end()) {
            *filtered = WK_FALSE;
            *enumHdl = 0;
            return 0;
        }
        *filtered = vbBool(folder->second.filtered);
        *enumHdl = s.nextEnumHdl++;
        kind.cursors[*enumHdl] = Cursor{folderHdl, 0};
        return folder->second.items.empty() ? 0 : WK_TRUE;
    });
}

template <class R, class Abi>
int16_t serveEnumNext(const char* name, int32_t enumHdl, Abi* rec) {
    return serve(name, callText(name, enumHdl), [&](State& s) -> int16_t {
        auto& kind = s.kind<R>();
        auto cursor = kind.cursors.find(enumHdl);
        if (cursor == kind.cursors.end()) return 0;
        auto folder = kind.folders.find(cursor->second.folder);
        if (folder == kind.folders.end() || cursor->second.next >= folder->second.items.size()) return 0;
        fill(*rec, folder->second.items[cursor->second.next++], SlotWriter(s.hostility(name)));
        return WK_TRUE;
    });
}

template <class R>
int32_t serveEnumEnd(const char* name, int32_t enumHdl) {
    return serve(name, callText(name, enumHdl), [&](State& s) {
        s.kind<R>().cursors.erase(enumHdl);
        return int32_t{0};
    });
}

std::string withPlaceholders(const std::string& text, const char* p1, const char* p2) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            const char* p = text[i + 1] == '1' ? p1 : p2;
            if (p) {
                out += p;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

int32_t serveString(const char* name, std::string text, int32_t id, char* buffer, int32_t size, const char* p1,
                    const char* p2) {
    return serve(name, std::move(text), [&](State& s) -> int32_t {
        const Hostility& h = s.hostility(name);
        auto known = s.strings.find(id);
        int32_t written = 0;
        if (known != s.strings.end()) {
            char* slot = buffer;
            written = SlotWriter(h).write(slot, withPlaceholders(known->second, p1, p2), size);
        }
        return h.count.value_or(written);
    });
}

// ---- The functions in the table ----

int32_t WKAPI initialize(int32_t ideType, const char* path, const char* reserved) {
    return serve("WKInitialize", callText("WKInitialize", ideType, path, reserved), [](State&) { return 0; });
}
int32_t WKAPI terminate() {
    return serve("WKTerminate", callText("WKTerminate"), [](State&) { return 0; });
}
int32_t WKAPI getString(int32_t id, char* buffer, int32_t size) {
    return serveString("WKGetString", callText("WKGetString", id, size), id, buffer, size, nullptr, nullptr);
}
int32_t WKAPI getStringP1(int32_t id, char* buffer, int32_t size, const char* p1) {
    return serveString("WKGetStringP1", callText("WKGetStringP1", id, size, p1), id, buffer, size, p1, nullptr);
}
int32_t WKAPI getStringP2(int32_t id, char* buffer, int32_t size, const char* p1, const char* p2) {
    return serveString("WKGetStringP2", callText("WKGetStringP2", id, size, p1, p2), id, buffer, size, p1, p2);
}
int32_t WKAPI getNotification(twkNotify_abi* notify, wkBool* more) {
    return serve("WKGetNotification", callText("WKGetNotification"), [&](State& s) {
        twkNotify next;
        if (!s.notifications.empty()) {
            next = s.notifications.front();
            s.notifications.pop_front();
        }
        *notify = {next.lNotifyType, next.lProjectHdl, next.lConnectionHdl, next.lObjectType, next.lObjectHdl};
        *more = vbBool(!s.notifications.empty());
        return int32_t{0};
    });
}
int32_t WKAPI getText(int32_t hdl, twkText_abi* rec) { return serveText<twkText>("WKGetText", hdl, rec); }
int32_t WKAPI getSQLText(int32_t hdl, twkSQLText_abi* rec) { return serveText<twkSQLText>("WKGetSQLText", hdl, rec); }
int32_t WKAPI getADOText(int32_t hdl, twkADOText_abi* rec) { return serveText<twkADOText>("WKGetADOText", hdl, rec); }
int32_t WKAPI buttonDoAction(const char* what, int32_t result) {
    return serve("WKButtonDoAction", callText("WKButtonDoAction", what, result), [](State&) { return 0; });
}
int32_t WKAPI connectionGetDE(int32_t hdl, twkConnectionDE_abi* rec) {
    return serveGet<twkConnectionDE, int32_t>("WKConnectionGetDE", hdl, rec);
}
int32_t WKAPI commandGetDE(int32_t hdl, twkCommandDE_abi* rec) {
    return serveGet<twkCommandDE, int32_t>("WKCommandGetDE", hdl, rec);
}
int16_t WKAPI projectGet(int32_t hdl, twkProject_abi* rec) { return serveGet<twkProject>("WKProjectGet", hdl, rec); }
int16_t WKAPI connectionGet(int32_t hdl, twkConnection_abi* rec) {
    return serveGet<twkConnection>("WKConnectionGet", hdl, rec);
}
int16_t WKAPI procedureGet(int32_t hdl, twkProcedure_abi* rec) {
    return serveGet<twkProcedure>("WKProcedureGet", hdl, rec);
}
int16_t WKAPI functionGet(int32_t hdl, twkFunction_abi* rec) { return serveGet<twkFunction>("WKFunctionGet", hdl, rec); }
int16_t WKAPI triggerGet(int32_t hdl, twkTrigger_abi* rec) { return serveGet<twkTrigger>("WKTriggerGet", hdl, rec); }
int16_t WKAPI tableGet(int32_t hdl, twkTable_abi* rec) { return serveGet<twkTable>("WKTableGet", hdl, rec); }
int16_t WKAPI viewGet(int32_t hdl, twkView_abi* rec) { return serveGet<twkView>("WKViewGet", hdl, rec); }

#define NIMB_DOUBLE_ENUM(Kind, Rec)                                                                      \
    int16_t WKAPI Kind##EnumBegin(int32_t folderHdl, wkBool* filtered, int32_t* enumHdl) {              \
        return serveEnumBegin<Rec>("WK" #Kind "EnumBegin", folderHdl, filtered, enumHdl);               \
    }                                                                                                    \
    int16_t WKAPI Kind##EnumNext(int32_t enumHdl, Rec##_abi* rec) {                                      \
        return serveEnumNext<Rec>("WK" #Kind "EnumNext", enumHdl, rec);                                  \
    }                                                                                                    \
    int32_t WKAPI Kind##EnumEnd(int32_t enumHdl) { return serveEnumEnd<Rec>("WK" #Kind "EnumEnd", enumHdl); }
NIMB_DOUBLE_ENUM(Procedure, twkProcedure)
NIMB_DOUBLE_ENUM(Function, twkFunction)
NIMB_DOUBLE_ENUM(Trigger, twkTrigger)
NIMB_DOUBLE_ENUM(Table, twkTable)
NIMB_DOUBLE_ENUM(View, twkView)
#undef NIMB_DOUBLE_ENUM

int32_t WKAPI setCurrentFolder(int32_t folderHdl, int32_t byDoubleClick) {
    return serve("WKSetCurrentFolder", callText("WKSetCurrentFolder", folderHdl, byDoubleClick), [](State&) { return 0; });
}
int32_t WKAPI objectDoAction(int32_t hdl, int32_t actionCode) {
    return serve("WKObjectDoAction", callText("WKObjectDoAction", hdl, actionCode), [](State&) { return 0; });
}
int32_t WKAPI objectDoGetADO(int32_t hdl, int32_t language, char* project, char* component) {
    return serve("WKObjectDoGetADO", callText("WKObjectDoGetADO", hdl, language, project, component),
                 [](State&) { return 0; });
}
int32_t WKAPI connectionDoGetDE(int32_t hdl, char* project, char* dataEnv, char* name) {
    return serve("WKConnectionDoGetDE", callText("WKConnectionDoGetDE", hdl, project, dataEnv, name),
                 [](State&) { return 0; });
}
int32_t WKAPI commandDoGetDE(int32_t hdl, char* project, char* dataEnv, char* connection, char* name) {
    return serve("WKCommandDoGetDE", callText("WKCommandDoGetDE", hdl, project, dataEnv, connection, name),
                 [](State&) { return 0; });
}
int32_t WKAPI projectDoAccess(char* name, char* path, int32_t accessCode) {
    return serve("WKProjectDoAccess", callText("WKProjectDoAccess", name, path, accessCode), [&](State& s) {
        if (s.accessFileName && name) {
            size_t n = std::min(std::strlen(name), s.accessFileName->size());
            std::copy_n(s.accessFileName->data(), n, name);
            name[n] = '\0';
        }
        return int32_t{0};
    });
}
int32_t WKAPI launchApp(int32_t tool, const char* args, int32_t* result) {
    return serve("WKLaunchApp", callText("WKLaunchApp", tool, args, result ? *result : 0), [](State&) { return 0; });
}
int32_t WKAPI launchNIMBTool(int32_t tool) {
    return serve("WKLaunchNIMBTool", callText("WKLaunchNIMBTool", tool), [](State&) { return 0; });
}

wkapis::FunctionTable doubleTable() {
    wkapis::FunctionTable t;
    t.WKInitialize = &initialize;
    t.WKTerminate = &terminate;
    t.WKGetString = &getString;
    t.WKGetStringP1 = &getStringP1;
    t.WKGetStringP2 = &getStringP2;
    t.WKGetNotification = &getNotification;
    t.WKGetText = &getText;
    t.WKGetSQLText = &getSQLText;
    t.WKGetADOText = &getADOText;
    t.WKButtonDoAction = &buttonDoAction;
    t.WKConnectionGetDE = &connectionGetDE;
    t.WKCommandGetDE = &commandGetDE;
    t.WKProjectGet = &projectGet;
    t.WKConnectionGet = &connectionGet;
    t.WKProcedureGet = &procedureGet;
    t.WKFunctionGet = &functionGet;
    t.WKTriggerGet = &triggerGet;
    t.WKTableGet = &tableGet;
    t.WKViewGet = &viewGet;
    t.WKProcedureEnumBegin = &ProcedureEnumBegin;
    t.WKProcedureEnumNext = &ProcedureEnumNext;
    t.WKProcedureEnumEnd = &ProcedureEnumEnd;
    t.WKFunctionEnumBegin = &FunctionEnumBegin;
    t.WKFunctionEnumNext = &FunctionEnumNext;
    t.WKFunctionEnumEnd = &FunctionEnumEnd;
    t.WKTriggerEnumBegin = &TriggerEnumBegin;
    t.WKTriggerEnumNext = &TriggerEnumNext;
    t.WKTriggerEnumEnd = &TriggerEnumEnd;
    t.WKTableEnumBegin = &TableEnumBegin;
    t.WKTableEnumNext = &TableEnumNext;
    t.WKTableEnumEnd = &TableEnumEnd;
    t.WKViewEnumBegin = &ViewEnumBegin;
    t.WKViewEnumNext = &ViewEnumNext;
    t.WKViewEnumEnd = &ViewEnumEnd;
    t.WKSetCurrentFolder = &setCurrentFolder;
    t.WKObjectDoAction = &objectDoAction;
    t.WKObjectDoGetADO = &objectDoGetADO;
    t.WKConnectionDoGetDE = &connectionDoGetDE;
    t.WKCommandDoGetDE = &commandDoGetDE;
    t.WKProjectDoAccess = &projectDoAccess;
    t.WKLaunchApp = &launchApp;
    t.WKLaunchNIMBTool = &launchNIMBTool;
    return t;
}

template <class R>
void putRecord(State& s, int32_t hdl, const R& rec) {
    s.kind<R>().records.insert_or_assign(hdl, rec);
}

template <class R>
void putFolder(State& s, int32_t folderHdl, std::vector<R> items, bool filtered) {
    s.kind<R>().folders.insert_or_assign(folderHdl, Folder<R>{std::move(items), filtered});
}

} // namespace

EngineDouble::EngineDouble() : state_(std::make_unique<State>()) {
    if (active) throw std::logic_error("only one EngineDouble may exist at a time");
    active = state_.get();
    wkapis::useTable(doubleTable());
}

EngineDouble::~EngineDouble() {
    wkapis::useLibrary();
    active = nullptr;
}

void EngineDouble::setString(int32_t id, std::string text) { state_->strings[id] = std::move(text); }

void EngineDouble::put(int32_t hdl, const twkProject& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkConnection& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkProcedure& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkFunction& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkTrigger& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkTable& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkView& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkText& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkSQLText& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkADOText& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkConnectionDE& rec) { putRecord(*state_, hdl, rec); }
void EngineDouble::put(int32_t hdl, const twkCommandDE& rec) { putRecord(*state_, hdl, rec); }

void EngineDouble::setFolder(int32_t folderHdl, std::vector<twkProcedure> items, bool filtered) {
    putFolder(*state_, folderHdl, std::move(items), filtered);
}
void EngineDouble::setFolder(int32_t folderHdl, std::vector<twkFunction> items, bool filtered) {
    putFolder(*state_, folderHdl, std::move(items), filtered);
}
void EngineDouble::setFolder(int32_t folderHdl, std::vector<twkTrigger> items, bool filtered) {
    putFolder(*state_, folderHdl, std::move(items), filtered);
}
void EngineDouble::setFolder(int32_t folderHdl, std::vector<twkTable> items, bool filtered) {
    putFolder(*state_, folderHdl, std::move(items), filtered);
}
void EngineDouble::setFolder(int32_t folderHdl, std::vector<twkView> items, bool filtered) {
    putFolder(*state_, folderHdl, std::move(items), filtered);
}

int EngineDouble::openEnumerations() const {
    auto& s = *state_;
    return static_cast<int>(s.kind<twkProcedure>().cursors.size() + s.kind<twkFunction>().cursors.size() +
                            s.kind<twkTrigger>().cursors.size() + s.kind<twkTable>().cursors.size() +
                            s.kind<twkView>().cursors.size());
}

void EngineDouble::queue(const twkNotify& notification) { state_->notifications.push_back(notification); }

void EngineDouble::setAccessFileName(std::string name) { state_->accessFileName = std::move(name); }

void EngineDouble::failWith(const std::string& function, vb::VBError error) {
    state_->failures.insert_or_assign(function, std::move(error));
}
void EngineDouble::stopFailing(const std::string& function) { state_->failures.erase(function); }
void EngineDouble::setHostility(const std::string& function, Hostility hostility) {
    state_->hostilities[function] = hostility;
}
void EngineDouble::setReaction(const std::string& function, std::function<void()> reaction) {
    state_->reactions[function] = std::move(reaction);
}

const std::vector<std::string>& EngineDouble::journal() const { return state_->journal; }

std::vector<std::string> EngineDouble::callsTo(const std::string& function) const {
    std::vector<std::string> calls;
    std::copy_if(state_->journal.begin(), state_->journal.end(), std::back_inserter(calls),
                 [&](const std::string& call) { return call.rfind(function + "(", 0) == 0; });
    return calls;
}

void EngineDouble::clearJournal() { state_->journal.clear(); }

} // namespace nimbtest

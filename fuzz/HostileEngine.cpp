#include "HostileEngine.h"

#include "platform/error.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>

namespace nimbfuzz {

char HostileEngine::foreign[64] = "text in the engine's own memory";

namespace {

HostileEngine& e() {
    return HostileEngine::instance();
}

// Words that lead the add-in down its special paths: command words, button descriptions, and the
// names the simulated IDE of the poll-loop target holds.
const char* const words[] = {"WK_INIT_COMPLETE",
                             "WK_TASK_COMPLETE",
                             "MINIMIZE_MSWIN",
                             "IDE_QUESTION#67#Save",
                             "IDE_WARNING",
                             "IDE_CRITICAL#672#Drop From Database",
                             "IDE_QUESTION#67#",
                             "IDE_INFORMATION#1#Done",
                             "a#b#c#d#e#f",
                             "#",
                             "##",
                             "Project1",
                             "Module1",
                             "DataEnvironment1",
                             "Connection1",
                             "Command1",
                             "C:\\work\\proc1.sql",
                             "line 1\r\nline 2\nline 3\r",
                             ""};

// What the add-in must read back from a slot: the text before the first NUL among the characters
// it reads, nothing without such a NUL, nothing from a slot that no longer points at its buffer.
std::string readBack(const char* slot, std::size_t readable) {
    if (slot == nullptr || slot == HostileEngine::foreign)
        return {};
    const char* end = std::find(slot, slot + readable, '\0');
    return end == slot + readable ? std::string() : std::string(slot, end);
}

// ---- The engine functions ----------------------------------------------------------------------

int32_t WKAPI initialize(int32_t, const char*, const char*) {
    return 0;
}
int32_t WKAPI terminate() {
    return 0;
}

int32_t lookUp(char* buffer, int32_t size) {
    e().maybeRaise();
    const auto room = static_cast<std::size_t>(std::max(size, 0));
    char* slot = buffer; // a copy: "moving" the caller's buffer leaves it untouched
    e().text("lookUp", slot, room);
    const auto written = static_cast<int32_t>(strnlen(buffer, room));
    const int32_t count = e().input().ConsumeBool() ? written : e().input().ConsumeIntegral<int32_t>();
    // The add-in believes the count only inside its buffer, and the text ends at a NUL before it.
    const std::size_t shown = count < 1 ? 0 : std::min(static_cast<std::size_t>(count), room);
    e().observed().lookedUp = std::string(buffer, std::find(buffer, buffer + shown, '\0'));
    return count;
}
int32_t WKAPI getString(int32_t, char* buffer, int32_t size) {
    return lookUp(buffer, size);
}
int32_t WKAPI getStringP1(int32_t, char* buffer, int32_t size, const char*) {
    return lookUp(buffer, size);
}
int32_t WKAPI getStringP2(int32_t, char* buffer, int32_t size, const char*, const char*) {
    return lookUp(buffer, size);
}

int32_t WKAPI getNotification(twkNotify_abi* n, wkBool* more) {
    e().maybeRaise();
    if (e().exhausted()) {
        *more = WK_FALSE; // the record stays as it was and is dispatched once more
        return 0;
    }
    auto& in = e().input();
    ++e().observed().notificationsServed;
    auto draw = [&](int32_t& field, int32_t usual) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return; // left as it was
        case 3:
            field = in.ConsumeIntegral<int32_t>();
            return;
        default:
            field = in.ConsumeIntegralInRange(0, usual);
        }
    };
    draw(n->lNotifyType, 11);
    n->lProjectHdl = e().handle();
    n->lConnectionHdl = e().handle();
    draw(n->lObjectType, 17);
    n->lObjectHdl = e().handle();
    *more = in.ConsumeIntegralInRange(0, 7) == 0 ? WK_FALSE : (in.ConsumeBool() ? WK_TRUE : wkBool{1});
    return 0;
}

int32_t WKAPI buttonDoAction(const char* what, int32_t result) {
    if (what == nullptr || std::strcmp(what, "User response") != 0)
        __builtin_trap();
    e().observed().answers.push_back(result);
    return 0;
}

// A text record: strText gets the room lTextSz promises; the add-in reads one character more when
// it calls again, since its second buffer has lTextSz + 1 characters.
template <class Abi> void fillText(Abi& r) {
    const int32_t given = r.lTextSz;
    const auto room = static_cast<std::size_t>(std::max(given, 0));
    const bool again = e().observed().recordCalls > 1;
    e().text("strText", r.strText, room, again ? room + 1 : room);
    r.lTextSz = e().textSize(given);
    e().observed().numbers["lTextSz"] = r.lTextSz;
    e().observed().textSizes.push_back(r.lTextSz);
}

int32_t WKAPI getText(int32_t, twkText_abi* r) {
    e().startRecordCall();
    fillText(*r);
    e().number("lTextType", r->lTextType);
    e().text("strButtons", r->strButtons, 256);
    return e().result32();
}

int32_t WKAPI getSQLText(int32_t, twkSQLText_abi* r) {
    e().startRecordCall();
    e().text("strVSProject", r->strVSProject, 1024);
    e().text("strVSFile", r->strVSFile, 1024);
    e().number("lSelFromLine", r->lSelFromLine);
    e().number("lSelFromColumn", r->lSelFromColumn);
    e().number("lSelToLine", r->lSelToLine);
    e().number("lSelToColumn", r->lSelToColumn);
    fillText(*r);
    return e().result32();
}

int32_t WKAPI getADOText(int32_t, twkADOText_abi* r) {
    e().startRecordCall();
    e().text("strVSProject", r->strVSProject, 1024);
    e().text("strVSFile", r->strVSFile, 1024);
    fillText(*r);
    return e().result32();
}

int32_t WKAPI connectionGetDE(int32_t, twkConnectionDE_abi* r) {
    e().startRecordCall();
    e().text("strVSProject", r->strVSProject, 256);
    e().text("strDEName", r->strDEName, 256);
    e().text("strDEConnection", r->strDEConnection, 256);
    e().text("strConnectionString", r->strConnectionString, 1024);
    return e().result32();
}

int32_t WKAPI commandGetDE(int32_t, twkCommandDE_abi* r) {
    e().startRecordCall();
    e().text("strVSProject", r->strVSProject, 256);
    e().text("strDEName", r->strDEName, 256);
    e().text("strDEConnection", r->strDEConnection, 256);
    e().text("strDECommand", r->strDECommand, 256);
    e().text("strCommandText", r->strCommandText, 4096);
    e().number("lCommandType", r->lCommandType);
    e().flag("bHasParemeters", r->bHasParemeters);
    return e().result32();
}

void fill(twkProject_abi& r) {
    e().handleField("lHdl", r.lHdl);
    e().text("strName", r.strName, 256);
    e().text("strPath", r.strPath, 1024);
}

void fill(twkConnection_abi& r) {
    e().handleField("lHdl", r.lHdl);
    e().flag("bConnected", r.bConnected);
    e().text("strDatabase", r.strDatabase, 256);
    e().handleField("lProceduresHdl", r.lProceduresHdl);
    e().handleField("lFunctionsHdl", r.lFunctionsHdl);
    e().handleField("lTriggersHdl", r.lTriggersHdl);
    e().handleField("lTablesHdl", r.lTablesHdl);
    e().handleField("lViewsHdl", r.lViewsHdl);
}

void fill(twkProcedure_abi& r) {
    e().handleField("lHdl", r.lHdl);
    e().flag("bIsDirty", r.bIsDirty);
    e().flag("bCanDebug", r.bCanDebug);
    e().text("strSchema", r.strSchema, 256);
    e().text("strName", r.strName, 1024);
    e().text("strSpecific", r.strSpecific, 1024);
    e().text("strParameters", r.strParameters, 1024);
    e().text("strLanguage", r.strLanguage, 256);
    e().text("strSQLPackage", r.strSQLPackage, 256);
    e().number("lResultSets", r.lResultSets);
    e().flag("bIsFenced", r.bIsFenced);
    e().text("strComment", r.strComment, 256);
    e().text("strFileName", r.strFileName, 1024);
}

void fill(twkFunction_abi& r) {
    e().handleField("lHdl", r.lHdl);
    e().flag("bIsDirty", r.bIsDirty);
    e().flag("bCanDebug", r.bCanDebug);
    e().text("strSchema", r.strSchema, 256);
    e().text("strName", r.strName, 256);
    e().text("strSpecific", r.strSpecific, 1024);
    e().text("strParameters", r.strParameters, 1024);
    e().text("strResult", r.strResult, 1024);
    e().text("strLanguage", r.strLanguage, 256);
    e().number("bIsFenced", r.bIsFenced);
    e().text("strComment", r.strComment, 256);
    e().text("strFileName", r.strFileName, 1024);
}

void fill(twkTrigger_abi& r) {
    e().handleField("lHdl", r.lHdl);
    e().flag("bIsDirty", r.bIsDirty);
    e().flag("bCanDebug", r.bCanDebug);
    e().text("strSchema", r.strSchema, 256);
    e().text("strName", r.strName, 256);
    e().text("strTableSchema", r.strTableSchema, 256);
    e().text("strTableName", r.strTableName, 256);
    e().text("strComment", r.strComment, 256);
    e().text("strFileName", r.strFileName, 1024);
}

void fill(twkTable_abi& r) {
    e().handleField("lHdl", r.lHdl);
    e().flag("bIsDirty", r.bIsDirty);
    e().text("strSchema", r.strSchema, 256);
    e().text("strName", r.strName, 256);
    e().text("strTableSpace", r.strTableSpace, 256);
    e().number("lType", r.lType);
    e().text("strComment", r.strComment, 256);
}

void fill(twkView_abi& r) {
    e().handleField("lHdl", r.lHdl);
    e().flag("bIsDirty", r.bIsDirty);
    e().text("strSchema", r.strSchema, 256);
    e().text("strName", r.strName, 256);
    e().text("strComment", r.strComment, 256);
}

template <class Abi> int16_t WKAPI get(int32_t, Abi* r) {
    e().startRecordCall();
    fill(*r);
    return e().result16();
}

int16_t WKAPI enumBegin(int32_t, wkBool* filtered, int32_t* enumHdl) {
    e().maybeRaise();
    ++e().observed().enumerationsBegun;
    int16_t f = 0;
    e().flag("filtered", f);
    *filtered = f;
    *enumHdl = e().handle();
    return e().result16();
}

int32_t WKAPI enumEnd(int32_t) {
    ++e().observed().enumerationsEnded;
    e().maybeRaise();
    return 0;
}

} // namespace

// ---- Drawing answers ---------------------------------------------------------------------------

HostileEngine& HostileEngine::instance() {
    static HostileEngine engine;
    return engine;
}

void HostileEngine::begin(const uint8_t* data, std::size_t size) {
    input_.emplace(data, size);
    observed_ = Observed{};
    nimb::wkapis::useTable(hostileTable());
}

void HostileEngine::end() {
    nimb::wkapis::useLibrary();
    input_.reset();
}

void HostileEngine::maybeRaise() {
    if (exhausted() || input().ConsumeIntegralInRange(0, 63) != 0)
        return;
    const int32_t number = input().ConsumeIntegral<int32_t>();
    observed_.raised = number;
    throw vb::VBError(number, "The hostile engine failed", "hostile engine");
}

int32_t HostileEngine::handle() {
    // The handles of the targets' trees (project 10, connection 20, folders 21 to 25), a few
    // objects, and the edges of the range.
    static constexpr int32_t pool[] = {10, 20, 21, 22, 23, 24,        25,       30,
                                       31, 32, 33, 0,  -1, INT32_MIN, INT32_MAX};
    const auto i = input().ConsumeIntegralInRange<std::size_t>(0, std::size(pool));
    return i < std::size(pool) ? pool[i] : input().ConsumeIntegral<int32_t>();
}

int32_t HostileEngine::number(const char* name, int32_t& field) {
    switch (input().ConsumeIntegralInRange(0, 4)) {
    case 0:
        break; // as the add-in gave it
    case 1:
        field = input().ConsumeIntegralInRange(0, 9);
        break;
    case 2:
        field = input().ConsumeBool() ? INT32_MIN : INT32_MAX;
        break;
    case 3:
        field = -1;
        break;
    default:
        field = input().ConsumeIntegral<int32_t>();
    }
    observed_.numbers[name] = field;
    return field;
}

int32_t HostileEngine::handleField(const char* name, int32_t& field) {
    if (input().ConsumeBool())
        field = handle();
    observed_.numbers[name] = field;
    return field;
}

void HostileEngine::flag(const char* name, int16_t& field) {
    switch (input().ConsumeIntegralInRange(0, 3)) {
    case 0:
        field = WK_FALSE;
        break;
    case 1:
        field = WK_TRUE;
        break;
    case 2:
        field = 1;
        break; // any non-zero reads as True
    default:
        field = input().ConsumeIntegral<int16_t>();
    }
    observed_.numbers[name] = field != 0;
}

void HostileEngine::text(const char* name, char*& slot, std::size_t room, std::size_t readable) {
    if (slot != nullptr) {
        auto& in = input();
        switch (in.ConsumeIntegralInRange(0, 8)) {
        case 0:
            break; // untouched
        case 1: {  // text with a NUL after it
            const std::string s = in.ConsumeRandomLengthString(room);
            std::memcpy(slot, s.data(), s.size());
            slot[s.size()] = '\0';
            break;
        }
        case 2: {
            std::string s = words[in.ConsumeIntegralInRange<std::size_t>(0, std::size(words) - 1)];
            s.resize(std::min(s.size(), room));
            std::memcpy(slot, s.c_str(), s.size() + 1);
            break;
        }
        case 3:
            std::memset(slot, 'x', room);
            break; // the whole room, no NUL
        case 4:
            std::memset(slot, 'y', room);
            slot[room] = '\0'; // ... and the NUL just after it
            break;
        case 5:
            slot = nullptr;
            break;
        case 6:
            slot = foreign;
            break;
        case 7: { // bytes and no NUL after them
            const auto bytes = in.ConsumeBytes<char>(in.ConsumeIntegralInRange<std::size_t>(0, room));
            std::copy(bytes.begin(), bytes.end(), slot);
            break;
        }
        default: { // a sparse write far into the buffer
            const std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, room);
            if (at < room)
                slot[at] = static_cast<char>(in.ConsumeIntegral<uint8_t>() | 1);
        }
        }
    }
    observed_.strings[name] = readBack(slot, readable);
}

int32_t HostileEngine::textSize(int32_t given) {
    constexpr int32_t cap = 16 * 1024 * 1024;
    // The sizes at the cap are rare on purpose: each costs the add-in a 16 MB buffer, and a fuzzer
    // that spends its time clearing memory finds little else.
    // Once the bytes are gone the draw is 0: the ordinary answer.
    switch (input().ConsumeIntegralInRange(0, 63)) {
    case 1:
        return cap;
    case 2:
        return cap + 1;
    case 3:
        return INT32_MAX;
    case 4:
        return INT32_MIN;
    case 5:
        return -1;
    case 6:
        return 0;
    case 7:
        return input().ConsumeIntegral<int32_t>();
    case 8:
    case 9:
        return static_cast<int32_t>(std::min<int64_t>(int64_t{given} + 1, INT32_MAX));
    case 10:
    case 11:
    case 12:
        return input().ConsumeIntegralInRange(0, 70000);
    default:
        return given;
    }
}

void HostileEngine::startRecordCall() {
    ++observed_.recordCalls;
    observed_.strings.clear();
    observed_.numbers.clear();
    observed_.raised.reset();
    maybeRaise();
}

int16_t HostileEngine::result16() {
    // Quiet once the bytes are gone: an enumeration then ends.
    if (exhausted())
        return observed_.result = 0;
    static constexpr int16_t results[] = {0, WK_TRUE, 1, INT16_MIN};
    const auto i = input().ConsumeIntegralInRange<std::size_t>(0, std::size(results) - 1);
    return static_cast<int16_t>(observed_.result = results[i]);
}

int32_t HostileEngine::result32() {
    return observed_.result = exhausted() ? 0 : input().ConsumeIntegral<int32_t>();
}

nimb::wkapis::FunctionTable hostileTable() {
    nimb::wkapis::FunctionTable t;
    t.WKInitialize = initialize;
    t.WKTerminate = terminate;
    t.WKGetString = getString;
    t.WKGetStringP1 = getStringP1;
    t.WKGetStringP2 = getStringP2;
    t.WKGetNotification = getNotification;
    t.WKGetText = getText;
    t.WKGetSQLText = getSQLText;
    t.WKGetADOText = getADOText;
    t.WKButtonDoAction = buttonDoAction;
    t.WKConnectionGetDE = connectionGetDE;
    t.WKCommandGetDE = commandGetDE;
    t.WKProjectGet = get<twkProject_abi>;
    t.WKConnectionGet = get<twkConnection_abi>;
    t.WKProcedureGet = get<twkProcedure_abi>;
    t.WKFunctionGet = get<twkFunction_abi>;
    t.WKTriggerGet = get<twkTrigger_abi>;
    t.WKTableGet = get<twkTable_abi>;
    t.WKViewGet = get<twkView_abi>;
    t.WKProcedureEnumBegin = enumBegin;
    t.WKProcedureEnumNext = get<twkProcedure_abi>;
    t.WKProcedureEnumEnd = enumEnd;
    t.WKFunctionEnumBegin = enumBegin;
    t.WKFunctionEnumNext = get<twkFunction_abi>;
    t.WKFunctionEnumEnd = enumEnd;
    t.WKTriggerEnumBegin = enumBegin;
    t.WKTriggerEnumNext = get<twkTrigger_abi>;
    t.WKTriggerEnumEnd = enumEnd;
    t.WKTableEnumBegin = enumBegin;
    t.WKTableEnumNext = get<twkTable_abi>;
    t.WKTableEnumEnd = enumEnd;
    t.WKViewEnumBegin = enumBegin;
    t.WKViewEnumNext = get<twkView_abi>;
    t.WKViewEnumEnd = enumEnd;
    return t;
}

} // namespace nimbfuzz

// The record wrappers and the text lookups of wkutil alone, against the hostile engine. For every
// call the engine notes what a correct wrapper must hand back (each string cut at its first NUL
// inside the buffer, empty without one or from a slot the engine moved; numbers and Booleans as
// written; the last call's result; the engine's error unchanged), and this target compares. The
// three text wrappers must also call a second time exactly when the engine asks for more room, and
// refuse a size beyond the cap with error 7 before calling again.
#include "HostileEngine.h"

#include "engine/wkutil.h"
#include "platform/error.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

namespace {

using nimbfuzz::HostileEngine;
using namespace nimb;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "wrapper fault: %s\n", what.c_str());
    std::abort();
}

template <class Rec> struct Fields {
    std::initializer_list<std::pair<const char*, std::string Rec::*>> strings;
    std::initializer_list<std::pair<const char*, int32_t Rec::*>> numbers;
    std::initializer_list<std::pair<const char*, bool Rec::*>> flags;
};

template <class Rec> void fillCallerRecord(FuzzedDataProvider& in, Rec& rec, const Fields<Rec>& f) {
    for (auto [name, field] : f.numbers)
        rec.*field = in.ConsumeIntegral<int32_t>();
    for (auto [name, field] : f.flags)
        rec.*field = in.ConsumeBool();
    for (auto [name, field] : f.strings)
        rec.*field = in.ConsumeRandomLengthString(8);
}

template <class Rec> void compare(const Rec& rec, const Fields<Rec>& f) {
    const auto& seen = HostileEngine::instance().observed();
    for (auto [name, field] : f.strings)
        if (rec.*field != seen.strings.at(name))
            fail(std::string(name) + " reads \"" + rec.*field + "\"");
    for (auto [name, field] : f.numbers)
        if (rec.*field != seen.numbers.at(name))
            fail(name);
    for (auto [name, field] : f.flags)
        if (int32_t{rec.*field} != seen.numbers.at(name))
            fail(name);
}

// The text records: how much room the first call gives and whether a second call was due.
template <class Rec> void checkTextCalls(int32_t given) {
    const auto& seen = HostileEngine::instance().observed();
    if (seen.textSizes.empty())
        return; // the first call raised
    const int32_t asked = seen.textSizes.front();
    const bool again = asked > given;
    if (seen.recordCalls != (again ? 2 : 1))
        fail("called " + std::to_string(seen.recordCalls) + " times");
}

template <class Rec, class Result>
void exercise(FuzzedDataProvider& in, Result (*wrapper)(int32_t, Rec&), const Fields<Rec>& f,
              int32_t textRoom = 0) {
    auto& seen = HostileEngine::instance().observed();
    Rec rec;
    fillCallerRecord(in, rec, f);
    const int32_t hdl = in.ConsumeIntegral<int32_t>();
    seen = {};
    try {
        const Result result = wrapper(hdl, rec);
        if (seen.raised)
            fail("the engine's error was swallowed");
        if (result != static_cast<Result>(seen.result))
            fail("result");
        compare(rec, f);
    } catch (const vb::VBError& err) {
        const bool tooLarge = textRoom > 0 && !seen.textSizes.empty() && seen.textSizes.front() > textRoom &&
                              seen.textSizes.front() > wkutil::maxEngineTextSize;
        if (seen.raised) {
            if (err.number() != *seen.raised || err.description() != "The hostile engine failed" ||
                err.source() != "hostile engine")
                fail("the engine's error changed on its way: " + std::to_string(err.number()));
        } else if (!tooLarge || err.number() != vb::err::OutOfMemory || seen.recordCalls != 1) {
            fail("unexpected error " + std::to_string(err.number()) + " " + err.description());
        }
        return;
    }
    if (textRoom > 0)
        checkTextCalls<Rec>(textRoom);
}

const Fields<twkProject> project{{{"strName", &twkProject::strName}, {"strPath", &twkProject::strPath}},
                                 {{"lHdl", &twkProject::lHdl}},
                                 {}};
const Fields<twkConnection> connection{{{"strDatabase", &twkConnection::strDatabase}},
                                       {{"lHdl", &twkConnection::lHdl},
                                        {"lProceduresHdl", &twkConnection::lProceduresHdl},
                                        {"lFunctionsHdl", &twkConnection::lFunctionsHdl},
                                        {"lTriggersHdl", &twkConnection::lTriggersHdl},
                                        {"lTablesHdl", &twkConnection::lTablesHdl},
                                        {"lViewsHdl", &twkConnection::lViewsHdl}},
                                       {{"bConnected", &twkConnection::bConnected}}};
const Fields<twkProcedure> procedure{
    {{"strSchema", &twkProcedure::strSchema},
     {"strName", &twkProcedure::strName},
     {"strSpecific", &twkProcedure::strSpecific},
     {"strParameters", &twkProcedure::strParameters},
     {"strLanguage", &twkProcedure::strLanguage},
     {"strSQLPackage", &twkProcedure::strSQLPackage},
     {"strComment", &twkProcedure::strComment},
     {"strFileName", &twkProcedure::strFileName}},
    {{"lHdl", &twkProcedure::lHdl}, {"lResultSets", &twkProcedure::lResultSets}},
    {{"bIsDirty", &twkProcedure::bIsDirty},
     {"bCanDebug", &twkProcedure::bCanDebug},
     {"bIsFenced", &twkProcedure::bIsFenced}}};
const Fields<twkFunction> function{
    {{"strSchema", &twkFunction::strSchema},
     {"strName", &twkFunction::strName},
     {"strSpecific", &twkFunction::strSpecific},
     {"strParameters", &twkFunction::strParameters},
     {"strResult", &twkFunction::strResult},
     {"strLanguage", &twkFunction::strLanguage},
     {"strComment", &twkFunction::strComment},
     {"strFileName", &twkFunction::strFileName}},
    {{"lHdl", &twkFunction::lHdl}, {"bIsFenced", &twkFunction::bIsFenced}},
    {{"bIsDirty", &twkFunction::bIsDirty}, {"bCanDebug", &twkFunction::bCanDebug}}};
const Fields<twkTrigger> trigger{
    {{"strSchema", &twkTrigger::strSchema},
     {"strName", &twkTrigger::strName},
     {"strTableSchema", &twkTrigger::strTableSchema},
     {"strTableName", &twkTrigger::strTableName},
     {"strComment", &twkTrigger::strComment},
     {"strFileName", &twkTrigger::strFileName}},
    {{"lHdl", &twkTrigger::lHdl}},
    {{"bIsDirty", &twkTrigger::bIsDirty}, {"bCanDebug", &twkTrigger::bCanDebug}}};
const Fields<twkTable> table{{{"strSchema", &twkTable::strSchema},
                              {"strName", &twkTable::strName},
                              {"strTableSpace", &twkTable::strTableSpace},
                              {"strComment", &twkTable::strComment}},
                             {{"lHdl", &twkTable::lHdl}, {"lType", &twkTable::lType}},
                             {{"bIsDirty", &twkTable::bIsDirty}}};
const Fields<twkView> view{{{"strSchema", &twkView::strSchema},
                            {"strName", &twkView::strName},
                            {"strComment", &twkView::strComment}},
                           {{"lHdl", &twkView::lHdl}},
                           {{"bIsDirty", &twkView::bIsDirty}}};
const Fields<twkText> text{{{"strText", &twkText::strText}, {"strButtons", &twkText::strButtons}},
                           {{"lTextSz", &twkText::lTextSz}, {"lTextType", &twkText::lTextType}},
                           {}};
const Fields<twkSQLText> sqlText{{{"strVSProject", &twkSQLText::strVSProject},
                                  {"strVSFile", &twkSQLText::strVSFile},
                                  {"strText", &twkSQLText::strText}},
                                 {{"lSelFromLine", &twkSQLText::lSelFromLine},
                                  {"lSelFromColumn", &twkSQLText::lSelFromColumn},
                                  {"lSelToLine", &twkSQLText::lSelToLine},
                                  {"lSelToColumn", &twkSQLText::lSelToColumn},
                                  {"lTextSz", &twkSQLText::lTextSz}},
                                 {}};
const Fields<twkADOText> adoText{{{"strVSProject", &twkADOText::strVSProject},
                                  {"strVSFile", &twkADOText::strVSFile},
                                  {"strText", &twkADOText::strText}},
                                 {{"lTextSz", &twkADOText::lTextSz}},
                                 {}};
const Fields<twkConnectionDE> connectionDE{{{"strVSProject", &twkConnectionDE::strVSProject},
                                            {"strDEName", &twkConnectionDE::strDEName},
                                            {"strDEConnection", &twkConnectionDE::strDEConnection},
                                            {"strConnectionString", &twkConnectionDE::strConnectionString}},
                                           {},
                                           {}};
const Fields<twkCommandDE> commandDE{{{"strVSProject", &twkCommandDE::strVSProject},
                                      {"strDEName", &twkCommandDE::strDEName},
                                      {"strDEConnection", &twkCommandDE::strDEConnection},
                                      {"strDECommand", &twkCommandDE::strDECommand},
                                      {"strCommandText", &twkCommandDE::strCommandText}},
                                     {{"lCommandType", &twkCommandDE::lCommandType}},
                                     {{"bHasParemeters", &twkCommandDE::bHasParemeters}}};

// getString and its placeholder forms: the count is believed only inside the buffer.
void lookUp(FuzzedDataProvider& in) {
    auto& seen = HostileEngine::instance().observed();
    seen = {};
    const int32_t id = in.ConsumeIntegral<int32_t>();
    const std::string p1 = in.ConsumeRandomLengthString(16), p2 = in.ConsumeRandomLengthString(16);
    std::string got;
    try {
        switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            got = wkutil::getString(id);
            break;
        case 1:
            got = wkutil::getStringP1(id, p1);
            break;
        default:
            got = wkutil::getStringP2(id, p1, p2);
        }
    } catch (const vb::VBError& err) {
        if (!seen.raised || err.number() != *seen.raised)
            fail("lookup error " + std::to_string(err.number()));
        return;
    }
    if (got != seen.lookedUp)
        fail("lookup gave \"" + got + "\" for \"" + seen.lookedUp + "\"");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& engine = HostileEngine::instance();
    engine.begin(data, size);
    auto& in = engine.input();
    switch (in.ConsumeIntegralInRange(0, 17)) {
    case 0:
        exercise(in, wkutil::wkProjectGet, project);
        break;
    case 1:
        exercise(in, wkutil::wkConnectionGet, connection);
        break;
    case 2:
        exercise(in, wkutil::wkProcedureGet, procedure);
        break;
    case 3:
        exercise(in, wkutil::wkProcedureEnumNext, procedure);
        break;
    case 4:
        exercise(in, wkutil::wkFunctionGet, function);
        break;
    case 5:
        exercise(in, wkutil::wkFunctionEnumNext, function);
        break;
    case 6:
        exercise(in, wkutil::wkTriggerGet, trigger);
        break;
    case 7:
        exercise(in, wkutil::wkTriggerEnumNext, trigger);
        break;
    case 8:
        exercise(in, wkutil::wkTableGet, table);
        break;
    case 9:
        exercise(in, wkutil::wkTableEnumNext, table);
        break;
    case 10:
        exercise(in, wkutil::wkViewGet, view);
        break;
    case 11:
        exercise(in, wkutil::wkViewEnumNext, view);
        break;
    case 12:
        exercise(in, wkutil::wkGetText, text, 4096);
        break;
    case 13:
        exercise(in, wkutil::wkGetSQLText, sqlText, 4096);
        break;
    case 14:
        exercise(in, wkutil::wkGetADOText, adoText, 65536);
        break;
    case 15:
        exercise(in, wkutil::wkConnectionGetDE, connectionDE);
        break;
    case 16:
        exercise(in, wkutil::wkCommandGetDE, commandDE);
        break;
    default:
        lookUp(in);
    }
    engine.end();
    return 0;
}

// The record wrappers against the engine double: buffer sizes, conversion both ways, the second text
// call, hostile answers (some found by fuzzing, fuzz/record_wrappers_fuzz.cpp) and error pass-through.
#include "engine/wkapis.h"
#include "engine/wkutil.h"
#include "platform/error.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace nimb;
using nimbtest::EngineDouble;
using nimbtest::Hostility;

constexpr int32_t hdl = 41;
constexpr int32_t folder = 70;

// ---- Every field comes back as the engine wrote it ----

twkProcedure sampleProcedure() {
    return {hdl, true, false, "SCH", "PROC1", "SQL0815", "IN A INT", "SQL", "PKG", 3, true, "a comment",
            "C:\\work\\proc1.sql"};
}
twkFunction sampleFunction() {
    return {hdl, false, true, "SCH", "FN1", "SQL0816", "IN B INT", "INTEGER", "JAVA", 65536, "c", "C:\\fn1.sql"};
}

template <class Rec, class Result>
Rec served(EngineDouble& engine, Result (*wrapper)(int32_t, Rec&), const Rec& rec) {
    engine.put(hdl, rec);
    Rec out{};
    wrapper(hdl, out);
    return out;
}

TEST(RecordWrappers, EveryFieldArrivesWhereTheEngineWroteIt) {
    EngineDouble engine;
    twkProject project{hdl, "Project1", "C:\\Work\\wk\\Project1.wkv"};
    EXPECT_EQ(served(engine, &wkutil::wkProjectGet, project), project);
    twkConnection connection{hdl, true, "SAMPLE", 11, 12, 13, 14, 15};
    EXPECT_EQ(served(engine, &wkutil::wkConnectionGet, connection), connection);
    EXPECT_EQ(served(engine, &wkutil::wkProcedureGet, sampleProcedure()), sampleProcedure());
    EXPECT_EQ(served(engine, &wkutil::wkFunctionGet, sampleFunction()), sampleFunction());
    twkTrigger trigger{hdl, true, false, "SCH", "TRG1", "TSCH", "ORDERS", "c", "C:\\trg1.sql"};
    EXPECT_EQ(served(engine, &wkutil::wkTriggerGet, trigger), trigger);
    twkTable table{hdl, true, "SCH", "ORDERS", "USERSPACE1", 4, "c"};
    EXPECT_EQ(served(engine, &wkutil::wkTableGet, table), table);
    twkView view{hdl, true, "SCH", "V1", "c"};
    EXPECT_EQ(served(engine, &wkutil::wkViewGet, view), view);
    twkConnectionDE connectionDE{"Project1", "DataEnvironment1", "Connection1", "Provider=X;Data Source=Y"};
    EXPECT_EQ(served(engine, &wkutil::wkConnectionGetDE, connectionDE), connectionDE);
    twkCommandDE commandDE{"Project1", "DataEnvironment1", "Connection1", "Command1", "CALL P1(?)", 1, true};
    EXPECT_EQ(served(engine, &wkutil::wkCommandGetDE, commandDE), commandDE);

    // The text calls report lTextSz on their way back: only the other fields are compared.
    twkText text{"Save changes?", 0, 1, "IDE_QUESTION#67#Save"};
    twkText gotText = served(engine, &wkutil::wkGetText, text);
    gotText.lTextSz = 0;
    EXPECT_EQ(gotText, text);
    twkSQLText sql{"Project1", "Module1", 3, 1, 9, 20, "SELECT 1 FROM T", 0};
    twkSQLText gotSql = served(engine, &wkutil::wkGetSQLText, sql);
    gotSql.lTextSz = 0;
    EXPECT_EQ(gotSql, sql);
    twkADOText ado{"Project1", "Module1", "Dim cn As ADODB.Connection", 0};
    twkADOText gotAdo = served(engine, &wkutil::wkGetADOText, ado);
    gotAdo.lTextSz = 0;
    EXPECT_EQ(gotAdo, ado);
}

// ---- Buffer sizes ----

// Serves one string field of one wrapper: puts text into that field and returns what came back.
using FieldFetch = std::function<std::string(EngineDouble&, const std::string&)>;

struct FieldCase {
    std::string name;
    const char* function;
    size_t size;
    FieldFetch fetch;
};

template <class Rec, class Result>
FieldCase getCase(const char* function, Result (*wrapper)(int32_t, Rec&), std::string Rec::*field,
                  const char* fieldName, size_t size) {
    return {std::string(function) + "." + fieldName, function, size, [=](EngineDouble& e, const std::string& text) {
                Rec in{};
                in.*field = text;
                e.put(hdl, in);
                Rec out{};
                wrapper(hdl, out);
                return out.*field;
            }};
}

template <class Rec>
FieldCase enumCase(const char* function, int16_t (*begin)(int32_t, wkBool*, int32_t*),
                   int16_t (*wrapper)(int32_t, Rec&), std::string Rec::*field, const char* fieldName, size_t size) {
    return {std::string(function) + "." + fieldName, function, size, [=](EngineDouble& e, const std::string& text) {
                Rec in{};
                in.*field = text;
                e.setFolder(folder, std::vector<Rec>{in});
                wkBool filtered = 0;
                int32_t enumHdl = 0;
                begin(folder, &filtered, &enumHdl);
                Rec out{};
                wrapper(enumHdl, out);
                return out.*field;
            }};
}

#define GET_CASE(fn, wrapper, Rec, field, size) getCase(fn, &wkutil::wrapper, &Rec::field, #field, size)
#define ENUM_CASE(Kind, Rec, field, size) \
    enumCase("WK" #Kind "EnumNext", &wkapis::WK##Kind##EnumBegin, &wkutil::wk##Kind##EnumNext, &Rec::field, #field, size)
#define GET_AND_ENUM(Kind, Rec, field, size) \
    GET_CASE("WK" #Kind "Get", wk##Kind##Get, Rec, field, size), ENUM_CASE(Kind, Rec, field, size)

std::vector<FieldCase> fieldCases() {
    return {
        GET_CASE("WKProjectGet", wkProjectGet, twkProject, strName, 256),
        GET_CASE("WKProjectGet", wkProjectGet, twkProject, strPath, 1024),
        GET_CASE("WKConnectionGet", wkConnectionGet, twkConnection, strDatabase, 256),
        GET_AND_ENUM(Procedure, twkProcedure, strName, 1024),
        GET_AND_ENUM(Procedure, twkProcedure, strSpecific, 1024),
        GET_AND_ENUM(Procedure, twkProcedure, strParameters, 1024),
        GET_AND_ENUM(Procedure, twkProcedure, strFileName, 1024),
        GET_AND_ENUM(Procedure, twkProcedure, strSchema, 256),
        GET_AND_ENUM(Procedure, twkProcedure, strLanguage, 256),
        GET_AND_ENUM(Procedure, twkProcedure, strSQLPackage, 256),
        GET_AND_ENUM(Procedure, twkProcedure, strComment, 256),
        GET_AND_ENUM(Function, twkFunction, strSpecific, 1024),
        GET_AND_ENUM(Function, twkFunction, strParameters, 1024),
        GET_AND_ENUM(Function, twkFunction, strResult, 1024),
        GET_AND_ENUM(Function, twkFunction, strFileName, 1024),
        GET_AND_ENUM(Function, twkFunction, strSchema, 256),
        GET_AND_ENUM(Function, twkFunction, strName, 256),
        GET_AND_ENUM(Function, twkFunction, strLanguage, 256),
        GET_AND_ENUM(Function, twkFunction, strComment, 256),
        GET_AND_ENUM(Trigger, twkTrigger, strFileName, 1024),
        GET_AND_ENUM(Trigger, twkTrigger, strSchema, 256),
        GET_AND_ENUM(Trigger, twkTrigger, strName, 256),
        GET_AND_ENUM(Trigger, twkTrigger, strTableSchema, 256),
        GET_AND_ENUM(Trigger, twkTrigger, strTableName, 256),
        GET_AND_ENUM(Trigger, twkTrigger, strComment, 256),
        GET_AND_ENUM(Table, twkTable, strSchema, 256),
        GET_AND_ENUM(Table, twkTable, strName, 256),
        GET_AND_ENUM(Table, twkTable, strTableSpace, 256),
        GET_AND_ENUM(Table, twkTable, strComment, 256),
        GET_AND_ENUM(View, twkView, strSchema, 256),
        GET_AND_ENUM(View, twkView, strName, 256),
        GET_AND_ENUM(View, twkView, strComment, 256),
        GET_CASE("WKGetText", wkGetText, twkText, strButtons, 256),
        GET_CASE("WKGetSQLText", wkGetSQLText, twkSQLText, strVSProject, 1024),
        GET_CASE("WKGetSQLText", wkGetSQLText, twkSQLText, strVSFile, 1024),
        GET_CASE("WKGetADOText", wkGetADOText, twkADOText, strVSProject, 1024),
        GET_CASE("WKGetADOText", wkGetADOText, twkADOText, strVSFile, 1024),
        GET_CASE("WKConnectionGetDE", wkConnectionGetDE, twkConnectionDE, strConnectionString, 1024),
        GET_CASE("WKConnectionGetDE", wkConnectionGetDE, twkConnectionDE, strVSProject, 256),
        GET_CASE("WKConnectionGetDE", wkConnectionGetDE, twkConnectionDE, strDEName, 256),
        GET_CASE("WKConnectionGetDE", wkConnectionGetDE, twkConnectionDE, strDEConnection, 256),
        GET_CASE("WKCommandGetDE", wkCommandGetDE, twkCommandDE, strCommandText, 4096),
        GET_CASE("WKCommandGetDE", wkCommandGetDE, twkCommandDE, strVSProject, 256),
        GET_CASE("WKCommandGetDE", wkCommandGetDE, twkCommandDE, strDEName, 256),
        GET_CASE("WKCommandGetDE", wkCommandGetDE, twkCommandDE, strDEConnection, 256),
        GET_CASE("WKCommandGetDE", wkCommandGetDE, twkCommandDE, strDECommand, 256),
    };
}

// A text one short of the buffer comes back whole (the buffer is at least that big); a text that
// fills the buffer without a NUL comes back empty (the buffer is no bigger).
TEST(RecordWrappers, EveryStringFieldGetsExactlyItsBufferSize) {
    for (const auto& c : fieldCases()) {
        SCOPED_TRACE(c.name);
        EngineDouble engine;
        const std::string fits(c.size - 1, 'x');
        EXPECT_EQ(c.fetch(engine, fits), fits);
        engine.setHostility(c.function, {.noNul = true});
        EXPECT_EQ(c.fetch(engine, std::string(c.size, 'x')), "");
        EXPECT_EQ(c.fetch(engine, "short"), "short");  // a missing NUL is harmless while the buffer's NULs remain
    }
}

// ---- The three text calls ----

struct TextCall {
    const char* function;
    int32_t firstSize;
    // Serves text through the wrapper; returns {strText, wrapper result}.
    std::function<std::pair<std::string, int32_t>(EngineDouble&, const std::string&)> fetch;
};

template <class Rec>
std::pair<std::string, int32_t> fetchText(EngineDouble& e, const Rec& rec, int32_t (*wrapper)(int32_t, Rec&)) {
    e.put(hdl, rec);
    Rec out;
    int32_t r = wrapper(hdl, out);
    return {out.strText, r};
}

std::vector<TextCall> textCalls() {
    return {
        {"WKGetText", 4096, [](EngineDouble& e, const std::string& s) {
             return fetchText(e, twkText{s, 0, 3, "IDE_INFORMATION"}, &wkutil::wkGetText);
         }},
        {"WKGetSQLText", 4096, [](EngineDouble& e, const std::string& s) {
             return fetchText(e, twkSQLText{"P", "M", 1, 1, 2, 2, s, 0}, &wkutil::wkGetSQLText);
         }},
        {"WKGetADOText", 65536, [](EngineDouble& e, const std::string& s) {
             return fetchText(e, twkADOText{"P", "M", s, 0}, &wkutil::wkGetADOText);
         }},
    };
}

std::string textCall(const char* function, int32_t size) {
    return std::string(function) + "(" + std::to_string(hdl) + ", lTextSz=" + std::to_string(size) + ")";
}

TEST(TextWrappers, LongerTextIsFetchedOnceMoreWithTheSizeTheEngineAskedFor) {
    for (const auto& t : textCalls()) {
        SCOPED_TRACE(t.function);
        for (int32_t extra : {-1, 500}) {
            EngineDouble engine;
            const std::string text(t.firstSize + extra, 's');
            auto [got, result] = t.fetch(engine, text);
            EXPECT_EQ(got, text);
            EXPECT_EQ(result, 1);  // the second call's result, when there is one; the first returned 0
            std::vector<std::string> calls{textCall(t.function, t.firstSize)};
            if (extra > 0) calls.push_back(textCall(t.function, t.firstSize + extra + 1));
            EXPECT_EQ(engine.callsTo(t.function), calls);
        }
    }
}

TEST(TextWrappers, TheEnginesReportedSizeDecidesTheSecondCall) {
    struct Case {
        const char* what;
        Hostility hostility;
        std::string text, expected;
        std::vector<int32_t> sizes;  // lTextSz of each call
    };
    const std::string n5000(5000, 'n'), e4096(4096, 'e');
    const std::vector<Case> cases{
        // Only a buffer of 5001 keeps a NUL behind 5000 characters written without one.
        {"second buffer filled to its end", {.noNul = true, .textSize = 5000}, n5000, n5000, {4096, 5000}},
        {"full text reported without room for its NUL", {.textSize = 4096}, e4096, "", {4096}},
        {"full text reported with room for its NUL", {}, e4096, e4096, {4096, 4097}},
        {"asks for more again", {.textSize = 9000}, std::string(9500, 'a'), "", {4096, 9000}},
        {"reports the buffer size", {.textSize = 4096}, "hello", "hello", {4096}},
        {"reports less", {.textSize = 100}, "hello", "hello", {4096}},
        {"reports zero", {.textSize = 0}, "hello", "hello", {4096}},
        {"reports minus one", {.textSize = -1}, "hello", "hello", {4096}},
        {"reports the least number", {.textSize = INT32_MIN}, "hello", "hello", {4096}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EngineDouble engine;
        engine.setHostility("WKGetText", c.hostility);
        EXPECT_EQ(textCalls()[0].fetch(engine, c.text).first, c.expected);
        std::vector<std::string> calls;
        for (int32_t size : c.sizes) calls.push_back(textCall("WKGetText", size));
        EXPECT_EQ(engine.callsTo("WKGetText"), calls);
    }
}

TEST(TextWrappers, SizeAboveTheCapIsRefusedBeforeAllocating) {
    for (const auto& t : textCalls()) {
        SCOPED_TRACE(t.function);
        for (int32_t reported : {wkutil::maxEngineTextSize + 1, INT32_MAX}) {
            EngineDouble engine;
            engine.setHostility(t.function, {.textSize = reported});
            try {
                t.fetch(engine, "x");
                ADD_FAILURE() << "no error for " << reported;
            } catch (const vb::VBError& e) {
                EXPECT_EQ(e.number(), 7);
                EXPECT_NE(e.description().find(std::to_string(reported)), std::string::npos) << e.description();
            }
            EXPECT_EQ(engine.callsTo(t.function).size(), 1u);
        }
    }
    EngineDouble engine;  // the cap itself is still allowed
    engine.setHostility("WKGetText", {.textSize = wkutil::maxEngineTextSize});
    EXPECT_EQ(textCalls()[0].fetch(engine, "x").first, "x");
}

// ---- Hostile slots ----

TEST(RecordWrappers, SlotsTheEngineMovedOffOurBuffersReadAsEmpty) {
    for (Hostility h : {Hostility{.nullSlots = true}, Hostility{.foreignSlots = true}}) {
        SCOPED_TRACE(h.nullSlots ? "null slots" : "foreign slots");
        EngineDouble engine;
        for (const char* f : {"WKProcedureGet", "WKGetText", "WKGetADOText"}) engine.setHostility(f, h);
        twkProcedure proc = served(engine, &wkutil::wkProcedureGet, sampleProcedure());
        EXPECT_EQ(proc.strName + proc.strSchema + proc.strFileName + proc.strComment, "");
        EXPECT_EQ(proc.lResultSets, 3);  // the other fields still arrive
        EXPECT_TRUE(proc.bIsFenced);
        twkText text = served(engine, &wkutil::wkGetText, twkText{"msg", 0, 3, "IDE_CRITICAL"});
        EXPECT_EQ(text.strText + text.strButtons, "");
        EXPECT_EQ(text.lTextType, 3);
        twkADOText ado = served(engine, &wkutil::wkGetADOText, twkADOText{"P", "M", "code", 0});
        EXPECT_EQ(ado.strVSProject + ado.strVSFile + ado.strText, "");
    }
}

// Found by fuzzing: the first text call moves the other slots off our buffers and asks for more
// room; the second call is well behaved. Those slots must have their whole size again then.
TEST(TextWrapperRetry, SlotsMovedInTheFirstCallGetTheirFullRoomInTheSecond) {
    for (Hostility first : {Hostility{.nullSlots = true, .textSize = 5000},
                            Hostility{.foreignSlots = true, .textSize = 5000}}) {
        EngineDouble engine;
        const std::string buttons(255, 'b');  // the most a 256-character slot holds with its NUL
        engine.put(7, twkText{.strText = std::string(4500, 't'), .lTextType = 1, .strButtons = buttons});
        engine.setHostility("WKGetText", first);
        engine.setReaction("WKGetText", [&] { engine.setHostility("WKGetText", {}); });
        twkText text;
        wkutil::wkGetText(7, text);
        EXPECT_EQ(engine.callsTo("WKGetText").size(), 2u);
        EXPECT_EQ(text.strText, std::string(4500, 't'));
        EXPECT_EQ(text.strButtons, buttons);
    }
}

// ---- Errors ----

TEST(RecordWrappers, ErrorsInsideReachTheCallerWithNumberSourceAndDescription) {
    std::set<std::string> functions;
    for (const auto& c : fieldCases()) {
        if (!functions.insert(c.function).second) continue;
        SCOPED_TRACE(c.function);
        EngineDouble engine;
        engine.failWith(c.function, vb::VBError(1004, std::string("failed in ") + c.function, "nimbvsadd"));
        try {
            c.fetch(engine, "x");
            ADD_FAILURE() << "no error";
        } catch (const vb::VBError& e) {
            EXPECT_EQ(e.number(), 1004);
            EXPECT_EQ(e.description(), std::string("failed in ") + c.function);
            EXPECT_EQ(e.source(), "nimbvsadd");
        }
    }
    EXPECT_EQ(functions.size(), 17u);  // every Get, EnumNext, text and Data Environment wrapper
}

// ---- The boundary values themselves, seen from a hand-written engine ----

twkProcedure_abi procedureSeen;
int16_t WKAPI rawProcedureGet(int32_t, twkProcedure_abi* rec) {
    procedureSeen = *rec;
    rec->bIsDirty = 1;  // non-zero but not -1
    rec->bCanDebug = 0;
    rec->bIsFenced = 0x100;
    return 7;
}

int16_t WKAPI rawFunctionGet(int32_t, twkFunction_abi* rec) {
    rec->bIsFenced = 0x10000;  // only a 32-bit field keeps this
    return -1;
}

TEST(RecordWrappers, BooleansGoInAsMinusOneAndAnyNonZeroComesBackTrue) {
    wkapis::FunctionTable table;
    table.WKProcedureGet = &rawProcedureGet;
    table.WKFunctionGet = &rawFunctionGet;
    wkapis::useTable(table);
    twkProcedure proc = sampleProcedure();  // bIsDirty true, bCanDebug false, bIsFenced true
    EXPECT_EQ(wkutil::wkProcedureGet(hdl, proc), 7);
    EXPECT_EQ(procedureSeen.bIsDirty, -1);
    EXPECT_EQ(procedureSeen.bCanDebug, 0);
    EXPECT_EQ(procedureSeen.bIsFenced, -1);
    EXPECT_EQ(procedureSeen.lHdl, hdl);  // other fields go in as the caller left them
    EXPECT_EQ(procedureSeen.lResultSets, 3);
    EXPECT_TRUE(proc.bIsDirty);
    EXPECT_FALSE(proc.bCanDebug);
    EXPECT_TRUE(proc.bIsFenced);
    twkFunction fn;
    EXPECT_EQ(wkutil::wkFunctionGet(hdl, fn), -1);
    EXPECT_EQ(fn.bIsFenced, 0x10000);
    wkapis::useLibrary();
}

} // namespace

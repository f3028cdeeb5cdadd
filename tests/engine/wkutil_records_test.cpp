// The record wrappers against the engine double: buffer sizes, conversion both ways, the second text
// call, hostile answers and error pass-through.
#include "engine/wkapis.h"
#include "engine/wkutil.h"
#include "platform/error.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
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

    twkText text{"Save changes?", 0, 1, "IDE_QUESTION#67#Save"};
    twkText gotText = served(engine, &wkutil::wkGetText, text);
    EXPECT_EQ(gotText.strText, text.strText);
    EXPECT_EQ(gotText.lTextType, 1);
    EXPECT_EQ(gotText.strButtons, text.strButtons);
    twkSQLText sql{"Project1", "Module1", 3, 1, 9, 20, "SELECT 1 FROM T", 0};
    twkSQLText gotSql = served(engine, &wkutil::wkGetSQLText, sql);
    gotSql.lTextSz = 0;
    EXPECT_EQ(gotSql, sql);
    twkADOText ado{"Project1", "Module1", "Dim cn As ADODB.Connection", 0};
    twkADOText gotAdo = served(engine, &wkutil::wkGetADOText, ado);
    gotAdo.lTextSz = 0;
    EXPECT_EQ(gotAdo, ado);
}

TEST(RecordWrappers, EnumNextWrappersServeTheFolderInOrder) {
    EngineDouble engine;
    twkProcedure second = sampleProcedure();
    second.strName = "PROC2";
    engine.setFolder(folder, std::vector<twkProcedure>{sampleProcedure(), second}, true);
    wkBool filtered = 0;
    int32_t enumHdl = 0;
    ASSERT_NE(wkapis::WKProcedureEnumBegin(folder, &filtered, &enumHdl), 0);
    EXPECT_EQ(filtered, WK_TRUE);
    twkProcedure rec;
    EXPECT_NE(wkutil::wkProcedureEnumNext(enumHdl, rec), 0);
    EXPECT_EQ(rec, sampleProcedure());
    EXPECT_NE(wkutil::wkProcedureEnumNext(enumHdl, rec), 0);
    EXPECT_EQ(rec.strName, "PROC2");
    EXPECT_EQ(wkutil::wkProcedureEnumNext(enumHdl, rec), 0);
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

std::vector<TextCall> textCalls() {
    return {
        {"WKGetText", 4096,
         [](EngineDouble& e, const std::string& s) {
             e.put(hdl, twkText{s, 0, 3, "IDE_INFORMATION"});
             twkText out;
             int32_t r = wkutil::wkGetText(hdl, out);
             return std::pair{out.strText, r};
         }},
        {"WKGetSQLText", 4096,
         [](EngineDouble& e, const std::string& s) {
             e.put(hdl, twkSQLText{"P", "M", 1, 1, 2, 2, s, 0});
             twkSQLText out;
             int32_t r = wkutil::wkGetSQLText(hdl, out);
             return std::pair{out.strText, r};
         }},
        {"WKGetADOText", 65536,
         [](EngineDouble& e, const std::string& s) {
             e.put(hdl, twkADOText{"P", "M", s, 0});
             twkADOText out;
             int32_t r = wkutil::wkGetADOText(hdl, out);
             return std::pair{out.strText, r};
         }},
    };
}

std::string textCall(const char* function, int32_t size) {
    return std::string(function) + "(" + std::to_string(hdl) + ", lTextSz=" + std::to_string(size) + ")";
}

TEST(TextWrappers, TextThatFitsTakesOneCallWithTheFullBufferSize) {
    for (const auto& t : textCalls()) {
        SCOPED_TRACE(t.function);
        EngineDouble engine;
        const std::string text(t.firstSize - 1, 's');
        auto [got, result] = t.fetch(engine, text);
        EXPECT_EQ(got, text);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(engine.callsTo(t.function), std::vector<std::string>{textCall(t.function, t.firstSize)});
    }
}

TEST(TextWrappers, LongerTextIsFetchedAgainWithTheSizeTheEngineAskedFor) {
    for (const auto& t : textCalls()) {
        SCOPED_TRACE(t.function);
        EngineDouble engine;
        const std::string text(t.firstSize + 500, 'l');
        auto [got, result] = t.fetch(engine, text);
        EXPECT_EQ(got, text);
        EXPECT_EQ(result, 1);  // the second call's result; the first one returned 0
        const int32_t needed = t.firstSize + 501;
        EXPECT_EQ(engine.callsTo(t.function),
                  (std::vector<std::string>{textCall(t.function, t.firstSize), textCall(t.function, needed)}));
    }
}

TEST(TextWrappers, SecondBufferHoldsOneCharacterMoreThanTheEngineAskedFor) {
    EngineDouble engine;
    // The engine asks for 5000 and then fills all 5000 characters without a NUL: only a buffer of
    // 5001 keeps a NUL behind the text.
    engine.setHostility("WKGetText", {.noNul = true, .textSize = 5000});
    const std::string text(5000, 'n');
    EXPECT_EQ(textCalls()[0].fetch(engine, text).first, text);
    EXPECT_EQ(engine.callsTo("WKGetText").back(), textCall("WKGetText", 5000));
}

TEST(TextWrappers, ExactlyFullTextNeedsTheEngineToAskForMore) {
    const std::string text(4096, 'e');
    {
        EngineDouble engine;  // reports 4096 needed although it needs room for its NUL: no second call
        engine.setHostility("WKGetText", {.textSize = 4096});
        EXPECT_EQ(textCalls()[0].fetch(engine, text).first, "");
        EXPECT_EQ(engine.callsTo("WKGetText").size(), 1u);
    }
    {
        EngineDouble engine;  // reports 4097: the second call's buffer of 4098 holds it
        EXPECT_EQ(textCalls()[0].fetch(engine, text).first, text);
        EXPECT_EQ(engine.callsTo("WKGetText").back(), textCall("WKGetText", 4097));
    }
}

TEST(TextWrappers, ReportedSizesAtOrBelowTheBufferMakeNoSecondCall) {
    for (int32_t reported : {4096, 100, 0, -1, INT32_MIN}) {
        SCOPED_TRACE(reported);
        EngineDouble engine;
        engine.setHostility("WKGetText", {.textSize = reported});
        EXPECT_EQ(textCalls()[0].fetch(engine, "hello").first, "hello");
        EXPECT_EQ(engine.callsTo("WKGetText").size(), 1u);
    }
}

TEST(TextWrappers, EngineAskingForMoreAgainGetsNoThirdCall) {
    EngineDouble engine;
    engine.setHostility("WKGetText", {.textSize = 9000});  // always too small for this text
    EXPECT_EQ(textCalls()[0].fetch(engine, std::string(9500, 'a')).first, "");
    EXPECT_EQ(engine.callsTo("WKGetText").size(), 2u);
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

// ---- Errors ----

TEST(RecordWrappers, ErrorsInsideReachTheCallerWithNumberSourceAndDescription) {
    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"WKProjectGet", [] { twkProject r; wkutil::wkProjectGet(hdl, r); }},
        {"WKConnectionGet", [] { twkConnection r; wkutil::wkConnectionGet(hdl, r); }},
        {"WKProcedureGet", [] { twkProcedure r; wkutil::wkProcedureGet(hdl, r); }},
        {"WKProcedureEnumNext", [] { twkProcedure r; wkutil::wkProcedureEnumNext(hdl, r); }},
        {"WKFunctionGet", [] { twkFunction r; wkutil::wkFunctionGet(hdl, r); }},
        {"WKFunctionEnumNext", [] { twkFunction r; wkutil::wkFunctionEnumNext(hdl, r); }},
        {"WKTriggerGet", [] { twkTrigger r; wkutil::wkTriggerGet(hdl, r); }},
        {"WKTriggerEnumNext", [] { twkTrigger r; wkutil::wkTriggerEnumNext(hdl, r); }},
        {"WKTableGet", [] { twkTable r; wkutil::wkTableGet(hdl, r); }},
        {"WKTableEnumNext", [] { twkTable r; wkutil::wkTableEnumNext(hdl, r); }},
        {"WKViewGet", [] { twkView r; wkutil::wkViewGet(hdl, r); }},
        {"WKViewEnumNext", [] { twkView r; wkutil::wkViewEnumNext(hdl, r); }},
        {"WKGetText", [] { twkText r; wkutil::wkGetText(hdl, r); }},
        {"WKGetSQLText", [] { twkSQLText r; wkutil::wkGetSQLText(hdl, r); }},
        {"WKGetADOText", [] { twkADOText r; wkutil::wkGetADOText(hdl, r); }},
        {"WKConnectionGetDE", [] { twkConnectionDE r; wkutil::wkConnectionGetDE(hdl, r); }},
        {"WKCommandGetDE", [] { twkCommandDE r; wkutil::wkCommandGetDE(hdl, r); }},
    };
    for (const auto& [function, call] : calls) {
        SCOPED_TRACE(function);
        EngineDouble engine;
        engine.failWith(function, vb::VBError(1004, std::string("failed in ") + function, "nimbvsadd"));
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const vb::VBError& e) {
            EXPECT_EQ(e.number(), 1004);
            EXPECT_EQ(e.description(), std::string("failed in ") + function);
            EXPECT_EQ(e.source(), "nimbvsadd");
        }
    }
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

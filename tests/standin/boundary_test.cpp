// The C boundary under stress: stale and foreign handles, buffers that must not be overrun, texts
// that need the second call, and handles that never collide.
#include "StandinHarness.h"

#include <set>

namespace standin_test {
namespace {

using StandinBoundary = StandinTest;

TEST_F(StandinBoundary, StaleOrForeignHandlesZeroTheNumbersAndLeaveTheStrings) {
    openSample();
    int32_t removed = find(8, "P_DIRTY");
    api().WKObjectDoAction(removed, 21);
    drain();
    for (int32_t hdl : {removed, find(10, "F1"), find(7, "SHOPDB"), 0, -1, 2000000000}) {
        ProcedureRec r('q');
        r.rec.lHdl = 5;
        r.rec.bIsDirty = r.rec.bCanDebug = r.rec.bIsFenced = WK_TRUE;
        r.rec.lResultSets = 9;
        EXPECT_EQ(api().WKProcedureGet(hdl, &r.rec), 0) << hdl;
        EXPECT_EQ((std::vector<int32_t>{r.rec.lHdl, r.rec.bIsDirty, r.rec.bCanDebug, r.rec.bIsFenced,
                                        r.rec.lResultSets}),
                  (std::vector<int32_t>(5, 0)))
            << hdl;
        EXPECT_EQ(std::string(r.rec.strName, 1024), std::string(1024, 'q')) << hdl;
        EXPECT_TRUE(r.slots.intact());
    }

    TableRec t('q');
    t.rec.lType = 4;
    EXPECT_EQ(api().WKTableGet(find(8, "P_DEBUG"), &t.rec), 0);
    EXPECT_EQ(t.rec.lType, 0);
    EXPECT_EQ(t.rec.strSchema[0], 'q');

    char text[16] = "untouched";
    twkText_abi tr{text, 16, 3, nullptr};
    EXPECT_EQ(api().WKGetText(find(8, "P_DEBUG"), &tr), 0); // an object handle is no text
    EXPECT_EQ(tr.lTextSz, 0);
    EXPECT_EQ(tr.lTextType, 0);
    EXPECT_STREQ(text, "untouched");

    ConnectionRec c;
    c.rec.lViewsHdl = 3;
    EXPECT_EQ(api().WKConnectionGet(find(5, ""), &c.rec), 0);
    EXPECT_EQ(c.rec.lViewsHdl, 0);
    EXPECT_EQ(api().WKProcedureGet(find(8, "P_DEBUG"), nullptr), 0);
    EXPECT_EQ(api().WKGetText(1, nullptr), 0);
}

TEST_F(StandinBoundary, EnumerationHandlesOnlyServeTheirOwnKind) {
    openSample();
    wkBool filtered = 0;
    int32_t e = 0;
    ASSERT_EQ(api().WKProcedureEnumBegin(find(7, "SHOPDB"), &filtered, &e), 1);
    TableRec t;
    EXPECT_EQ(api().WKTableEnumNext(e, &t.rec), 0);
    EXPECT_EQ(api().WKTableEnumEnd(e), 1); // any End closes it
    ProcedureRec r;
    EXPECT_EQ(api().WKProcedureEnumNext(e, &r.rec), 0);
    EXPECT_EQ(api().WKProcedureEnumNext(find(8, "P_DEBUG"), &r.rec), 0); // an object is no enumeration
    EXPECT_EQ(api().WKProcedureEnumBegin(find(7, "SHOPDB"), &filtered, nullptr), 0);
}

TEST_F(StandinBoundary, HandlesAreDistinctAndPositiveAcrossEverything) {
    openSample();
    std::vector<int32_t> all{find(5, "")};
    for (const char* db : {"SHOPDB", "OFFDB"}) {
        all.push_back(find(6, db));
        for (int32_t type : {7, 9, 11, 13, 15})
            all.push_back(find(type, db));
    }
    for (auto [type, name] : {std::pair{8, "P_DEBUG"}, {8, "P_DIRTY"}, {8, "P_COBOL"}, {8, "SYSPROC1"},
                              {10, "F1"}, {12, "T1"}, {14, "ITEMS"}, {16, "V1"}, {8, "Q1"}})
        all.push_back(find(type, name));
    api().WKObjectDoAction(find(8, "P_DEBUG"), 13);
    char project[] = "P", component[] = "C", de[] = "D", con[] = "N", cmd[] = "M";
    api().WKObjectDoGetADO(find(6, "SHOPDB"), 2, project, component);
    api().WKConnectionDoGetDE(find(6, "SHOPDB"), project, de, con);
    api().WKCommandDoGetDE(find(8, "P_DEBUG"), project, de, con, cmd);
    for (auto& n : drain())
        all.push_back(n.lObjectHdl);
    wkBool filtered = 0;
    int32_t e = 0;
    api().WKProcedureEnumBegin(find(7, "SHOPDB"), &filtered, &e);
    all.push_back(e);
    EXPECT_EQ(all.size(), 27u);
    EXPECT_EQ(std::set<int32_t>(all.begin(), all.end()).size(), all.size());
    for (int32_t hdl : all)
        EXPECT_GT(hdl, 0);
}

TEST_F(StandinBoundary, LongFieldsAreCutAtTheWrapperBufferSizes) {
    openSample();
    const std::string huge(5000, 'N');
    WKSI_ObjectFields f{};
    f.strName = f.strSchema = f.strParameters = f.strComment = f.strLanguage = f.strTableSpace = huge.c_str();
    const std::string longFile = "src/" + std::string(3000, 'f');
    f.strFileName = longFile.c_str();
    int32_t proc = find(8, "P_DEBUG");
    ASSERT_EQ(api().WKSI_InjectObjectChanged(proc, &f), 1);
    ProcedureRec r;
    ASSERT_EQ(api().WKProcedureGet(proc, &r.rec), 1);
    EXPECT_TRUE(r.slots.intact());
    std::vector<size_t> lengths;
    for (const char* field :
         {r.rec.strName, r.rec.strParameters, r.rec.strFileName, r.rec.strSchema, r.rec.strComment})
        lengths.push_back(std::strlen(field));
    EXPECT_EQ(lengths, (std::vector<size_t>{1023, 1023, 1023, 255, 255}));

    int32_t fn = find(10, "F1");
    ASSERT_EQ(api().WKSI_InjectObjectChanged(fn, &f), 1);
    FunctionRec fr;
    ASSERT_EQ(api().WKFunctionGet(fn, &fr.rec), 1);
    EXPECT_TRUE(fr.slots.intact());
    EXPECT_EQ(std::strlen(fr.rec.strName), 255u); // a function's name has the smaller buffer

    int32_t table = find(14, "ITEMS");
    ASSERT_EQ(api().WKSI_InjectObjectChanged(table, &f), 1);
    TableRec t;
    ASSERT_EQ(api().WKTableGet(table, &t.rec), 1);
    EXPECT_TRUE(t.slots.intact());
    EXPECT_EQ(std::strlen(t.rec.strTableSpace), 255u);
}

TEST_F(StandinBoundary, NullStringSlotsAreSkipped) {
    openSample();
    twkProcedure_abi rec{}; // every slot null
    EXPECT_EQ(api().WKProcedureGet(find(8, "P_DEBUG"), &rec), 1);
    EXPECT_EQ(rec.lResultSets, 2);
    twkProject_abi p{};
    EXPECT_EQ(api().WKProjectGet(find(5, ""), &p), 1);
}

TEST_F(StandinBoundary, ATextLongerThanTheBufferNeedsTheSecondCall) {
    for (int32_t length : {4095, 4096, 20000}) { // 4096 is one too long for its NUL
        std::string message(static_cast<size_t>(length), 'm');
        int32_t hdl = api().WKSI_InjectText(3, message.c_str(), "");
        drain();
        Slots slots;
        twkText_abi rec{slots.add(4096, 'x'), 4096, 0, slots.add(256)};
        api().WKGetText(hdl, &rec);
        EXPECT_EQ(rec.lTextSz, length + 1);
        EXPECT_EQ(rec.strText[0], length < 4096 ? 'm' : 'x') << length; // written only when it fits
        EXPECT_TRUE(slots.intact()) << length;
        EXPECT_EQ(readText(hdl).text, message) << length;
    }
}

TEST_F(StandinBoundary, ViewingALongSourceGoesThroughTheSecondCall) {
    openSample();
    std::string source = "CREATE PROCEDURE APP.P_DEBUG ()\nBEGIN\n" + std::string(9000, '-') + "\nEND\n";
    write("src/P_DEBUG.sql", source);
    api().WKSI_Reset();
    access(path("shop.wkv"), "", 2);
    api().WKObjectDoAction(find(8, "P_DEBUG"), 25);
    auto texts = textsOf(drain());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].text.find(source), std::string::npos);
}

TEST_F(StandinBoundary, SqlAndAdoTextsFollowTheSameSizeRule) {
    std::string sql(5000, 's');
    int32_t s = api().WKSI_InjectSQLText("P", "F", 1, 1, 1, 1, sql.c_str());
    int32_t a = api().WKSI_InjectADOText("P", "F", sql.c_str());
    drain();
    Slots slots;
    twkSQLText_abi sr{slots.add(1024), slots.add(1024), 0, 0, 0, 0, slots.add(4096), 4096};
    api().WKGetSQLText(s, &sr);
    EXPECT_EQ(sr.lTextSz, 5001);
    twkADOText_abi ar{slots.add(1024), slots.add(1024), slots.add(100), 100};
    api().WKGetADOText(a, &ar);
    EXPECT_EQ(ar.lTextSz, 5001);
    EXPECT_TRUE(slots.intact());
    std::vector<char> big(5002);
    ar.strText = big.data();
    ar.lTextSz = 5002;
    EXPECT_EQ(api().WKGetADOText(a, &ar), 1);
    EXPECT_EQ(std::string(big.data()), sql);
}

TEST_F(StandinBoundary, DeliveredPayloadsStayReadableForAWhileThenGo) {
    int32_t first = api().WKSI_InjectText(3, "first", "");
    drain();
    for (int i = 0; i < 10; ++i)
        api().WKSI_InjectText(3, "later", "");
    drain();
    EXPECT_EQ(readText(first).text, "first");
    for (int i = 0; i < 100; ++i)
        api().WKSI_InjectText(3, "much later", "");
    drain();
    EXPECT_EQ(readText(first).result, 0);
}

} // namespace
} // namespace standin_test

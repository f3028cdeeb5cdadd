// The text table: every id the add-in asks for, placeholders, and buffers that are never overrun.
#include "StandinHarness.h"

namespace standin_test {
namespace {

std::vector<int32_t> addInIds() {
    std::vector<int32_t> ids{100, 101};
    for (auto [from, to] :
         {std::pair{200, 219}, {300, 314}, {400, 445}, {500, 532}, {600, 611}, {641, 647}, {655, 683}})
        for (int32_t id = from; id <= to; ++id)
            ids.push_back(id);
    return ids;
}

TEST(StandinTexts, EveryIdTheAddInUsesHasAText) {
    api().WKSI_Reset();
    for (int32_t id : addInIds())
        EXPECT_FALSE(engineString(id).empty()) << "text " << id;
    EXPECT_EQ(engineString(100), "Arial");
    EXPECT_EQ(engineString(101), "9");
    char name[8] = {}; // the font information agrees with the font texts
    int32_t size = 0;
    EXPECT_EQ(api().WKGetFontInfo(name, sizeof name, &size), 1);
    EXPECT_STREQ(name, "Arial");
    EXPECT_EQ(size, 9);
}

TEST(StandinTexts, UnknownIdsGiveNothingAndLeaveTheBufferAlone) {
    for (int32_t id : {-1, 0, 99, 102, 199, 220, 315, 446, 999, 100000}) {
        char buf[16];
        std::memset(buf, 'x', sizeof buf);
        EXPECT_EQ(api().WKGetString(id, buf, sizeof buf), 0) << id;
        EXPECT_EQ(std::string(buf, sizeof buf), std::string(16, 'x')) << id;
    }
}

TEST(StandinTexts, PlaceholdersAreFilledOncePerCall) {
    char buf[512];
    int32_t n = api().WKGetStringP1(675, buf, sizeof buf, "C:\\work\\p.sql");
    std::string one(buf, static_cast<size_t>(n));
    EXPECT_THAT(one, AllOf(HasSubstr("C:\\work\\p.sql"), Not(HasSubstr("%1"))));

    // A placeholder inside an argument stays as it is: %2 given as the first value is not replaced.
    n = api().WKGetStringP2(683, buf, sizeof buf, "View %2", "Check In");
    std::string two(buf, static_cast<size_t>(n));
    EXPECT_THAT(two, AllOf(HasSubstr("\"View %2\""), HasSubstr("\"Check In\"")));

    for (int32_t id : {662, 664, 676, 677, 678, 679}) {
        n = api().WKGetStringP1(id, buf, sizeof buf, "<<VALUE>>");
        EXPECT_THAT(std::string(buf, static_cast<size_t>(n)), HasSubstr("<<VALUE>>")) << id;
    }
    n = api().WKGetStringP1(669, buf, sizeof buf, nullptr); // no placeholder, null argument
    EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), engineString(669));
}

TEST(StandinTexts, LongTextsAreCutToTheBufferWithTheirNul) {
    const std::string full = engineString(669);
    ASSERT_GT(full.size(), 10u);
    const auto length = static_cast<int32_t>(full.size());
    for (int32_t size : {1, 2, 5, length, length + 1}) {
        const int32_t written = std::min(size - 1, length);
        Slots slots;
        char* buf = slots.add(static_cast<size_t>(size), 'x');
        EXPECT_EQ(api().WKGetString(669, buf, size), written) << size;
        EXPECT_EQ(std::string(buf), full.substr(0, static_cast<size_t>(written)));
        EXPECT_TRUE(slots.intact()) << size;
    }
    EXPECT_EQ(api().WKGetString(669, nullptr, 100), 0);
    char untouched = 'x';
    EXPECT_EQ(api().WKGetString(669, &untouched, 0), 0);
    EXPECT_EQ(untouched, 'x');
    EXPECT_EQ(api().WKGetString(669, &untouched, -5), 0);
}

} // namespace
} // namespace standin_test

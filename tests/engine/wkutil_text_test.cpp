// wkutil's text lookup, trimming, font and path helpers.
#include "engine/wkutil.h"
#include "platform/error.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace nimb;
using nimbtest::EngineDouble;
using nimbtest::Hostility;

TEST(TrimNull, CutsAtTheFirstNulAndEmptiesAStringWithoutOne) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {std::string("abc\0def\0", 8), "abc"},
        {std::string("\0abc", 4), ""},
        {std::string(1024, 'x'), ""},  // a full buffer with no NUL at all
        {"", ""},
    };
    for (auto c : cases) {
        wkutil::trimNull(c.in);
        EXPECT_EQ(c.in, c.out);
    }
}

struct StringCase {
    const char* name;
    std::string stored;  // empty: the id is unknown
    Hostility hostility;
    std::string expected;
};

TEST(GetString, BelievesTheCountOnlyInsideItsBufferAndUpToTheFirstNul) {
    const StringCase cases[] = {
        {"known id", "Server View", {}, "Server View"},
        {"unknown id", "", {}, ""},
        {"count below one", "Server View", {.count = 0}, ""},
        {"negative count", "Server View", {.count = -4}, ""},
        {"count shorter than the text", "Server View", {.count = 6}, "Server"},
        {"count past the NUL", "abc", {.count = 10}, "abc"},
        {"count far beyond the buffer", "abc", {.count = 1 << 30}, "abc"},
        {"full buffer, no NUL, huge count", std::string(3000, 'y'), {.noNul = true, .count = 5000},
         std::string(1024, 'y')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EngineDouble engine;
        if (!c.stored.empty()) engine.setString(17, c.stored);
        engine.setHostility("WKGetString", c.hostility);
        EXPECT_EQ(wkutil::getString(17), c.expected);
        EXPECT_EQ(engine.journal(), std::vector<std::string>{"WKGetString(17, 1024)"});
    }
}

TEST(GetString, PlaceholderVariantsPassTheirStringsAfterTheBufferSize) {
    EngineDouble engine;
    engine.setString(300, "Drop %1 from %2?");
    EXPECT_EQ(wkutil::getStringP1(300, "PROC1"), "Drop PROC1 from %2?");
    EXPECT_EQ(wkutil::getStringP2(300, "PROC1", "DB2"), "Drop PROC1 from DB2?");
    EXPECT_EQ(engine.journal(), (std::vector<std::string>{"WKGetStringP1(300, 1024, \"PROC1\")",
                                                          "WKGetStringP2(300, 1024, \"PROC1\", \"DB2\")"}));
    engine.setHostility("WKGetStringP2", {.count = 5000});
    EXPECT_EQ(wkutil::getStringP2(300, "a", "b"), "Drop a from b?");
}

TEST(FontCharset, EastAsianFontsByTheirOwnNamesElseTheDefaultSet) {
    struct Case {
        const char* font;
        int32_t charset;
    } cases[] = {
        {"宋体", 134}, {"ＭＳ Ｐゴシック", 128}, {"新細明體", 136}, {"굴림", 129},
        {"SimSun", 1},  // the English name is not the one the engine reports
        {"MS PGothic", 1}, {"Tahoma", 1}, {"", 1},
    };
    for (const auto& c : cases) {
        wkutil::moduleState().uiFontName = c.font;
        EXPECT_EQ(wkutil::getFontCharset(), c.charset) << c.font;
    }
    wkutil::resetModuleState();
    EXPECT_EQ(wkutil::uiFontName(), "");
}

TEST(FontSize, LeadingNumberRoundedHalfToEvenWithNineAsTheFallback) {
    struct Case {
        const char* text;
        int32_t size;
    } cases[] = {
        {"10pt", 10}, {"8.5", 8}, {"9.5", 10}, {"10.5", 10}, {"11.5", 12}, {"12", 12},
        {" 7 points", 7}, {"", 9}, {"pt10", 9}, {".", 9},
    };
    for (const auto& c : cases) EXPECT_EQ(wkutil::fontSizeFromText(c.text), c.size) << '"' << c.text << '"';
    try {  // beyond the Long range
        wkutil::fontSizeFromText("99999999999");
        ADD_FAILURE() << "no overflow";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

TEST(Paths, SplitDriveAtTheFirstColon) {
    struct Case {
        const char *path, *drive, *rest;
    } cases[] = {
        {"C:\\dir\\a.txt", "C:", "\\dir\\a.txt"}, {"C:", "C:", ""}, {"\\dir\\a.txt", "", "\\dir\\a.txt"},
        {"", "", ""}, {"a:b:c", "a:", "b:c"},
    };
    for (const auto& c : cases) {
        std::string drive = "old", rest = "old";
        wkutil::splitDrive(c.path, drive, rest);
        EXPECT_EQ(drive, c.drive) << c.path;
        EXPECT_EQ(rest, c.rest) << c.path;
    }
}

TEST(Paths, SplitPathTakesTheFileOnlyAfterABackslashPastTheFirstCharacter) {
    struct Case {
        const char *path, *drive, *dir, *file;
    } cases[] = {
        {"C:\\dir\\a.txt", "C:", "\\dir", "a.txt"},
        {"C:\\a.txt", "C:", "\\a.txt", ""},
        {"C:", "C:", "", ""},
        {"a.txt", "", "a.txt", ""},
        {"dir\\sub\\a.txt", "", "dir\\sub", "a.txt"},
        {"C:\\dir\\", "C:", "\\dir", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        std::string drive = "old", dir = "old", file = "old";
        wkutil::splitPath(c.path, drive, dir, file);
        EXPECT_EQ(drive, c.drive) << c.path;
        EXPECT_EQ(dir, c.dir) << c.path;
        EXPECT_EQ(file, c.file) << c.path;
    }
}

TEST(Paths, SplitPathMayWriteOverItsOwnInput) {
    std::string path = "C:\\dir\\a.txt", dir, file;
    wkutil::splitPath(path, path, dir, file);
    EXPECT_EQ(path, "C:");
    EXPECT_EQ(dir, "\\dir");
    EXPECT_EQ(file, "a.txt");
}

TEST(Paths, GetDirectoryIsTheTextBeforeTheLastBackslash) {
    struct Case {
        const char *path, *dir;
    } cases[] = {
        {"D:\\x\\p.wkv", "D:\\x"}, {"C:\\Work\\wk\\", "C:\\Work\\wk"}, {"p.wkv", ""}, {"", ""}, {"\\p", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(wkutil::getDirectory(c.path), c.dir) << c.path;
}

} // namespace

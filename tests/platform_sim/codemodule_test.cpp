// CodeModule lines: 1-based insertion and deletion, text of several lines, ranges out of bounds.
#include "platform/sim/Journal.h"
#include "platform/sim/SimCodeModule.h"
#include "sim_errors.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

using Lines = std::vector<std::string>;

sim::SimCodeModule moduleOf(Lines lines) {
    return sim::SimCodeModule(std::make_shared<sim::Journal>(), "Module1", std::move(lines));
}

TEST(CodeModule, InsertLinesPutsTheTextBeforeTheLine) {
    struct Case {
        const char* name;
        Lines before;
        int32_t line;
        std::string text;
        Lines after;
    };
    for (const auto& c : std::vector<Case>{{"first", {"a", "b"}, 1, "x", {"x", "a", "b"}},
                                           {"middle", {"a", "b"}, 2, "x", {"a", "x", "b"}},
                                           {"append", {"a", "b"}, 3, "x", {"a", "b", "x"}},
                                           {"empty module", {}, 1, "x", {"x"}},
                                           {"crlf lines", {"a"}, 2, "x\r\ny\r\nz", {"a", "x", "y", "z"}},
                                           {"lf lines", {"a"}, 1, "x\ny", {"x", "y", "a"}},
                                           {"lone cr", {"a"}, 1, "x\ry", {"x", "y", "a"}},
                                           {"trailing break makes an empty line", {"a"}, 2, "x\r\n", {"a", "x", ""}},
                                           {"empty text is one empty line", {"a"}, 1, "", {"", "a"}},
                                           {"blank lines kept", {}, 1, "x\n\n\ny", {"x", "", "", "y"}}}) {
        SCOPED_TRACE(c.name);
        auto module = moduleOf(c.before);
        module.InsertLines(c.line, c.text);
        EXPECT_EQ(module.lines(), c.after);
        EXPECT_EQ(module.CountOfLines(), static_cast<int32_t>(c.after.size()));
    }
}

TEST(CodeModule, DeleteLinesRemovesTheRangeOnlyAndLinesJoinsARangeWithCrLf) {
    auto module = moduleOf({"1", "2", "3", "4", "5"});
    module.DeleteLines(2, 3);
    EXPECT_EQ(module.lines(), (Lines{"1", "5"}));
    module.DeleteLines(2);
    EXPECT_EQ(module.lines(), (Lines{"1"}));

    auto abc = moduleOf({"a", "b", "c"});
    EXPECT_EQ(abc.Lines(1, 3), "a\r\nb\r\nc");
    EXPECT_EQ(abc.Lines(2, 1), "b");
    EXPECT_EQ(abc.Lines(3, 0), "");
}

TEST(CodeModule, RangesOutsideTheModuleRaiseAndChangeNothing) {
    const std::vector<std::pair<const char*, std::function<void(sim::SimCodeModule&)>>> bad{
        {"insert at 0", [](auto& m) { m.InsertLines(0, "x"); }},
        {"insert past end + 1", [](auto& m) { m.InsertLines(5, "x"); }},
        {"insert negative", [](auto& m) { m.InsertLines(-1, "x"); }},
        {"delete at 0", [](auto& m) { m.DeleteLines(0, 1); }},
        {"delete past end", [](auto& m) { m.DeleteLines(3, 2); }},
        {"delete nothing", [](auto& m) { m.DeleteLines(1, 0); }},
        {"delete negative count", [](auto& m) { m.DeleteLines(1, -1); }},
        {"delete huge count", [](auto& m) { m.DeleteLines(2, INT32_MAX); }},
        {"lines past end", [](auto& m) { m.Lines(2, 3); }},
        {"lines from 0", [](auto& m) { m.Lines(0, 1); }},
        {"lines negative count", [](auto& m) { m.Lines(1, -1); }},
        {"lines huge count", [](auto& m) { m.Lines(2, INT32_MAX); }},
    };
    for (const auto& [what, call] : bad) {
        SCOPED_TRACE(what);
        auto module = moduleOf({"a", "b", "c"});
        EXPECT_EQ(errorOf([&] { call(module); }), vb::err::InvalidProcedureCall);
        EXPECT_EQ(module.lines(), (Lines{"a", "b", "c"}));
    }
}

} // namespace

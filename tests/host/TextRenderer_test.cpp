// TextRenderer: the parts of the text views that carry meaning of their own - message box styles,
// answers, changed lines of a code module, captions, aligned tables.
#include "TextRenderer.h"

#include <gtest/gtest.h>

namespace {

using host::text::Lines;

TEST(TextRendererTest, StylesNameTheirIconAndButtons) {
    struct Case {
        int32_t style;
        const char* text;
    } cases[] = {
        {0, "no icon + OK"},           {36, "Question + Yes/No"},          {35, "Question + Yes/No/Cancel"},
        {16, "Critical + OK"},         {48, "Exclamation + OK"},           {64, "Information + OK"},
        {1, "no icon + OK/Cancel"},    {2, "no icon + Abort/Retry/Ignore"}, {5, "no icon + Retry/Cancel"},
        {6, "no icon + buttons 6"},    {4 + 256, "no icon + Yes/No + 256"},
    };
    for (const auto& c : cases) EXPECT_EQ(host::text::styleText(c.style), c.text) << c.style;
    EXPECT_EQ(host::text::resultName(7), "No (7)");
    EXPECT_EQ(host::text::resultName(9), "9");
}

TEST(TextRendererTest, CaptionsLoseTheirAcceleratorMarks) {
    EXPECT_EQ(host::text::plainCaption("Add &File"), "Add File");
    EXPECT_EQ(host::text::plainCaption("Fish && Chips"), "Fish & Chips");
    EXPECT_EQ(host::text::plainCaption("End&"), "End&");
}

TEST(TextRendererTest, NewLinesOfAModuleAreMarkedAndReplacedOnesCounted) {
    const std::vector<std::string> before = {"a", "b", "c", "d"};
    Lines appended = host::text::codeModule("P.M", {"a", "b", "c", "d", "x", "y"}, before);
    EXPECT_EQ(appended, (Lines{"Code of P.M (6 lines):", "     1  a", "     2  b", "     3  c", "     4  d", "+    5  x",
                               "+    6  y"}));
    Lines replaced = host::text::codeModule("P.M", {"a", "X", "d"}, before);
    EXPECT_EQ(replaced, (Lines{"Code of P.M (3 lines, 2 replaced or removed):", "     1  a", "+    2  X", "     3  d"}));
    Lines plain = host::text::codeModule("P.M", {"a"});
    EXPECT_EQ(plain, (Lines{"Code of P.M (1 line):", "     1  a"}));
}

TEST(TextRendererTest, TablesAlignTheirColumns) {
    Lines t = host::text::table({{"K1", "GET_STOCK", ""}, {"K1000", "X", "bold"}});
    EXPECT_EQ(t, (Lines{"  K1     GET_STOCK", "  K1000  X          bold"}));
}

TEST(TextRendererTest, MessageBoxesShowEveryLineOfTheirText) {
    Lines box = host::text::msgBox("one\r\ntwo", 0, "");
    EXPECT_EQ(box, (Lines{"[message box, style 0 = no icon + OK, title (default)]", "  | one", "  | two"}));
}

} // namespace

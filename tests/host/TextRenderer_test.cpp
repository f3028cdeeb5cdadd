// TextRenderer: the parts of the text views that the scenarios' transcripts do not all reach -
// every message box style, answers without a name, captions with doubled ampersands, a module of
// one line.
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

// Appended and replaced lines are what the code-generation scenario shows; a module of one line is
// counted in the singular.
TEST(TextRendererTest, AModuleOfOneLineIsCountedInTheSingular) {
    EXPECT_EQ(host::text::codeModule("P.M", {"a"}), (Lines{"Code of P.M (1 line):", "     1  a"}));
}

} // namespace

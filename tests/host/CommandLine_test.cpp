// CommandLine: words, quotes, escapes and comments of one line.
#include "CommandLine.h"
#include "HostError.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(CommandLineTest, CutsLinesIntoWords) {
    struct Case {
        const char* line;
        Words words;
    } cases[] = {
        {"click addInMenuItem", {"click", "addInMenuItem"}},
        {"  advance\t3  ", {"advance", "3"}},
        {"click node \"Inventory/INVDB/Stored Procedures\"", {"click", "node", "Inventory/INVDB/Stored Procedures"}},
        {"answer file C:\\Work\\new.wkv", {"answer", "file", "C:\\Work\\new.wkv"}},  // no escapes outside quotes
        {"echo \"a \\\"b\\\" c\\\\d\\ne\\tf \\W\"", {"echo", "a \"b\" c\\d\ne\tf \\W"}},
        {"set x \"\"", {"set", "x", ""}},
        {"a\"b c\"d", {"ab cd"}},
        {"show tree # the whole tree", {"show", "tree"}},
        {"echo a#b", {"echo", "a#b"}},  // '#' inside a word is text
        {"echo \"# not a comment\"", {"echo", "# not a comment"}},
        {"# only a comment", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(host::CommandLine::parse(c.line).words, c.words) << c.line;
}

TEST(CommandLineTest, AnUnclosedQuoteIsAnError) {
    EXPECT_THROW(host::CommandLine::parse("echo \"open"), host::HostError);
    EXPECT_THROW(host::CommandLine::parse("echo \"a\\\""), host::HostError);
}

} // namespace

// VBError, the mapping of foreign exceptions to VB runtime errors, the texts the handlers show, and
// the handling patterns that need no message box.
#include "platform/error.h"
#include "platform/errorhandling.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

template <class Throw>
vb::VBError mapped(Throw doThrow) {
    try {
        doThrow();
    } catch (...) {
        return vb::currentError();
    }
    ADD_FAILURE() << "nothing thrown";
    return vb::VBError(0, "");
}

TEST(CurrentError, ForeignExceptionsBecomeTheRuntimeErrorVBWouldRaise) {
    struct Case {
        const char* name;
        vb::VBError error;
        int32_t number;
        std::string description;
        std::string source;
    } cases[] = {
        {"VBError", mapped([] { throw vb::VBError(91, "Object variable not set", "engine"); }), 91,
         "Object variable not set", "engine"},
        {"bad_alloc", mapped([] { throw std::bad_alloc(); }), 7, "Out of memory", ""},
        {"out_of_range", mapped([] { throw std::out_of_range("index 4"); }), 9, "Subscript out of range: index 4", ""},
        {"runtime_error", mapped([] { throw std::runtime_error("disk on fire"); }), 5, "disk on fire", ""},
        {"not an exception", mapped([] { throw 42; }), 5, "Unknown error", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.error.number(), c.number);
        EXPECT_EQ(c.error.description(), c.description);
        EXPECT_EQ(c.error.source(), c.source);
    }
}

TEST(ErrorTexts, TheThreeFormatsTheHandlersShow) {
    vb::VBError e(91, "Object variable not set", "nimbvbadd");
    EXPECT_EQ(vb::numberColonDescription(e), "91:Object variable not set");
    EXPECT_EQ(vb::numberThenDescription(e), "91Object variable not set");
    EXPECT_EQ(vb::numberDescriptionSource(e), "91, Object variable not set, nimbvbadd");
    EXPECT_STREQ(e.what(), "91: Object variable not set");
}

TEST(Reraise, PassesTheResultOrTheSameErrorToTheCaller) {
    EXPECT_EQ(vb::reraise([] { return 17; }), 17);
    try {
        vb::reraise([] { throw vb::VBError(1004, "Application-defined error", "engine"); });
        ADD_FAILURE() << "nothing raised";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_EQ(e.description(), "Application-defined error");
        EXPECT_EQ(e.source(), "engine");
    }
    try {
        vb::reraise([] { throw std::out_of_range("item 9"); });
        ADD_FAILURE() << "nothing raised";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.number(), 9);
    }
}

TEST(AttemptEach, AFailingStepIsSkippedAndTheRestStillRun) {
    std::vector<int> ran;
    vb::attemptEach({
        [&] { ran.push_back(1); },
        [&] { throw vb::VBError(91, "Object variable not set"); },
        [&] { ran.push_back(3); },
        [&] { throw std::runtime_error("foreign"); },
        [&] { ran.push_back(5); },
    });
    EXPECT_EQ(ran, (std::vector<int>{1, 3, 5}));
}

} // namespace

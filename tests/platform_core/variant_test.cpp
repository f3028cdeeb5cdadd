// Variant: VB's conversions and "=" as the add-in relies on them (node tags, lookups by name or index).
#include "platform/error.h"
#include "platform/variant.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using vb::Variant;

int32_t errorNumberOf(void (*f)()) {
    try {
        f();
    } catch (const vb::VBError& e) {
        return e.number();
    }
    return 0;
}

TEST(Variant, CLngRoundsHalfToEvenFromNumbersAndNumericText) {
    struct Case {
        Variant v;
        int32_t expected;
    } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3},
        {"2.5", 2}, {" 7 ", 7}, {"-12", -12}, {true, -1}, {false, 0}, {Variant(), 0}, {int32_t{123456}, 123456},
    };
    for (const auto& c : cases) EXPECT_EQ(c.v.toLong(), c.expected) << c.v.toString();
}

TEST(Variant, ValuesThatAreNotNumbersRaiseTypeMismatch) {
    EXPECT_EQ(errorNumberOf([] { Variant("abc").toLong(); }), 13);
    EXPECT_EQ(errorNumberOf([] { Variant("7pt").toDouble(); }), 13);
    EXPECT_EQ(errorNumberOf([] { Variant("").toLong(); }), 13);
    EXPECT_EQ(errorNumberOf([] { Variant("maybe").toBool(); }), 13);
    EXPECT_EQ(errorNumberOf([] { Variant(std::make_shared<vb::Object>()).toLong(); }), 13);
    EXPECT_EQ(errorNumberOf([] { Variant(int32_t{5}).toObject(); }), 13);
    EXPECT_EQ(errorNumberOf([] { Variant(std::make_shared<vb::Object>()).toString(); }), 13);
}

TEST(Variant, NullConvertsToNothingAndWordsAreNoNumbers) {
    EXPECT_EQ(errorNumberOf([] { Variant(vb::Null{}).toLong(); }), 94);
    EXPECT_EQ(errorNumberOf([] { Variant(vb::Null{}).toString(); }), 94);
    for (const char* text : {"inf", "-inf", "nan", "Infinity", "+", "-", " "})
        EXPECT_FALSE(Variant(text).isNumeric()) << text;
    EXPECT_EQ(errorNumberOf([] { Variant("nan").toDouble(); }), 13);
    EXPECT_EQ(Variant(" +5 ").toLong(), 5);
    EXPECT_EQ(Variant("-.5e1").toDouble(), -5.0);
}

TEST(Variant, CLngOutsideTheLongRangeOverflows) {
    EXPECT_EQ(errorNumberOf([] { Variant(2147483647.5).toLong(); }), 6);
    EXPECT_EQ(errorNumberOf([] { Variant(-2147483649.0).toLong(); }), 6);
    EXPECT_EQ(Variant(2147483647.4).toLong(), 2147483647);
    EXPECT_EQ(Variant(-2147483648.0).toLong(), INT32_MIN);
}

TEST(Variant, CStrAndCBoolFollowVB) {
    EXPECT_EQ(Variant(true).toString(), "True");
    EXPECT_EQ(Variant(false).toString(), "False");
    EXPECT_EQ(Variant().toString(), "");
    EXPECT_EQ(Variant(int32_t{-6}).toString(), "-6");
    EXPECT_EQ(Variant(2.0).toString(), "2");
    EXPECT_EQ(Variant(2.25).toString(), "2.25");
    EXPECT_TRUE(Variant("True").toBool());
    EXPECT_FALSE(Variant("0").toBool());
    EXPECT_TRUE(Variant(int32_t{-1}).toBool());
    EXPECT_FALSE(Variant().toBool());
    EXPECT_FALSE(Variant(vb::Null{}).toBool());
}

TEST(Variant, EqualityComparesNumbersAsNumbersAndTextAsText) {
    auto object = std::make_shared<vb::Object>();
    struct Case {
        Variant a, b;
        bool equal;
    } cases[] = {
        {"7", int32_t{7}, true},  // a text tag equals the number type
        {int32_t{7}, "7", true},
        {" 7", 7.0, true},
        {"7", "7.0", false},  // two texts compare as text
        {"7", "7", true},
        {"abc", int32_t{7}, false},
        {int32_t{6}, 6.0, true},
        {true, int32_t{-1}, true},
        {Variant(), int32_t{0}, true},  // Empty is 0 beside a number ...
        {Variant(), "", true},          // ... and "" beside text
        {Variant(), "0", false},
        {Variant(), Variant(), true},
        {Variant(), int32_t{1}, false},
        {vb::Null{}, vb::Null{}, false},
        {vb::Null{}, int32_t{0}, false},
        {object, object, true},
        {object, std::make_shared<vb::Object>(), false},
        {object, "x", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a.equals(c.b), c.equal);
        EXPECT_EQ(c.b.equals(c.a), c.equal);
    }
}

TEST(Variant, LeadingNumberReadsUntilTheNumberCannotContinue) {
    struct Case {
        const char* text;
        std::optional<double> number;
    } cases[] = {
        {"10pt", 10}, {"8.5", 8.5}, {"  -3.25x", -3.25}, {"+4", 4}, {".5", 0.5}, {"1.", 1}, {"12.5.6", 12.5},
        {"", std::nullopt}, {"pt", std::nullopt}, {".", std::nullopt}, {"-", std::nullopt}, {"- 3", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(vb::leadingNumber(c.text), c.number) << '"' << c.text << '"';
}

} // namespace

#include "lib/Convert.h"
#include "lib/Error.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tabulon;

TEST(Convert, booleanAcceptsNumbersTheirTextsAndWords) {
    struct Case {
        Variant value;
        bool expected;
    } cases[] = {
        {Variant(), false},        {Variant(0), false},     {Variant(1), true},      {Variant(-1), true},
        {Variant(2.5), true},      {Variant("0"), false},   {Variant("1"), true},    {Variant(" 2 "), true},
        {Variant("-1"), true},     {Variant("0.0"), false}, {Variant("TRUE"), true}, {Variant("tRuE"), true},
        {Variant("False"), false}, {Variant(true), true},   {Variant(false), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toBoolean(c.value), c.expected) << toText(c.value);
}

TEST(Convert, booleanRejectsOtherTextsWithTypeMismatch) {
    for (const char* text : {"yes", "no", "", "abc", "1x", "=True"}) {
        try {
            toBoolean(Variant(text));
            ADD_FAILURE() << text;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 13) << text;
        }
    }
    EXPECT_THROW(toBoolean(Variant(StringList{})), Error);
    EXPECT_TRUE(toBooleanOr(Variant("yes"), true));
    EXPECT_FALSE(toBooleanOr(Variant("yes"), false));
}

TEST(Convert, valReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double expected;
    } cases[] = {
        {"", 0},      {"abc", 0},     {"12abc", 12}, {" 1 2 3", 123},    {"-2.5E-3", -0.0025},
        {"1.5", 1.5}, {"1.2.3", 1.2}, {"&HFF", 255}, {"&HFFFF", -1},     {"&o17", 15},
        {"1D2", 100}, {"\t-\n7", -7}, {"+4", 4},     {"\"GR\"", 0},      {"=Now()", 0},
        {"1e", 1},    {".5", 0.5},    {"&H", 0},     {"&HFFFFFFFF", -1}, {"&H10000", 65536},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(val(c.text), c.expected) << c.text;
}

TEST(Convert, forgivingConversionsNeverRaise) {
    EXPECT_EQ(toInteger(Variant("abc")), 0);
    EXPECT_EQ(toInteger(Variant(" 42 ")), 42);
    EXPECT_EQ(toInteger(Variant("2.5")), 2);
    EXPECT_EQ(toInteger(Variant("3.5")), 4);
    EXPECT_EQ(toInteger(Variant::null()), 0);
    EXPECT_EQ(toInteger(Variant(StringList{"1"})), 0);
    EXPECT_EQ(toText(Variant(StringList{"a"})), "");
    EXPECT_EQ(toText(Variant::null()), "");
    EXPECT_EQ(toText(Variant(7)), "7");
    EXPECT_EQ(toText(Variant(-12.5)), "-12.5");
    EXPECT_EQ(toDateTime(Variant("not a date")), DateTime::oleZero());
}

TEST(Convert, numericTextGrammar) {
    for (const char* yes : {"1", " -2.5 ", "1E+3", "0.", ".5", "+7"})
        EXPECT_TRUE(isNumericText(yes)) << yes;
    for (const char* no : {"", " ", "-", "1e", "1,5", "0x10", "1 2", "\t1"})
        EXPECT_FALSE(isNumericText(no)) << no;
}

TEST(Convert, numbersBeyondDoubleRangeConvertByTheirSize) {
    EXPECT_TRUE(toBoolean(Variant("1e400")));
    EXPECT_TRUE(toBoolean(Variant("-0.00001e309")));
    EXPECT_FALSE(toBoolean(Variant("1e-400")));
    EXPECT_FALSE(toBoolean(Variant("12345e-99999999999999999999")));
    EXPECT_FALSE(toBoolean(Variant("0.000e400")));
    EXPECT_EQ(toInteger(Variant("1e400")), 0);
    EXPECT_EQ(toInteger(Variant("-1e-400")), 0);
    double out = 42;
    EXPECT_TRUE(parseNumericText("-1e999", out));
    EXPECT_TRUE(std::isinf(out) && out < 0);
}

TEST(Convert, singleValuesReadAsTheirOwnDigits) {
    EXPECT_EQ(toText(Variant(0.1f)), "0.1");
    EXPECT_EQ(toText(Variant(-3.25f)), "-3.25");
    EXPECT_EQ(toText(Variant(16777216.0f)), "16777216");
}

TEST(Convert, bankersRoundingOnBothSides) {
    struct Case {
        const char* text;
        std::int64_t expected;
    } cases[] = {
        {"0.5", 0}, {"1.5", 2}, {"-0.5", 0}, {"-1.5", -2}, {"-2.5", -2}, {"-3.5", -4}, {"2.4999", 2}, {"-2.5001", -3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toInteger(Variant(c.text)), c.expected) << c.text;
    EXPECT_EQ(toInteger(Variant(2.5)), 2);
    EXPECT_EQ(toInteger(Variant(-3.5f)), -4);
}

TEST(Convert, valNeighbours) {
    struct Case {
        const char* text;
        double expected;
    } cases[] = {
        {"-1.5E+2", -150},
        {"1 . 5", 1.5},
        {"-.5", -0.5},
        {"&O", 0},
        {"&o8", 0},
        {"&H7FFF", 32767},
        {"&H8000", -32768},
        {"&h1f", 31},
        {"1E-2x", 0.01},
        {"- 3", -3},
        {"--3", 0},
        {"1,5", 1},
        {"&H80000000", -2147483648.0},
        {"+-1", 0},
        {"1d-1", 0.1},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(val(c.text), c.expected) << c.text;
}

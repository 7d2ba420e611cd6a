#include "engine/SqlLiterals.h"
#include "lib/Error.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>

using namespace tabulon;

namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, std::int64_t fraction = 0) {
    DateTime::Parts p;
    p.year = y, p.month = mo, p.day = d, p.hour = h, p.minute = mi, p.second = s, p.fractionTicks = fraction;
    return DateTime::fromParts(p);
}

} // namespace

TEST(SafeString, splicesControlCharactersAndDoublesQuotes) {
    struct Case {
        Variant value;
        const char* unicode;
        const char* plain;
    } cases[] = {
        {Variant("O'Brien"), "N'O''Brien'", "'O''Brien'"},
        {Variant(""), "N''", "''"},
        {Variant::null(), "NULL", "NULL"},
        {Variant("\tx"), "N''+CHAR(9)+N'x'", "''+CHAR(9)+'x'"},
        {Variant("x\n"), "N'x'+CHAR(10)", "'x'+CHAR(10)"},
        {Variant("\r"), "N''+CHAR(13)", "''+CHAR(13)"},
        {Variant("a+'b"), "N'a+''b'", "'a+''b'"},
        {Variant("\r'x"), "N''+CHAR(13)+N'''x'", "''+CHAR(13)+'''x'"},
        {Variant("a\r\nb"), "N'a'+CHAR(13)+CHAR(10)+N'b'", "'a'+CHAR(13)+CHAR(10)+'b'"},
        {Variant(std::string("nul\0inside", 10)), "N'nul'+CHAR(0)+N'inside'", "'nul'+CHAR(0)+'inside'"},
        {Variant("\x01\x07\x1f"), "N''+CHAR(1)+CHAR(7)+CHAR(31)", "''+CHAR(1)+CHAR(7)+CHAR(31)"},
        {Variant("Grüße 表 😀 $(x) ]"), "N'Grüße 表 😀 $(x) ]'", "'Grüße 表 😀 $(x) ]'"},
        {Variant(StringList{"red", "green"}), "N'red; green'", "'red; green'"},
        {Variant(StringList{}), "N''", "''"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SafeString(c.value, true), c.unicode);
        EXPECT_EQ(SafeString(c.value, false), c.plain);
    }
}

// The scanner reads eight bytes at a time: a quote or control character at any offset, next to
// multi-byte UTF-8 characters, must be found, and those characters must never be taken for one.
TEST(SafeString, findsQuotesAndControlsAtEveryOffset) {
    const std::string filler = "aé€😀bcdefghijklmnopq"; // 25 bytes
    EXPECT_EQ(SafeString(Variant(filler), true), "N'" + filler + "'");
    for (std::size_t at = 0; at <= filler.size(); ++at) {
        const std::string before = filler.substr(0, at), after = filler.substr(at);
        if (at > 0 && (static_cast<unsigned char>(filler[at]) & 0xC0) == 0x80)
            continue; // not a character boundary
        EXPECT_EQ(SafeString(Variant(before + "'" + after), true), "N'" + before + "''" + after + "'") << at;
        EXPECT_EQ(SafeString(Variant(before + "\x1f" + after), false),
                  "'" + before + "'+CHAR(31)" + (after.empty() ? "" : "+'" + after + "'"))
            << at;
    }
}

TEST(SafeString, makesTheFirstPieceMaxOnlyWhenASplitTextExceedsTheNonMaxLimit) {
    const std::string n4000(4000, 'a');
    EXPECT_EQ(SafeString(Variant(n4000), true), "N'" + n4000 + "'");
    // Exactly at the limit the concatenation fits: the form stays as it was.
    const std::string at = std::string(3999, 'a') + "\n";
    EXPECT_EQ(SafeString(Variant(at), true), "N'" + std::string(3999, 'a') + "'+CHAR(10)");
    const std::string over = std::string(4000, 'a') + "\nb";
    EXPECT_EQ(SafeString(Variant(over), true),
              "CONVERT(NVARCHAR(MAX), N'" + std::string(4000, 'a') + "')+CHAR(10)+N'b'");
    // Plain literals are limited by bytes: 4001 characters still fit.
    EXPECT_EQ(SafeString(Variant(over), false), "'" + std::string(4000, 'a') + "'+CHAR(10)+'b'");
    const std::string plainOver = std::string(8000, 'a') + "\n";
    EXPECT_EQ(SafeString(Variant(plainOver), false),
              "CONVERT(VARCHAR(MAX), '" + std::string(8000, 'a') + "')+CHAR(10)");
    // N literals count UTF-16 units: 2000 Greek letters (4000 bytes) and a line break fit.
    std::string greek;
    for (int i = 0; i < 2000; ++i)
        greek += "λ";
    EXPECT_EQ(SafeString(Variant(greek + "\n"), true).rfind("N'", 0), 0u);
    // ... while 2000 emoji are 4000 surrogate pairs.
    std::string emoji;
    for (int i = 0; i < 2001; ++i)
        emoji += "😀";
    EXPECT_EQ(SafeString(Variant(emoji + "\n"), true).rfind("CONVERT(NVARCHAR(MAX), N'", 0), 0u);
}

TEST(SafeNumber, writesInvariantShortestRoundTripText) {
    struct Case {
        Variant value;
        const char* expected;
    } cases[] = {
        {Variant(-12.5), "-12.5"},
        {Variant(7), "7"},
        {Variant::null(), "NULL"},
        {Variant(0.1), "0.1"},
        {Variant(0.0001), "0.0001"},
        {Variant(0.00001), "1E-05"},
        {Variant(1.5e-7), "1.5E-07"},
        {Variant(1e20), "1E+20"},
        {Variant(123456789012345.0), "123456789012345"},
        {Variant(1e15), "1E+15"},
        {Variant(-0.0), "-0"},
        {Variant(0.30000000000000004), "0.30000000000000004"},
        {Variant(-std::numeric_limits<double>::max()), "-1.7976931348623157E+308"},
        {Variant(4.9406564584124654e-324), "5E-324"},
        {Variant(0.1f), "0.1"},
        {Variant(1234567.0f), "1234567"},
        {Variant(1e7f), "1E+07"},
        // The shortest text of the largest Single is above REAL's maximum; the next one down is not.
        {Variant(std::numeric_limits<float>::max()), "3.40282347E+38"},
        {Variant(-std::numeric_limits<float>::max()), "-3.40282347E+38"},
        {Variant(std::nextafter(std::numeric_limits<float>::max(), 0.0f)), "3.4028233E+38"},
        {Variant(16777217.0), "16777217"},
        {Variant(static_cast<long long>(-9223372036854775807LL - 1)), "-9223372036854775808"},
        {Variant(Decimal::fromScaledInteger(-9223372036854775807LL - 1, 4)), "-922337203685477.5808"},
        {Variant(Decimal::fromScaledInteger(125000, 4)), "12.5"},
        {Variant(Decimal::fromScaledInteger(0, 4)), "0"},
        {Variant(Decimal::fromScaledInteger(1, 4)), "0.0001"},
        {Variant(Decimal::fromScaledInteger(-500, 4)), "-0.05"},
        {Variant(Decimal::fromScaledInteger(1200, 0)), "1200"},
        {Variant(Decimal{0, 0, 4, true}), "0"},
        // 28 digits need the high word: -9999999999999999999999999999 with 10 decimal places.
        {Variant(Decimal{0x204FCE5E, 0x3E2502610FFFFFFF, 10, true}), "-999999999999999999.9999999999"},
        {Variant(true), "-1"},
        {Variant(" 2.50 "), "2.5"},
        {Variant("12; DROP TABLE x"), "NULL"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafeNumber(c.value), c.expected) << c.expected;
}

TEST(SafeNumber, floatingTextReadsBackAsTheSameValue) {
    for (double d : {1.0 / 3, 2.0 / 3, 123.456, 9.87654321e-123, 6.02214076e23, 1.7976931348623157e308}) {
        const std::string text = SafeNumber(Variant(d));
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, d) << text;
    }
    for (float f : {1.0f / 3, 0.7f, 1.17549435e-38f, 16777216.0f, std::numeric_limits<float>::max()}) {
        const std::string text = SafeNumber(Variant(f));
        float back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, f) << text;
    }
}

TEST(SafeNumber, nanAndInfinityBecomeNullAndAreFlagged) {
    for (double d : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        std::string out;
        EXPECT_FALSE(appendSafeNumber(out, Variant(d)));
        EXPECT_EQ(out, "NULL");
        out.clear();
        EXPECT_FALSE(appendSafeNumber(out, Variant(static_cast<float>(d))));
        EXPECT_EQ(out, "NULL");
    }
    std::string out;
    EXPECT_TRUE(appendSafeNumber(out, Variant::null()));
}

// ISO 8601 with a T reads the same under every session language (a space makes DATETIME read
// year-day-month under British English, German or French); the fraction appears only when the value
// has one, to the millisecond for DATETIME and to 100 ns for DATETIME2.
TEST(SafeDate, writesIsoWithTheFractionTheColumnHolds) {
    using D = DateColumn;
    struct Case {
        Variant value;
        const char* dateTime;
        const char* dateTime2;
    } cases[] = {
        {Variant(at(2009, 3, 7, 14, 5, 9)), "'2009-03-07T14:05:09'", "'2009-03-07T14:05:09'"},
        {Variant(at(2024, 1, 13)), "'2024-01-13T00:00:00'", "'2024-01-13T00:00:00'"},
        {Variant(at(1899, 12, 30, 14, 5, 9)), "'1899-12-30T14:05:09'", "'1899-12-30T14:05:09'"},
        {Variant(at(2024, 1, 1, 12, 34, 56, 9'990'000)), "'2024-01-01T12:34:56.999'", "'2024-01-01T12:34:56.999'"},
        {Variant(at(2024, 1, 1, 0, 0, 0, 1'230'000)), "'2024-01-01T00:00:00.123'", "'2024-01-01T00:00:00.123'"},
        {Variant(at(2024, 1, 1, 0, 0, 0, 1'234'567)), "'2024-01-01T00:00:00.123'", "'2024-01-01T00:00:00.1234567'"},
        {Variant(at(2024, 1, 1, 0, 0, 0, 1'235'000)), "'2024-01-01T00:00:00.124'", "'2024-01-01T00:00:00.1235'"},
        {Variant(at(2024, 1, 1, 0, 0, 0, 5'000)), "'2024-01-01T00:00:00.001'", "'2024-01-01T00:00:00.0005'"},
        {Variant(at(2024, 1, 1, 0, 0, 0, 4'999)), "'2024-01-01T00:00:00'", "'2024-01-01T00:00:00.0004999'"},
        {Variant(at(2024, 1, 1, 0, 0, 0, 1)), "'2024-01-01T00:00:00'", "'2024-01-01T00:00:00.0000001'"},
        // Rounding to the millisecond carries through the seconds, minutes, hours, days and months.
        {Variant(at(2024, 12, 31, 23, 59, 59, 9'999'500)), "'2025-01-01T00:00:00'", "'2024-12-31T23:59:59.99995'"},
        {Variant(at(2024, 2, 28, 23, 59, 59, 9'999'999)), "'2024-02-29T00:00:00'", "'2024-02-28T23:59:59.9999999'"},
        {Variant(DateTime::fromOleDate(45000.5 + 0.25 / 86400)), "'2023-03-15T12:00:00.250'",
         "'2023-03-15T12:00:00.250'"},
        {Variant(at(100, 1, 1)), "'0100-01-01T00:00:00'", "'0100-01-01T00:00:00'"},
        {Variant(at(9999, 12, 31, 23, 59, 59)), "'9999-12-31T23:59:59'", "'9999-12-31T23:59:59'"},
        // Beyond any SQL Server type, but written whole rather than cut to four digits.
        {Variant(at(12345, 1, 2, 3, 4, 5, 60'000)), "'12345-01-02T03:04:05.006'", "'12345-01-02T03:04:05.006'"},
        {Variant::null(), "NULL", "NULL"},
        {Variant("not a date"), "'1899-12-30T00:00:00'", "'1899-12-30T00:00:00'"},
        {Variant(1.5), "'1899-12-31T12:00:00'", "'1899-12-31T12:00:00'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SafeDate(c.value, D::DateTime), c.dateTime) << c.dateTime2;
        EXPECT_EQ(SafeDate(c.value, D::DateTime2), c.dateTime2);
    }
}

TEST(SafeBlob, writesHexOrFallsBackAndEnforcesTheLimit) {
    EXPECT_EQ(SafeBlob(Variant(Bytes{0, 171}), false, false), "0x00AB");
    EXPECT_EQ(SafeBlob(Variant(Bytes{0x0A, 0xFF}), false, false), "0x0AFF");
    EXPECT_EQ(SafeBlob(Variant(Bytes{}), false, false), "0x");
    EXPECT_EQ(SafeBlob(Variant(Bytes{}), false, true), "0x");
    EXPECT_EQ(SafeBlob(Variant::null(), false, true), "0x00");
    EXPECT_EQ(SafeBlob(Variant("text"), false, false), "NULL");

    const std::string atLimit = SafeBlob(Variant(Bytes(kMaxBlobSize, 0x5A)), false, false);
    EXPECT_EQ(atLimit.size(), 1000002u);
    EXPECT_EQ(atLimit.substr(0, 6), "0x5A5A");

    const Variant over(Bytes(kMaxBlobSize + 1, 1));
    EXPECT_EQ(SafeBlob(over, true, false), "NULL");
    EXPECT_EQ(SafeBlob(over, true, true), "0x00");
    try {
        SafeBlob(over, false, false);
        ADD_FAILURE() << "no error for 500001 bytes";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 1003);
        EXPECT_EQ(e.description(), "The maximum blob size of 500000 bytes was exceeded by a blob of 500001 bytes. "
                                   "There is an advanced option to ignore BLOBs that are too large.");
    }
}

TEST(SafeName, bracketsAndDoublesClosingBrackets) {
    EXPECT_EQ(SafeTableName("Order Details"), "[Order Details]");
    EXPECT_EQ(SafeTableName("Odd]Name"), "[Odd]]Name]");
    EXPECT_EQ(SafeFieldName("a]]b[c"), "[a]]]]b[c]");
    EXPECT_EQ(SafeFieldName("x]; DROP TABLE y; --"), "[x]]; DROP TABLE y; --]");
    EXPECT_EQ(SafeFieldName(""), "[]");
}

// A concatenation of non-MAX pieces is cut at 4000 UTF-16 units (8000 bytes plain) without an error:
// one unit past the limit must already start with the MAX piece.
TEST(SafeString, theMaxPieceStartsOneUnitPastTheLimit) {
    const auto startsMax = [](const std::string& text, bool unicode) {
        return SafeString(Variant(text), unicode)
                   .rfind(unicode ? "CONVERT(NVARCHAR(MAX), " : "CONVERT(VARCHAR(MAX), ", 0) == 0;
    };
    EXPECT_TRUE(startsMax(std::string(4000, 'a') + "\n", true));
    EXPECT_FALSE(startsMax(std::string(3999, 'a') + "\n", true));
    EXPECT_TRUE(startsMax(std::string(3999, 'a') + "\nb", true));
    // A doubled quote is one character on the server.
    EXPECT_FALSE(startsMax(std::string(3998, 'a') + "'\n", true));
    EXPECT_TRUE(startsMax(std::string(3999, 'a') + "'\n", true));
    // A control character first: the empty first piece is the MAX one.
    EXPECT_EQ(SafeString(Variant("\n" + std::string(4000, 'a')), true),
              "CONVERT(NVARCHAR(MAX), N'')+CHAR(10)+N'" + std::string(4000, 'a') + "'");
    // Surrogate pairs count two units each.
    std::string emoji;
    for (int i = 0; i < 2000; ++i)
        emoji += "😀";
    EXPECT_TRUE(startsMax(emoji + "\n", true));
    EXPECT_FALSE(startsMax(emoji.substr(4) + "a\n", true));
    // Plain literals at their 8000-byte edge.
    EXPECT_FALSE(startsMax(std::string(7999, 'a') + "\n", false));
    EXPECT_TRUE(startsMax(std::string(8000, 'a') + "\n", false));
    EXPECT_FALSE(startsMax(std::string(8000, 'a'), false));
}

TEST(SafeNumber, neighboursOfTheFormatEdges) {
    struct Case {
        Variant value;
        const char* expected;
    } cases[] = {
        {Variant(-0.0001), "-0.0001"},
        {Variant(-0.00001), "-1E-05"},
        {Variant(-1e15), "-1E+15"},
        {Variant(999999999999999.0), "999999999999999"},
        {Variant(-123456789012345.0), "-123456789012345"},
        {Variant(9999999.0f), "9999999"},
        {Variant(-1e7f), "-1E+07"},
        {Variant(-0.1f), "-0.1"},
        {Variant(1e-5f), "1E-05"},
        {Variant(static_cast<long long>(9223372036854775807LL)), "9223372036854775807"},
        {Variant(-7), "-7"},
        {Variant(false), "0"},
        {Variant(Decimal::fromScaledInteger(9223372036854775807LL, 4)), "922337203685477.5807"},
        {Variant(Decimal::fromScaledInteger(-1, 4)), "-0.0001"},
        {Variant(Decimal::fromScaledInteger(-10000, 4)), "-1"},
        {Variant("-2.50"), "-2.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafeNumber(c.value), c.expected) << c.expected;
}

#include "lib/Decimal.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tabulon;

TEST(Decimal, currencyKeepsAllFourPlaces) {
    EXPECT_EQ(Decimal::fromScaledInteger(123400, 4).toString(), "12.3400");
    EXPECT_EQ(Decimal::fromScaledInteger(-500, 4).toString(), "-0.0500");
    EXPECT_EQ(Decimal::fromScaledInteger(0, 4).toString(), "0.0000");
    EXPECT_EQ(Decimal::fromScaledInteger(7, 0).toString(), "7");
}

TEST(Decimal, currencyExtremesAreExact) {
    EXPECT_EQ(Decimal::fromScaledInteger(std::numeric_limits<std::int64_t>::min(), 4).toString(),
              "-922337203685477.5808");
    EXPECT_EQ(Decimal::fromScaledInteger(std::numeric_limits<std::int64_t>::max(), 4).toString(),
              "922337203685477.5807");
}

TEST(Decimal, shortFormDropsTrailingZeros) {
    EXPECT_EQ(Decimal::fromScaledInteger(123400, 4).toShortString(), "12.34");
    EXPECT_EQ(Decimal::fromScaledInteger(120000, 4).toShortString(), "12");
    EXPECT_EQ(Decimal::fromScaledInteger(-500, 4).toShortString(), "-0.05");
    EXPECT_EQ(Decimal::fromScaledInteger(100, 0).toShortString(), "100");
}

TEST(Decimal, twentyEightDigitsUseTheHighWord) {
    // 10^28 - 1 = 0x204FCE5E3E25026110000000 - 1
    Decimal d;
    d.high = 0x204FCE5EULL;
    d.low = 0x3E25026110000000ULL - 1;
    d.negative = true;
    EXPECT_EQ(d.toString(), "-9999999999999999999999999999");
    d.scale = 10;
    EXPECT_EQ(d.toString(), "-999999999999999999.9999999999");
}

TEST(Decimal, negativeZeroPrintsWithoutSign) {
    Decimal d;
    d.negative = true;
    d.scale = 2;
    EXPECT_EQ(d.toString(), "0.00");
}

TEST(Decimal, toDoubleRoundsCorrectly) {
    Decimal d = Decimal::fromScaledInteger(102030405060654321LL, 6);
    EXPECT_EQ(d.toDouble(), 102030405060.654321);
}

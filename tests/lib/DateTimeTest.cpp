#include "lib/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tabulon;

namespace {
DateTime make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    DateTime::Parts p;
    p.year = y, p.month = mo, p.day = d, p.hour = h, p.minute = mi, p.second = s;
    p.fractionTicks = ms * 10'000LL;
    return DateTime::fromParts(p);
}
} // namespace

TEST(DateTime, oleEpochIsDayZero) {
    EXPECT_EQ(DateTime::fromOleDate(0.0), make(1899, 12, 30));
    EXPECT_EQ(DateTime::oleZero().toIsoSeconds(), "1899-12-30 00:00:00");
}

TEST(DateTime, negativeOleDatesKeepTimeOfDayAsMagnitude) {
    // -1.25 is 1899-12-29 06:00, not 1899-12-28 18:00.
    EXPECT_EQ(DateTime::fromOleDate(-1.25), make(1899, 12, 29, 6));
    EXPECT_EQ(DateTime::fromOleDate(-0.5), make(1899, 12, 30, 12));
    EXPECT_EQ(make(1899, 12, 29, 6).toOleDate(), -1.25);
}

TEST(DateTime, farDatesConvertBothWays) {
    for (auto date : {make(100, 1, 1), make(1600, 2, 29, 18, 30), make(1752, 9, 13), make(9999, 12, 31, 23, 59, 59),
                      make(2024, 1, 1, 12, 34, 56, 789), make(1392, 1, 10)}) {
        EXPECT_EQ(DateTime::fromOleDate(date.toOleDate()), date) << date.toIsoMilliseconds();
    }
}

TEST(DateTime, formatsWithPadding) {
    EXPECT_EQ(make(2009, 3, 7, 14, 5, 9).toIsoSeconds(), "2009-03-07 14:05:09");
    EXPECT_EQ(make(100, 1, 1).toIsoMilliseconds(), "0100-01-01 00:00:00.000");
    EXPECT_EQ(make(2024, 1, 1, 12, 34, 56, 789).toIsoMilliseconds(), "2024-01-01 12:34:56.789");
    // The parts' own text takes the separator and the fields as given: a clock's leap second stays.
    EXPECT_EQ((DateTime::Parts{2016, 12, 31, 23, 59, 60}.isoText('T')), "2016-12-31T23:59:60");
    EXPECT_EQ((DateTime::Parts{12345, 6, 7, 8, 9, 1, 5'000'000}.isoText(' ')), "12345-06-07 08:09:01");
}

TEST(DateTime, partsRoundTripBeforeYearOne) {
    DateTime::Parts p = make(1, 1, 1).parts();
    EXPECT_EQ(p.year, 1);
    EXPECT_EQ(make(1, 1, 1).ticks, 0);
}

TEST(DateTime, oleValuesBeyondTheTicksGiveDayZero) {
    for (double wild : {1e300, -1e300, 1e7, -2e7, std::nan("")})
        EXPECT_EQ(DateTime::fromOleDate(wild), DateTime::oleZero()) << wild;
    EXPECT_EQ(DateTime::fromOleDate(2958465.5).parts().year, 9999);
}

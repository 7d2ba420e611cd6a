#pragma once

#include <cstdint>
#include <string>

namespace tabulon {

// A calendar date and time in the proleptic Gregorian calendar, exact to 100 ns: the number of
// 100-ns ticks since 0001-01-01 00:00:00. It holds both Access Date/Time (days as a double) and
// Date/Time Extended (ticks) without loss.
struct DateTime {
    static constexpr std::int64_t kTicksPerSecond = 10'000'000;
    static constexpr std::int64_t kTicksPerDay = 86'400 * kTicksPerSecond;

    std::int64_t ticks = 0;

    struct Parts {
        int year = 1, month = 1, day = 1, hour = 0, minute = 0, second = 0;
        std::int64_t fractionTicks = 0; // below one second

        // "YYYY-MM-DD", `separator`, "hh:mm:ss" of the fields as they stand (none is normalised, the
        // fraction is left out); a year beyond 9999 is written whole.
        std::string isoText(char separator) const;
    };

    static DateTime fromParts(const Parts& parts);
    Parts parts() const;

    // Access/OLE date: days since 1899-12-30; the integer part is the signed day, the fraction the
    // time of day whatever the sign (-1.25 is 1899-12-29 06:00). Rounded to the millisecond as Access does.
    // A value that is not finite or lies beyond ten million days gives day zero.
    static DateTime fromOleDate(double oleDate);
    double toOleDate() const;
    // Day zero of the Access date system, 1899-12-30 00:00:00.
    static DateTime oleZero();

    // "YYYY-MM-DD hh:mm:ss" and "YYYY-MM-DD hh:mm:ss.fff".
    std::string toIsoSeconds() const;
    std::string toIsoMilliseconds() const;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

} // namespace tabulon

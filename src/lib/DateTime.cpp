#include "DateTime.h"

#include <cmath>
#include <cstdio>

namespace tabulon {

namespace {

// Days from 0001-01-01 to the given civil date (Howard Hinnant's algorithm, shifted to year 1).
std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468 + 719162;
}

void civilFromDays(std::int64_t days, int& y, int& m, int& d) {
    days += 719468 - 719162;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const std::int64_t kOleEpochDays = daysFromCivil(1899, 12, 30);

} // namespace

DateTime DateTime::fromParts(const Parts& p) {
    const std::int64_t days = daysFromCivil(p.year, p.month, p.day);
    const std::int64_t seconds = p.hour * 3600LL + p.minute * 60LL + p.second;
    return DateTime{days * kTicksPerDay + seconds * kTicksPerSecond + p.fractionTicks};
}

DateTime::Parts DateTime::parts() const {
    std::int64_t days = ticks / kTicksPerDay;
    std::int64_t rest = ticks % kTicksPerDay;
    if (rest < 0) {
        rest += kTicksPerDay;
        --days;
    }
    Parts p;
    civilFromDays(days, p.year, p.month, p.day);
    const std::int64_t seconds = rest / kTicksPerSecond;
    p.fractionTicks = rest % kTicksPerSecond;
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    return p;
}

DateTime DateTime::fromOleDate(double oleDate) {
    // Beyond about 29,000 years the ticks no longer fit; such a value is no date at all.
    if (!std::isfinite(oleDate) || std::fabs(oleDate) >= 10'000'000.0)
        return oleZero();
    const double dayPart = std::trunc(oleDate);
    const double timePart = std::fabs(oleDate - dayPart);
    const std::int64_t millis = std::llround(timePart * 86'400'000.0);
    const std::int64_t days = kOleEpochDays + static_cast<std::int64_t>(dayPart);
    return DateTime{days * kTicksPerDay + millis * 10'000};
}

double DateTime::toOleDate() const {
    std::int64_t days = ticks / kTicksPerDay;
    std::int64_t rest = ticks % kTicksPerDay;
    if (rest < 0) {
        rest += kTicksPerDay;
        --days;
    }
    const double dayNumber = static_cast<double>(days - kOleEpochDays);
    const double fraction = static_cast<double>(rest) / static_cast<double>(kTicksPerDay);
    // Before the epoch the time of day is stored as a positive fraction below a negative day.
    return dayNumber < 0 ? dayNumber - fraction : dayNumber + fraction;
}

DateTime DateTime::oleZero() {
    return DateTime{kOleEpochDays * kTicksPerDay};
}

std::string DateTime::Parts::isoText(char separator) const {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d%c%02d:%02d:%02d", year, month, day, separator, hour, minute,
                  second);
    return buffer;
}

std::string DateTime::toIsoSeconds() const {
    return parts().isoText(' ');
}

std::string DateTime::toIsoMilliseconds() const {
    const Parts p = parts();
    char milliseconds[16];
    std::snprintf(milliseconds, sizeof milliseconds, ".%03d", static_cast<int>(p.fractionTicks / 10'000));
    return p.isoText(' ') + milliseconds;
}

} // namespace tabulon

// The date-time literal of the record path, as ratios measured in one run: a million values (whole
// seconds, milliseconds and 100-ns ticks mixed) written into one reused buffer, against appending a
// fixed literal of the same length. The literal must stay linear and allocation-free per value.
#include "BenchSupport.h"
#include "engine/SqlLiterals.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace tabulon;
using tabulon::bench::bestSeconds;

namespace {

// Days 1900 to 2100; a third whole seconds, a third whole milliseconds, a third any 100-ns tick.
std::vector<Variant> dateValues(std::size_t count) {
    std::mt19937_64 random(1);
    const std::int64_t first = DateTime::fromParts({1900, 1, 1}).ticks;
    const std::int64_t span = DateTime::fromParts({2100, 1, 1}).ticks - first;
    std::vector<Variant> values;
    values.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::int64_t ticks = first + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(span));
        if (i % 3 == 0)
            ticks -= ticks % DateTime::kTicksPerSecond;
        else if (i % 3 == 1)
            ticks -= ticks % 10'000;
        values.emplace_back(DateTime{ticks});
    }
    return values;
}

volatile std::size_t sink;

} // namespace

int main() {
    constexpr std::size_t kValues = 1 << 20;
    const std::vector<Variant> values = dateValues(kValues);
    const std::string fixed = "'2024-03-04T10:20:30.123'";
    std::string buffer;
    buffer.reserve(64);
    const double copySeconds = bestSeconds([&] {
        for (std::size_t v = 0; v < kValues; ++v) {
            buffer.clear();
            buffer.append(fixed);
            sink = buffer.size();
        }
    });
    for (const DateColumn column : {DateColumn::DateTime, DateColumn::DateTime2}) {
        const double dateSeconds = bestSeconds([&] {
            for (const Variant& value : values) {
                buffer.clear();
                appendSafeDate(buffer, value, column);
                sink = buffer.size();
            }
        });
        std::printf("date literal into %-9s of %zu values: %.1f ns per value, %.1fx appending a fixed literal\n",
                    column == DateColumn::DateTime ? "DATETIME" : "DATETIME2", kValues, dateSeconds * 1e9 / kValues,
                    dateSeconds / copySeconds);
    }
    return 0;
}

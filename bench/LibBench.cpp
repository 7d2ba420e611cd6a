// Throughput of the support library's text paths, as ratios measured in one run:
// UTF-16 decoding against a plain copy of the same bytes, and the settings reader and the list
// splitter at ten times the input, which should take about ten times as long (linear time).
#include "BenchSupport.h"
#include "lib/Ini.h"
#include "lib/Unicode.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace tabulon;
using tabulon::bench::bestSeconds;

namespace {

// Sections of twenty keys each, as many settings files appended into one.
std::string iniText(int sections) {
    std::string text;
    for (int s = 0; s < sections; ++s) {
        text += "[Section " + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 20; ++k)
            text += "  key" + std::to_string(k) + "=C:\\data\\some file " + std::to_string(s) + ".mdb\r\n";
    }
    return text;
}

std::string listText(int items) {
    StringList list;
    for (int i = 0; i < items; ++i)
        list.push_back("Orders\\Field \"" + std::to_string(i) + "\"");
    return JoinQuotedList(list);
}

volatile std::size_t sink;

} // namespace

int main() {
    // Text values as a row cursor decodes them: 32 UTF-16 code units each, mostly Latin with some
    // accented letters, into one reused buffer; against appending the same bytes unchanged.
    constexpr std::size_t kUnits = 32, kValues = 1 << 20;
    std::vector<std::uint8_t> utf16;
    for (std::size_t i = 0; i < kUnits * kValues; ++i) {
        const char16_t unit = i % 11 == 0 ? u'\u00E9' : static_cast<char16_t>('a' + i % 26);
        utf16.push_back(static_cast<std::uint8_t>(unit));
        utf16.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    std::string buffer;
    const double copySeconds = bestSeconds([&] {
        for (std::size_t v = 0; v < kValues; ++v) {
            buffer.clear();
            buffer.append(reinterpret_cast<const char*>(utf16.data() + v * kUnits * 2), kUnits * 2);
            sink = buffer.size();
        }
    });
    const double decodeSeconds = bestSeconds([&] {
        for (std::size_t v = 0; v < kValues; ++v) {
            buffer.clear();
            appendUtf16AsUtf8(buffer, utf16.data() + v * kUnits * 2, kUnits * 2, false);
            sink = buffer.size();
        }
    });
    std::printf("UTF-16 decode of %zu values: %.1f ns per value, %.1fx appending the raw bytes\n", kValues,
                decodeSeconds * 1e9 / kValues, decodeSeconds / copySeconds);

    const std::string smallIni = iniText(1000), largeIni = iniText(10000);
    const double smallIniSeconds = bestSeconds([&] { sink = ParseIniText(smallIni)->count(); });
    const double largeIniSeconds = bestSeconds([&] { sink = ParseIniText(largeIni)->count(); });
    std::printf("settings reader, 210000 vs 21000 lines: %.1fx the time (%.1f ms for the large file)\n",
                largeIniSeconds / smallIniSeconds, largeIniSeconds * 1e3);

    const std::string smallList = listText(50000), largeList = listText(500000);
    const double smallListSeconds = bestSeconds([&] { sink = SplitQuotedList(smallList).size(); });
    const double largeListSeconds = bestSeconds([&] { sink = SplitQuotedList(largeList).size(); });
    std::printf("list splitter, 500000 vs 50000 items: %.1fx the time (%.1f ms for the long list)\n",
                largeListSeconds / smallListSeconds, largeListSeconds * 1e3);
    return 0;
}

// What the unattended run's progress line on a terminal costs the record path: the record transfer
// calls setProgress once every ten records; this times those calls through the terminal line
// (drawn into /dev/null, as fast as a terminal could take it) against the quiet progress of a run
// into a pipe, as a ratio measured in one run.
//
// Usage: progress_bench [CALLS]     (default 5,000,000 calls, i.e. 50 million records)
#include "BenchSupport.h"
#include "settings/TerminalProgress.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace tabulon;

namespace {

double secondsFor(Progress& progress, long calls) {
    const auto start = std::chrono::steady_clock::now();
    progress.addStatusLine("Table: Orders");
    progress.startProgress("PROGRESS", 0, static_cast<int>(calls * 10));
    const std::string caption = "shop.mdb - Orders -> shop";
    for (long call = 1; call <= calls; ++call)
        progress.setProgress(caption, static_cast<int>(call * 10));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const long calls = argc > 1 ? std::max(1L, std::atol(argv[1])) : 5000000L;
    std::FILE* terminal = std::fopen("/dev/null", "w");
    if (!terminal)
        return 1;
    bench::QuietProgress quiet;
    const double bare = secondsFor(quiet, calls);
    double drawn = 0;
    {
        TerminalProgress line(quiet, terminal, 80);
        line.setTables({"Customers", "Orders"});
        drawn = secondsFor(line, calls);
    }
    std::fclose(terminal);
    std::printf("setProgress calls: %ld (one per 10 records)\n", calls);
    std::printf("quiet progress:    %.3f s, %.1f ns per call\n", bare, bare * 1e9 / static_cast<double>(calls));
    std::printf("terminal line:     %.3f s, %.1f ns per call, %.2f ns per record\n", drawn,
                drawn * 1e9 / static_cast<double>(calls), drawn * 1e9 / static_cast<double>(calls) / 10);
    std::printf("ratio terminal/quiet: %.2f\n", drawn / bare);
    return 0;
}

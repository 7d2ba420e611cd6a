// What the unattended run adds to a conversion: the whole `tabulon -autorun` process (Qt on the
// offscreen platform, the dependency check, the per-user store, the log written entry by entry, the
// headless form polling for an interrupt) against engine_bench's bare conversion of the same table,
// as ratios measured in one run. Both write the same statements (the dump headers list different
// options); the dump sizes are printed to show it.
//
// Usage: unattended_bench FILE [TABLE] [ROUNDS]     (default table Bench, 3 rounds, best of each)
#include "BenchSupport.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace tabulon::bench;

namespace {

// The options engine_bench's conversion uses, so both runs write the same statements.
void writeSettings(const std::string& path, const std::string& file, const std::string& table,
                   const std::string& dump) {
    std::ofstream(path, std::ios::binary) << "[Verdix Tessoral]\r\n"
                                          << "  sourcefilename=" << file << "\r\n"
                                          << "  destinationmethod=DUMP\r\n"
                                          << "  destinationdatabase=Bench\r\n"
                                          << "  destinationdumpfilename=" << dump << "\r\n"
                                          << "  sourcetables[]=\"" << table << "\"\r\n"
                                          << "  dropdatabase=1\r\n  columnlist=0\r\n";
}

Measure best(const std::vector<Measure>& runs) {
    return *std::min_element(runs.begin(), runs.end(),
                             [](const Measure& a, const Measure& b) { return a.seconds < b.seconds; });
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "Usage: unattended_bench FILE [TABLE] [ROUNDS]\n");
        return 2;
    }
    const std::string file = std::filesystem::absolute(argv[1]).string();
    const std::string table = argc > 2 ? argv[2] : "Bench";
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "tabulon-unattended-bench";
    std::filesystem::create_directories(scratch);
    const std::string engineDump = (scratch / "engine.sql").string(),
                      unattendedDump = (scratch / "tabulon.sql").string();
    const std::string settings = (scratch / "run.ini").string();
    writeSettings(settings, file, table, unattendedDump);
    setenv("APPDATA", scratch.c_str(), 1);
    setenv("TEMP", scratch.c_str(), 1);
    setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::filesystem::path runtime = scratch / "runtime"; // Qt asks for a private one
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

    std::vector<Measure> engine, unattended;
    for (int round = 0; round < rounds; ++round) { // interleaved, so load on the machine hits both alike
        engine.push_back(runChild({ENGINE_BENCH, "--convert", file, table, engineDump}));
        unattended.push_back(runChild({TABULON, "-autorun", "-hide", "-settings=" + settings}));
        if (engine.back().status != 0 || unattended.back().status != 0) {
            std::fprintf(stderr, "a conversion failed (engine %d, tabulon %d)\n", engine.back().status,
                         unattended.back().status);
            return 1;
        }
    }
    const Measure e = best(engine), u = best(unattended);
    std::printf("table %s, best of %d\n", table.c_str(), rounds);
    std::printf("engine_bench --convert : wall %.3f s  cpu %.3f s  dump %ju bytes\n", e.seconds, e.cpuSeconds,
                std::filesystem::file_size(engineDump));
    std::printf("tabulon -autorun       : wall %.3f s  cpu %.3f s  dump %ju bytes\n", u.seconds, u.cpuSeconds,
                std::filesystem::file_size(unattendedDump));
    std::printf("ratio tabulon/engine   : wall %.3f  cpu %.3f\n", u.seconds / e.seconds, u.cpuSeconds / e.cpuSeconds);
    return 0;
}

// Converting one large table to a dump, against mdbtools' own `mdb-export -I mysql` over the same
// table, as ratios measured in one run. Each conversion runs in a child process of its own so that
// its peak resident memory is its own; converting a table of 100,000 and one of 450,000 rows shows
// whether the peak grows with the table.
//
// Usage: engine_bench FILE [TABLE...]     (default tables: Bench100k Bench)
//        engine_bench --convert FILE TABLE DUMP   (one conversion; used by the first form)
#include "BenchSupport.h"
#include "engine/ConversionRun.h"
#include "lib/Error.h"
#include "source/AccessDatabase.h"
#include "source/SchemaScanner.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace tabulon;
using namespace tabulon::bench;

namespace {

// The run the wizard would make for one table under the default options.
int convert(const std::string& file, const std::string& table, const std::string& dump) {
    QuietProgress progress;
    const auto database = AccessDatabase::open({file, "", "", ""});
    const auto schema = buildSchemaDocument(*database, readColumnSchema(*database), nullptr);

    Dictionary settings;
    const DictionaryPtr s = Dictionary::create();
    s->set("sourcefilename", file);
    s->set("destinationmethod", "DUMP");
    s->set("destinationdatabase", "Bench");
    s->set("destinationdumpfilename", dump);
    for (const char* on : {"dropdatabase", "createtables", "unicode", "transferdefaultvalues", "transferindexes",
                           "transferautonumbers", "transferrecords"})
        s->set(on, 1);
    s->set("datetimetype", "DATETIME2");
    // The table and every field, as the wizard lists a fully checked table: its keys come along.
    StringList selection{table};
    for (const pugi::xpath_node& field : schema->select_nodes("*/Tables/Table/Fields/Field"))
        if (std::string(field.node().parent().parent().child("Name").text().get()) == table)
            selection.push_back(table + "\\" + field.node().child("Name").text().get());
    s->set("sourcetables", selection);
    settings.set(kSettingsSection, s);

    RunFlags flags;
    ConversionContext context{progress, flags, schema.get(),
                              [](const SourceCredentials& credentials) { return AccessDatabase::open(credentials); }};
    std::string report;
    const RunResult result = MoveData2MySql(settings, report, context);
    if (result != RunResult::Completed || report.find("Error") != std::string::npos) {
        std::fprintf(stderr, "%s", report.c_str());
        return 1;
    }
    return 0;
}

double mebibytes(std::uintmax_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

int compare(const std::string& self, const std::string& file, const std::vector<std::string>& tables) {
    const std::string folder = std::filesystem::path(file).parent_path().string();
    std::printf("%-10s %8s | %-36s | %-22s | %s\n", "", "", "tabulon to dump", "mdb-export -I mysql", "speedup");
    std::printf("%-10s %8s | %6s %6s %8s %6s %7s | %6s %6s %7s | %5s %5s\n", "table", "rows", "wall", "cpu", "rows/s",
                "MB/s", "peakMiB", "wall", "cpu", "peakMiB", "wall", "cpu");
    for (const std::string& table : tables) {
        const auto database = AccessDatabase::open({file, "", "", ""});
        const std::int64_t rows = database->rowCount(table);
        const std::string dump = folder + "/" + table + ".sql";
        const std::string exported = folder + "/" + table + ".mdb-export.sql";
        const Measure ours = runChild({self, "--convert", file, table, dump}, "");
        const Measure theirs = runChild({"mdb-export", "-I", "mysql", file, table}, exported);
        if (ours.status != 0 || theirs.status != 0) {
            std::fprintf(stderr, "a conversion failed (tabulon %d, mdb-export %d)\n", ours.status, theirs.status);
            return 1;
        }
        const double megabytes = static_cast<double>(std::filesystem::file_size(dump)) / 1e6;
        std::printf("%-10s %8lld | %5.2fs %5.2fs %8.0f %6.1f %7.1f | %5.2fs %5.2fs %7.1f | %4.1fx %4.1fx\n",
                    table.c_str(), static_cast<long long>(rows), ours.seconds, ours.cpuSeconds,
                    static_cast<double>(rows) / ours.seconds, megabytes / ours.seconds,
                    static_cast<double>(ours.peakKiB) / 1024.0, theirs.seconds, theirs.cpuSeconds,
                    static_cast<double>(theirs.peakKiB) / 1024.0, theirs.seconds / ours.seconds,
                    theirs.cpuSeconds / ours.cpuSeconds);
        std::printf("%-10s dump %.1f MiB, mdb-export output %.1f MiB\n", "",
                    mebibytes(std::filesystem::file_size(dump)), mebibytes(std::filesystem::file_size(exported)));
        std::filesystem::remove(dump);
        std::filesystem::remove(exported);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 5 && std::strcmp(argv[1], "--convert") == 0)
            return convert(argv[2], argv[3], argv[4]);
        if (argc < 2) {
            std::fprintf(stderr, "Usage: engine_bench FILE [TABLE...]\n");
            return 2;
        }
        std::vector<std::string> tables(argv + 2, argv + argc);
        if (tables.empty())
            tables = {"Bench100k", "Bench"};
        return compare(std::filesystem::read_symlink("/proc/self/exe").string(), argv[1], tables);
    } catch (const Error& error) {
        std::fprintf(stderr, "Error %ld: %s\n", error.number(), error.description().c_str());
        return 1;
    }
}

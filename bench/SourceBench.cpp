// Reads every row and column of Access tables through the forward-only cursor and prints rows/s and peak
// memory; for scale, times mdb-export on the same table in the same run.
//
//   bench_source [--password=P] FILE [TABLE...]     (default tables: Bench100k Bench)
//
// With a password (an encrypted .accdb) the open time includes the password check.

#include "lib/Error.h"
#include "source/AccessDatabase.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Touches every value so that nothing is optimised away; returns a checksum.
std::size_t readAll(tabulon::RowCursor& cursor, std::size_t& rows) {
    std::size_t checksum = 0;
    while (cursor.next()) {
        ++rows;
        for (std::size_t i = 0; i < cursor.columnCount(); ++i) {
            const tabulon::Variant& value = cursor.value(i);
            checksum += static_cast<std::size_t>(value.type());
            if (value.isText())
                checksum += value.text().size();
            else if (value.type() == tabulon::Variant::Type::Bytes)
                checksum += value.bytes().size();
        }
    }
    return checksum;
}

double timeMdbExport(const std::string& file, const std::string& table) {
    const std::string command = "mdb-export '" + file + "' '" + table + "' > /dev/null 2>&1";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return seconds(start);
}

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    std::string password;
    if (argc > 1 && std::string(argv[1]).rfind("--password=", 0) == 0)
        password = std::string(argv[first++]).substr(11);
    if (argc <= first) {
        std::fprintf(stderr, "usage: bench_source [--password=P] FILE [TABLE...]\n");
        return 2;
    }
    const std::string file = argv[first];
    std::vector<std::string> tables;
    for (int i = first + 1; i < argc; ++i)
        tables.emplace_back(argv[i]);
    if (tables.empty())
        tables = {"Bench100k", "Bench"};
    try {
        const auto openStart = Clock::now();
        auto database = tabulon::AccessDatabase::open({file, "", "", password});
        std::printf("open: %.3f s, peak memory %ld KiB\n", seconds(openStart), peakKilobytes());
        for (const auto& table : tables) {
            const auto countStart = Clock::now();
            const std::int64_t counted = database->rowCount(table);
            const double countTime = seconds(countStart);

            auto cursor = database->openCursor(table, {});
            std::size_t rows = 0;
            const auto start = Clock::now();
            const std::size_t checksum = readAll(*cursor, rows);
            const double readTime = seconds(start);
            const double exportTime = password.empty() ? timeMdbExport(file, table) : -1; // mdbtools cannot decrypt
            std::printf("%s: %zu rows, %zu columns; cursor %.3f s = %.0f rows/s; row count %lld in %.3f s; "
                        "peak memory %ld KiB; mdb-export %.3f s = %.0f rows/s (cursor %.1fx faster); checksum %zu\n",
                        table.c_str(), rows, cursor->columnCount(), readTime, rows / readTime,
                        static_cast<long long>(counted), countTime, peakKilobytes(), exportTime,
                        exportTime > 0 ? rows / exportTime : 0.0, exportTime > 0 ? exportTime / readTime : 0.0,
                        checksum);
        }
    } catch (const tabulon::Error& error) {
        std::fprintf(stderr, "Error %ld: %s\n", error.number(), error.description().c_str());
        return 1;
    }
    return 0;
}

// Measures the two ways of handing an encrypted .accdb to libmdb: a decrypted image in memory
// (mdb_open_buffer) and decryption as pages are read (a cookie stream under the handle), against the
// plain file as the baseline. It first builds large encrypted files by encrypting every page of a big
// plain .accdb with the keys of each encrypted fixture, then opens and scans each one in a child
// process so that peak memory is measured per strategy, and prints the ratios of the two.
//
// usage: bench_encrypted_open [<large plain .accdb> <scratch folder> [table]]
// Without arguments it reports only the page decryption throughput of each scheme.
#include "source/Rc4.h"
#include "source/crypto/DecryptingStream.h"
#include "source/crypto/OfficeEncryption.h"

#include <glib.h>
#include <mdbtools.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <ctime>

#include <sys/wait.h>
#include <unistd.h>

using namespace tabulon;

namespace {

constexpr std::size_t PageSize = 4096;

// Times are the process's CPU time (user and system): the build machine is shared, and wall time
// there measures the neighbours as much as this code.
struct Clock {
    using time_point = double;
    static double now() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
    }
};

double secondsSince(double start) {
    return Clock::now() - start;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0).read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

std::vector<std::uint8_t> readPage0(const std::string& path) {
    std::vector<std::uint8_t> page(PageSize);
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(page.data()), PageSize);
    return page;
}

std::uint32_t databaseKeyOf(const std::vector<std::uint8_t>& page0) {
    const std::uint8_t mask[] = {0xC7, 0xDA, 0x39, 0x6B};
    std::vector<std::uint8_t> region(page0.begin() + 0x18, page0.begin() + 0x18 + 128);
    Rc4(mask, sizeof mask).apply(region.data(), region.size());
    std::uint32_t key = 0;
    for (int i = 3; i >= 0; --i)
        key = key << 8 | region[0x3E - 0x18 + i];
    return key;
}

std::unique_ptr<PageCipher> unlock(const std::string& path, const std::string& password) {
    const auto page0 = readPage0(path);
    return unlockEncryptedDatabase(page0, PageSize, databaseKeyOf(page0), password);
}

// The big plain file with the fixture's masked key and encryption information on page 0 and every
// other page encrypted with the fixture's keys.
void makeEncryptedCopy(const std::string& plain, const std::string& fixture, const std::string& password,
                       const std::string& out) {
    auto cipher = unlock(fixture, password);
    const auto fixturePage0 = readPage0(fixture);
    std::ifstream in(plain, std::ios::binary);
    std::ofstream result(out, std::ios::binary | std::ios::trunc);
    std::vector<std::uint8_t> page(PageSize);
    for (std::uint32_t n = 0; in.read(reinterpret_cast<char*>(page.data()), PageSize); ++n) {
        if (n == 0) {
            std::copy_n(fixturePage0.begin() + 0x3E, 4, page.begin() + 0x3E);
            std::copy(fixturePage0.begin() + 0x299, fixturePage0.end(), page.begin() + 0x299);
        } else {
            cipher->encryptPage(n, page.data(), PageSize);
        }
        result.write(reinterpret_cast<const char*>(page.data()), PageSize);
    }
}

void reportThroughput(const std::string& fixture, const std::string& password, const std::string& label) {
    auto cipher = unlock(fixture, password);
    std::vector<std::uint8_t> data(256u << 20, 0x5A);
    const auto start = Clock::now();
    for (std::size_t n = 0; n < data.size() / PageSize; ++n)
        cipher->decryptPage(static_cast<std::uint32_t>(n + 1), data.data() + n * PageSize, PageSize);
    const double seconds = secondsSince(start);
    std::printf("%-34s decrypt %7.0f MB/s\n", label.c_str(), data.size() / 1e6 / seconds);
}

struct Opened {
    MdbHandle* mdb = nullptr;
    std::vector<std::uint8_t> image; // the buffer of mdb_open_buffer, alive until mdb_close
};

Opened openPlain(const std::string& path, const std::string&) {
    return {mdb_open(path.c_str(), MDB_NOFLAGS), {}};
}

Opened openImage(const std::string& path, const std::string& password) {
    Opened opened;
    auto cipher = unlock(path, password);
    opened.image = readFile(path);
    opened.image.resize(opened.image.size() / PageSize * PageSize);
    for (std::size_t n = 1; n < opened.image.size() / PageSize; ++n)
        cipher->decryptPage(static_cast<std::uint32_t>(n), opened.image.data() + n * PageSize, PageSize);
    const std::uint8_t keyZero[] = {0xFB, 0x8A, 0xBC, 0x4E};
    std::copy(std::begin(keyZero), std::end(keyZero), opened.image.begin() + 0x3E);
    opened.mdb = mdb_open_buffer(opened.image.data(), opened.image.size(), MDB_NOFLAGS);
    return opened;
}

Opened openStream(const std::string& path, const std::string& password) {
    FILE* stream = openDecryptingStream(path, unlock(path, password), PageSize);
    Opened opened{mdb_open(path.c_str(), MDB_NOFLAGS), {}};
    std::fclose(opened.mdb->f->stream);
    opened.mdb->f->stream = stream;
    opened.mdb->f->db_key = 0;
    return opened;
}

// Reads every row of `name` with every column bound, as an export would.
long scanTable(MdbHandle* mdb, const std::string& name) {
    MdbTableDef* table = mdb_read_table_by_name(mdb, const_cast<char*>(name.c_str()), MDB_TABLE);
    if (!table)
        return -1;
    mdb_read_columns(table);
    mdb_rewind_table(table);
    std::vector<std::vector<char>> values(table->num_cols, std::vector<char>(MDB_BIND_SIZE));
    std::vector<int> lengths(table->num_cols);
    for (unsigned i = 0; i < table->num_cols; ++i)
        mdb_bind_column(table, static_cast<int>(i + 1), values[i].data(), &lengths[i]);
    long rows = 0;
    while (mdb_fetch_row(table))
        ++rows;
    mdb_free_tabledef(table);
    return rows;
}

long peakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

using Opener = std::function<Opened(const std::string&, const std::string&)>;

struct Measurement {
    double openSeconds = -1;
    double scanSeconds = -1;
    long rows = -1;
    long peakMiB = -1;
};

Measurement openAndScan(const Opener& open, const std::string& path, const std::string& password,
                        const std::string& table) {
    Measurement m;
    const double start = Clock::now();
    Opened opened = open(path, password);
    if (!opened.mdb || !mdb_read_catalog(opened.mdb, MDB_ANY))
        return m;
    m.openSeconds = secondsSince(start);
    const double scanStart = Clock::now();
    m.rows = scanTable(opened.mdb, table);
    m.scanSeconds = secondsSince(scanStart);
    mdb_close(opened.mdb);
    m.peakMiB = peakResidentKiB() / 1024;
    return m;
}

// In a child process, so that each strategy's peak memory is its own.
Measurement measure(const std::string& label, const Opener& open, const std::string& path, const std::string& password,
                    const std::string& table) {
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const Measurement m = openAndScan(open, path, password, table);
        const ssize_t written = write(channel[1], &m, sizeof m);
        _exit(written == sizeof m ? 0 : 1);
    }
    close(channel[1]);
    Measurement m;
    if (read(channel[0], &m, sizeof m) != sizeof m)
        m = {};
    close(channel[0]);
    waitpid(child, nullptr, 0);
    std::printf("%-34s open %6.3f s  scan %ld rows %6.3f s  peak memory %5ld MiB\n", label.c_str(), m.openSeconds,
                m.rows, m.scanSeconds, m.peakMiB);
    return m;
}

void reportRatios(const Measurement& image, const Measurement& onRead) {
    std::printf("%-34s open %.3f  scan %.2f  open+scan %.2f  peak memory %.3f\n", "  on read / image",
                onRead.openSeconds / image.openSeconds, onRead.scanSeconds / image.scanSeconds,
                (onRead.openSeconds + onRead.scanSeconds) / (image.openSeconds + image.scanSeconds),
                static_cast<double>(onRead.peakMiB) / static_cast<double>(image.peakMiB));
}

struct Scheme {
    const char* fixture;
    const char* password;
    const char* label;
};

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s [<large plain .accdb> <scratch folder> [table]]\n", argv[0]);
        return 2;
    }
    const std::string data = TABULON_TEST_DATA;
    const Scheme schemes[] = {
        {"a2010_encrypted_agile.accdb", "password", "agile AES-256/SHA-512"},
        {"a2010_encrypted_agile_sha1.accdb", "Test123", "agile AES-128/SHA-1"},
        {"a2007_encrypted_rc4_cryptoapi.accdb", "Test123", "RC4 CryptoAPI 40-bit"},
    };
    for (const Scheme& s : schemes)
        reportThroughput(data + "/" + s.fixture, s.password, s.label);
    if (argc < 3)
        return 0;
    const std::string plain = argv[1];
    const std::string scratch = argv[2];
    const std::string table = argc > 3 ? argv[3] : "Bench";
    readFile(plain); // the first run would otherwise pay for bringing the file into the page cache
    std::printf("plain file: %s, %.1f MiB; each scheme gets an encrypted copy of it\n", plain.c_str(),
                static_cast<double>(std::filesystem::file_size(plain)) / (1 << 20));
    measure("plain (mdb_open)", openPlain, plain, "", table);
    for (const Scheme& s : schemes) {
        const std::string encrypted = scratch + "/large-" + s.fixture;
        makeEncryptedCopy(plain, data + "/" + s.fixture, s.password, encrypted);
        const Measurement image = measure(std::string(s.label) + ", image", openImage, encrypted, s.password, table);
        const Measurement onRead =
            measure(std::string(s.label) + ", on read", openStream, encrypted, s.password, table);
        reportRatios(image, onRead);
    }
    return 0;
}

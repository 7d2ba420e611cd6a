#include "source/crypto/DecryptingStream.h"
#include "CryptoTestSupport.h"
#include "lib/Error.h"
#include "source/crypto/OfficeEncryption.h"

#include <gtest/gtest.h>

#include <glib.h>
#include <mdbtools.h>

#include <filesystem>
#include <random>

using namespace tabulon;
using namespace tabulon::test;

namespace {

const std::uint8_t StoredKeyZero[] = {0xFB, 0x8A, 0xBC, 0x4E};

std::string dataPath(const std::string& name) {
    return std::string(TABULON_TEST_DATA) + "/" + name;
}

std::unique_ptr<PageCipher> cipherFor(const std::vector<std::uint8_t>& file, const char* password) {
    const auto page0 = firstPage(file);
    return unlockEncryptedDatabase(page0, PageSize, databaseKeyOf(page0), password);
}

std::vector<std::uint8_t> plainImage(std::vector<std::uint8_t> file, const char* password) {
    auto cipher = cipherFor(file, password);
    file.resize(file.size() / PageSize * PageSize);
    for (std::size_t n = 1; n < file.size() / PageSize; ++n)
        cipher->decryptPage(static_cast<std::uint32_t>(n), file.data() + n * PageSize, PageSize);
    std::copy(std::begin(StoredKeyZero), std::end(StoredKeyZero), file.begin() + 0x3E);
    return file;
}

// A scratch copy of a fixture, removed at the end of the test.
class ScratchFile {
public:
    explicit ScratchFile(const std::vector<std::uint8_t>& bytes)
        : m_path(std::filesystem::temp_directory_path() /
                 ("tabulon-stream-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++) + ".accdb")) {
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    ~ScratchFile() { std::filesystem::remove(m_path); }
    std::string path() const { return m_path.string(); }

private:
    static int& counter() {
        static int value = 0;
        return value;
    }
    std::filesystem::path m_path;
};

struct Stream {
    explicit Stream(std::FILE* f) : file(f) {}
    ~Stream() { std::fclose(file); }
    std::FILE* file;
};

class StreamOverFixture : public testing::TestWithParam<std::pair<const char*, const char*>> {};

} // namespace

// Random seeks and odd lengths, across page edges, read exactly what the decrypted image holds.
TEST_P(StreamOverFixture, readsAsTheDecryptedImage) {
    const auto file = readTestFile(GetParam().first);
    const auto image = plainImage(file, GetParam().second);
    Stream stream(openDecryptingStream(dataPath(GetParam().first), cipherFor(file, GetParam().second), PageSize));
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const std::size_t at = random() % image.size();
        const std::size_t length = 1 + random() % (3 * PageSize);
        std::vector<std::uint8_t> got(length);
        ASSERT_EQ(fseeko(stream.file, static_cast<off_t>(at), SEEK_SET), 0);
        const std::size_t read = std::fread(got.data(), 1, length, stream.file);
        ASSERT_EQ(read, std::min(length, image.size() - at));
        ASSERT_TRUE(std::equal(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(read),
                               image.begin() + static_cast<std::ptrdiff_t>(at)))
            << "at " << at << " length " << length;
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, StreamOverFixture,
                         testing::Values(std::pair{"a2010_encrypted_agile.accdb", "password"},
                                         std::pair{"a2010_encrypted_agile_sha1.accdb", "Test123"},
                                         std::pair{"a2007_encrypted_rc4_cryptoapi.accdb", "Test123"}));

TEST(DecryptingStream, partialTailIsLeftOut) {
    auto file = readTestFile("a2007_encrypted_rc4_cryptoapi.accdb");
    const std::size_t wholeSize = file.size();
    file.resize(wholeSize + 100, 0xEE);
    ScratchFile scratch(file);
    Stream stream(openDecryptingStream(scratch.path(), cipherFor(file, "Test123"), PageSize));
    ASSERT_EQ(fseeko(stream.file, 0, SEEK_END), 0);
    EXPECT_EQ(static_cast<std::size_t>(ftello(stream.file)), wholeSize);
    std::uint8_t byte = 0;
    EXPECT_EQ(std::fread(&byte, 1, 1, stream.file), 0u);
}

TEST(DecryptingStream, fileCutInsideAPageEndsAtTheLastWholePage) {
    auto file = readTestFile("a2010_encrypted_agile_sha1.accdb");
    file.resize(5 * PageSize + 1000);
    ScratchFile scratch(file);
    Stream stream(openDecryptingStream(scratch.path(), cipherFor(file, "Test123"), PageSize));
    std::vector<std::uint8_t> page(PageSize);
    ASSERT_EQ(fseeko(stream.file, 4 * PageSize, SEEK_SET), 0);
    EXPECT_EQ(std::fread(page.data(), 1, PageSize, stream.file), PageSize);
    EXPECT_EQ(std::fread(page.data(), 1, PageSize, stream.file), 0u);
}

TEST(DecryptingStream, seekBeforeTheStartFails) {
    const auto file = readTestFile("a2007_encrypted_rc4_cryptoapi.accdb");
    Stream stream(
        openDecryptingStream(dataPath("a2007_encrypted_rc4_cryptoapi.accdb"), cipherFor(file, "Test123"), PageSize));
    EXPECT_NE(fseeko(stream.file, -1, SEEK_SET), 0);
    EXPECT_NE(fseeko(stream.file, -static_cast<off_t>(file.size()) - 1, SEEK_END), 0);
    EXPECT_EQ(fseeko(stream.file, -static_cast<off_t>(PageSize), SEEK_END), 0);
    EXPECT_EQ(static_cast<std::size_t>(ftello(stream.file)), file.size() - PageSize);
}

TEST(DecryptingStream, missingFileNamesThePath) {
    const auto file = readTestFile("a2007_encrypted_rc4_cryptoapi.accdb");
    try {
        openDecryptingStream("/nonexistent/folder/db.accdb", cipherFor(file, "Test123"), PageSize);
        FAIL() << "opened";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3051);
        EXPECT_NE(e.description().find("/nonexistent/folder/db.accdb"), std::string::npos);
    }
}

// libmdb reads the catalog and the rows through the stream once the handle's key is cleared.
TEST(DecryptingStream, libmdbReadsTheTableThroughIt) {
    const std::string path = dataPath("a2010_encrypted_agile.accdb");
    const auto file = readTestFile("a2010_encrypted_agile.accdb");
    MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    ASSERT_NE(mdb, nullptr);
    std::fclose(mdb->f->stream);
    mdb->f->stream = openDecryptingStream(path, cipherFor(file, "password"), PageSize);
    mdb->f->db_key = 0;
    ASSERT_NE(mdb_read_catalog(mdb, MDB_TABLE), nullptr);
    MdbTableDef* table = mdb_read_table_by_name(mdb, const_cast<char*>("Table1"), MDB_TABLE);
    ASSERT_NE(table, nullptr);
    mdb_read_columns(table);
    mdb_rewind_table(table);
    int rows = 0;
    while (mdb_fetch_row(table))
        ++rows;
    EXPECT_EQ(rows, 3);
    mdb_free_tabledef(table);
    mdb_close(mdb);
}

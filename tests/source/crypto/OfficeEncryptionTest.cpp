#include "source/crypto/OfficeEncryption.h"
#include "CryptoTestSupport.h"
#include "lib/Error.h"
#include "source/crypto/Digest.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

using namespace tabulon;
using namespace tabulon::test;

namespace {

std::string sha256Hex(const std::vector<std::uint8_t>& bytes) {
    Hasher hasher(HashAlgorithm::Sha256);
    std::uint8_t digest[32];
    hasher.begin();
    hasher.add(bytes.data(), bytes.size());
    hasher.finish(digest);
    std::string text;
    for (std::uint8_t b : digest) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", b);
        text += pair;
    }
    return text;
}

// Decrypts pages 1..n and clears the stored database key (FB 8A BC 4E is key 0 under the header mask).
std::vector<std::uint8_t> decryptedImage(std::vector<std::uint8_t> file, const std::string& password) {
    const auto page0 = firstPage(file);
    auto cipher = unlockEncryptedDatabase(page0, PageSize, databaseKeyOf(page0), password);
    for (std::size_t page = 1; page < file.size() / PageSize; ++page)
        cipher->decryptPage(static_cast<std::uint32_t>(page), file.data() + page * PageSize, PageSize);
    const std::uint8_t keyZero[] = {0xFB, 0x8A, 0xBC, 0x4E};
    std::copy(std::begin(keyZero), std::end(keyZero), file.begin() + 0x3E);
    return file;
}

struct Fixture {
    const char* file;
    const char* password;
    const char* imageSha256;
};

const Fixture Fixtures[] = {
    {"a2010_encrypted_agile.accdb", "password", "9f841ffbd287f98347e74dcbeba03734a7613d2fb42c51f4e84435a12dc2b8a9"},
    {"a2010_encrypted_agile_sha1.accdb", "Test123", "d30e941e70b9bc8817976f5c098e2e63426eea2f631b657c1b2115e2b33cf62d"},
    {"a2007_encrypted_rc4_cryptoapi.accdb", "Test123",
     "f81c0508c7a9d155732befebbd7351f6a717c3d436a5e42f50b8e9d15a48d612"},
};

struct Rejected {
    const char* file;
    const char* password;
};

const Rejected RejectedPasswords[] = {
    {"a2010_encrypted_agile.accdb", "wrongpass"},      {"a2010_encrypted_agile.accdb", ""},
    {"a2010_encrypted_agile.accdb", "Password"},       {"a2010_encrypted_agile.accdb", "password "},
    {"a2010_encrypted_agile_sha1.accdb", "test123"},   {"a2010_encrypted_agile_sha1.accdb", ""},
    {"a2007_encrypted_rc4_cryptoapi.accdb", "Test12"}, {"a2007_encrypted_rc4_cryptoapi.accdb", "TEST123"},
    {"a2007_encrypted_rc4_cryptoapi.accdb", ""},
};

// "a2010_encrypted_agile" plus "_" and the password ("_empty" for ""), as a test name allows.
std::string testName(const std::string& file, const char* password = nullptr) {
    std::string name = file.substr(0, file.find('.'));
    if (password)
        name += *password ? std::string("_") + password : std::string("_empty");
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

class DecryptedFixture : public testing::TestWithParam<Fixture> {};
class RejectedPassword : public testing::TestWithParam<Rejected> {};

} // namespace

TEST_P(DecryptedFixture, wholeImageMatchesItsKnownHash) {
    EXPECT_EQ(sha256Hex(decryptedImage(readTestFile(GetParam().file), GetParam().password)), GetParam().imageSha256);
}

TEST_P(DecryptedFixture, cloneDecryptsLikeTheOriginalAndOutlivesIt) {
    const auto file = readTestFile(GetParam().file);
    const auto page0 = firstPage(file);
    auto original = unlockEncryptedDatabase(page0, PageSize, databaseKeyOf(page0), GetParam().password);
    std::vector<std::uint8_t> expected(file.begin() + 2 * PageSize, file.begin() + 3 * PageSize);
    original->decryptPage(2, expected.data(), expected.size());
    auto clone = original->clone();
    original.reset();
    std::vector<std::uint8_t> page(file.begin() + 2 * PageSize, file.begin() + 3 * PageSize);
    clone->decryptPage(2, page.data(), page.size());
    EXPECT_EQ(page, expected);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DecryptedFixture, testing::ValuesIn(Fixtures),
                         [](const auto& info) { return testName(info.param.file); });

TEST_P(RejectedPassword, raises3031NamingNothingSecret) {
    const auto page0 = firstPage(readTestFile(GetParam().file));
    try {
        unlockEncryptedDatabase(page0, PageSize, databaseKeyOf(page0), GetParam().password);
        FAIL() << "accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3031);
        EXPECT_EQ(e.description(), "Not a valid password.");
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RejectedPassword, testing::ValuesIn(RejectedPasswords),
                         [](const auto& info) { return testName(info.param.file, info.param.password); });

TEST(OfficePasswordBytes, utf16LittleEndian) {
    EXPECT_EQ(prefix(officePasswordBytes("Ab"), 8), hexBytes("41 00 62 00"));
    EXPECT_TRUE(officePasswordBytes("").empty());
    EXPECT_EQ(prefix(officePasswordBytes("\xC3\xA9\xE2\x82\xAC"), 8), hexBytes("E9 00 AC 20")); // é€
}

TEST(OfficePasswordBytes, beyondTheBasicPlaneAsSurrogatePair) {
    EXPECT_EQ(prefix(officePasswordBytes("\xF0\x9F\x98\x80"), 8), hexBytes("3D D8 00 DE")); // U+1F600
}

TEST(OfficePasswordBytes, malformedUtf8BecomesReplacementCharacter) {
    EXPECT_EQ(prefix(officePasswordBytes("\xFF"
                                         "a"),
                     8),
              hexBytes("FD FF 61 00"));
    EXPECT_EQ(prefix(officePasswordBytes("\xE2\x82"), 8), hexBytes("FD FF"));       // cut short
    EXPECT_EQ(prefix(officePasswordBytes("\xC0\xAF"), 8), hexBytes("FD FF FD FF")); // overlong
    EXPECT_EQ(prefix(officePasswordBytes("\xED\xA0\x80"), 8), hexBytes("FD FF"));   // encoded surrogate
}

TEST(OfficePasswordBytes, cutAt255CodeUnits) {
    EXPECT_EQ(officePasswordBytes(std::string(300, 'x')).size(), 510u);
    // A pair that would straddle the limit keeps only its first half, as Office cuts code units.
    const std::string nearLimit = std::string(254, 'x') + "\xF0\x9F\x98\x80";
    const SecretBytes bytes = officePasswordBytes(nearLimit);
    ASSERT_EQ(bytes.size(), 510u);
    EXPECT_EQ(bytes[508], 0x3D);
    EXPECT_EQ(bytes[509], 0xD8);
}

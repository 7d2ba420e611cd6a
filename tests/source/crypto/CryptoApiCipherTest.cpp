#include "source/crypto/CryptoApiCipher.h"
#include "CryptoTestSupport.h"
#include "source/crypto/OfficeEncryption.h"

#include <gtest/gtest.h>

using namespace tabulon;
using namespace tabulon::test;

namespace {

class CryptoApiVectors : public testing::Test {
protected:
    void SetUp() override {
        file = readTestFile("a2007_encrypted_rc4_cryptoapi.accdb");
        ASSERT_GE(file.size(), 2 * PageSize);
        const EncryptionInfo info = parseEncryptionInfo(firstPage(file), PageSize);
        ASSERT_TRUE(std::holds_alternative<CryptoApiEncryption>(info));
        encryption = std::get<CryptoApiEncryption>(info);
    }

    std::vector<std::uint8_t> file;
    CryptoApiEncryption encryption;
    Hasher sha1{HashAlgorithm::Sha1};
};

const std::uint8_t BlockZero[4] = {0, 0, 0, 0};

} // namespace

TEST_F(CryptoApiVectors, headerFields) {
    EXPECT_EQ(databaseKeyOf(firstPage(file)), 0xA1F327E1u);
    EXPECT_EQ(encryption.keyBits, 40u);
    EXPECT_EQ(prefix(encryption.salt, 16), hexBytes("78 DA 7D 51 96 C7 14 92 EE D3 B4 47 1A 47 94 49"));
}

TEST_F(CryptoApiVectors, keysStepByStep) {
    const SecretBytes base = cryptoapi::baseHash(encryption.salt, officePasswordBytes("Test123"));
    EXPECT_EQ(prefix(base, 20), hexBytes("3A 48 4B 8C C0 67 04 5F 52 22 B6 CE 8C EE 9C 32 77 B9 0A CA"));
    // A 40-bit key is five hash bytes followed by eleven zeros; without the zeros RC4 differs.
    EXPECT_EQ(prefix(cryptoapi::blockKeyRc4Key(sha1, base, BlockZero, 40), 16),
              hexBytes("37 A6 39 17 91 00 00 00 00 00 00 00 00 00 00 00"));
    const std::uint8_t page1[4] = {0xE0, 0x27, 0xF3, 0xA1};
    EXPECT_EQ(prefix(cryptoapi::blockKeyRc4Key(sha1, base, page1, 40), 16),
              hexBytes("02 DB ED 81 C1 00 00 00 00 00 00 00 00 00 00 00"));
    EXPECT_EQ(cryptoapi::blockKeyRc4Key(sha1, base, page1, 128).size(), 16u);
    EXPECT_TRUE(cryptoapi::verifies(encryption, base, 40));
    EXPECT_FALSE(cryptoapi::verifies(encryption, base, 128));
}

TEST_F(CryptoApiVectors, wrongPasswordKeyDiffers) {
    const SecretBytes base = cryptoapi::baseHash(encryption.salt, officePasswordBytes("Test12"));
    EXPECT_EQ(prefix(cryptoapi::blockKeyRc4Key(sha1, base, BlockZero, 40), 5), hexBytes("5D 7E FB E2 DA"));
    EXPECT_FALSE(cryptoapi::verifies(encryption, base, 40));
}

TEST_F(CryptoApiVectors, firstPageDecrypts) {
    auto cipher = unlockCryptoApi(encryption, officePasswordBytes("Test123"), 0xA1F327E1);
    std::vector<std::uint8_t> page(file.begin() + PageSize, file.begin() + 2 * PageSize);
    EXPECT_EQ(prefix(page, 8), hexBytes("1F F3 C8 A1 BA CB 73 E0"));
    cipher->decryptPage(1, page.data(), page.size());
    EXPECT_EQ(prefix(page, 8), hexBytes("01 01 64 0F 01 00 00 00"));
    cipher->encryptPage(1, page.data(), page.size());
    EXPECT_TRUE(std::equal(page.begin(), page.end(), file.begin() + PageSize));
}

TEST_F(CryptoApiVectors, keySizeZeroLetsTheVerifierChoose) {
    // A header that leaves the key size open: 40 bits is tried, then 128, and the verifier picks 40.
    encryption.keyBits = 0;
    auto cipher = unlockCryptoApi(encryption, officePasswordBytes("Test123"), 0xA1F327E1);
    std::vector<std::uint8_t> page(file.begin() + PageSize, file.begin() + 2 * PageSize);
    cipher->decryptPage(1, page.data(), page.size());
    EXPECT_EQ(prefix(page, 4), hexBytes("01 01 64 0F"));
}

#include "source/crypto/AgileCipher.h"
#include "CryptoTestSupport.h"
#include "source/crypto/OfficeEncryption.h"

#include <gtest/gtest.h>

using namespace tabulon;
using namespace tabulon::test;

namespace {

// The published step-by-step values of the two agile fixtures, every step checked in turn.
struct AgileVector {
    const char* file;
    const char* password;
    std::uint32_t databaseKey;
    std::size_t keyBits;
    HashAlgorithm hash;
    const char* h0;
    const char* iterated;
    const char* verifierInputKey;
    const char* verifierValueKey;
    const char* keyValueKey;
    const char* verifierInput;
    const char* verifierValue;
    const char* dataKey;
    const char* page1Iv;
    const char* page1Plain;
};

const AgileVector Vectors[] = {
    {"a2010_encrypted_agile.accdb", "password", 0xA0BE38A3, 256, HashAlgorithm::Sha512,
     "82 E2 46 A6 57 20 41 6D 70 3A A0 A6 6E 3C 22 A0", "E0 B5 56 1B 6F 7E F4 1D F7 F0 5C 0A 88 83 AB 66",
     "99 E4 24 66 69 C6 81 19 50 70 46 34 19 4C 7D 71 D6 3D 1E 15 A3 1D C6 4E EC 3A 27 13 41 1F 40 5B",
     "88 7C 3A FF B8 2E 91 E0 04 76 16 7D 1E 3E 7A 34 A3 9A CA FE 66 85 6F 33 7D 3A AE D8 1D 6D 0A A6",
     "81 1F 2C 33 FF 53 95 B3 BD 9C 0E 64 42 FF 39 C5 95 C2 82 39 5D 2E 5E D8 FD 4D 59 58 4F D5 B8 A7",
     "4B BF 5E D1 32 A0 A2 49 00 13 DF 28 D9 59 36 AE", "5B DE 7E CD C4 D0 9B 14 BA D4 C5 9B D9 D0 46 A3",
     "B3 DF 86 D9 C0 C0 B0 0F 08 31 0F 98 45 18 44 AC 6D EF 2E 2C 43 98 45 D4 C8 2A 25 A2 CC B6 EE 67",
     "FF FD 88 9A DF 97 39 D8 C0 DC B0 29 9F 55 72 40", "01 01 64 0F 01 00 00 00 00 00 00 00 02 00 BB 0F"},
    {"a2010_encrypted_agile_sha1.accdb", "Test123", 0xA0EB8BBC, 128, HashAlgorithm::Sha1,
     "EF 43 0D 98 48 25 94 11 20 98 7B 56 CF 72 3B 5B E1 2E C9 9A",
     "9A 55 20 48 8C 33 B3 8C D3 4F 48 53 A0 08 54 8F 97 0E C0 71", "48 9B 5D 9B 7C 4F 94 BE 75 59 17 C1 7D AF 2F 88",
     "19 82 50 D6 25 A0 19 0D FA A1 EF 47 10 71 27 61", "50 DC EE EB B2 AC F3 FC 19 7E 01 81 FB 64 31 45",
     "4C F5 7A CC 50 B6 61 54 7C 05 53 34 9D FA E3 D8",
     "B1 42 5F FF BD B7 1B 42 E8 18 78 5F 80 A7 38 47 EF 74 E2 C5 00 00 00 00 00 00 00 00 00 00 00 00",
     "64 3D 08 DE F8 5D 41 45 B4 F6 02 D7 13 2D 18 5A", "2F 60 D9 E7 ED D2 61 57 99 71 17 45 CE 07 D0 B3",
     "01 01 64 0F 01 00 00 00"},
};

class AgileVectors : public testing::TestWithParam<AgileVector> {
protected:
    void SetUp() override {
        file = readTestFile(GetParam().file);
        ASSERT_GE(file.size(), 3 * PageSize);
        const EncryptionInfo info = parseEncryptionInfo(firstPage(file), PageSize);
        ASSERT_TRUE(std::holds_alternative<AgileEncryption>(info));
        encryption = std::get<AgileEncryption>(info);
        password = officePasswordBytes(GetParam().password);
    }

    std::vector<std::uint8_t> file;
    AgileEncryption encryption;
    SecretBytes password;
};

} // namespace

TEST_P(AgileVectors, descriptorNamesTheFixturesAlgorithms) {
    const AgilePasswordKey& key = encryption.passwordKey;
    EXPECT_EQ(databaseKeyOf(firstPage(file)), GetParam().databaseKey);
    EXPECT_EQ(encryption.keyData.keyBits, GetParam().keyBits);
    EXPECT_EQ(encryption.keyData.hash, GetParam().hash);
    EXPECT_EQ(key.hash, GetParam().hash);
    EXPECT_EQ(key.spinCount, 100000u);
    EXPECT_EQ(key.hashSize, digestSize(GetParam().hash));
    EXPECT_EQ(key.salt.size(), 16u);
}

TEST_P(AgileVectors, keyDerivationStepByStep) {
    const AgilePasswordKey& key = encryption.passwordKey;
    const auto expectedH0 = hexBytes(GetParam().h0);
    const SecretBytes h0 = agile::iteratedHash(key.hash, key.salt, password, 0);
    EXPECT_EQ(prefix(h0, expectedH0.size()), expectedH0);
    const auto expectedIterated = hexBytes(GetParam().iterated);
    const SecretBytes iterated = agile::iteratedHash(key.hash, key.salt, password, key.spinCount);
    EXPECT_EQ(prefix(iterated, expectedIterated.size()), expectedIterated);

    const std::size_t keyBytes = key.keyBits / 8;
    EXPECT_EQ(prefix(agile::passwordKey(key.hash, iterated, agile::VerifierInputBlock, keyBytes), 32),
              hexBytes(GetParam().verifierInputKey));
    EXPECT_EQ(prefix(agile::passwordKey(key.hash, iterated, agile::VerifierValueBlock, keyBytes), 32),
              hexBytes(GetParam().verifierValueKey));
    EXPECT_EQ(prefix(agile::passwordKey(key.hash, iterated, agile::KeyValueBlock, keyBytes), 32),
              hexBytes(GetParam().keyValueKey));

    const SecretBytes input =
        agile::decryptField(key, iterated, agile::VerifierInputBlock, key.encryptedVerifierHashInput);
    EXPECT_EQ(prefix(input, 16), hexBytes(GetParam().verifierInput));
    const SecretBytes value =
        agile::decryptField(key, iterated, agile::VerifierValueBlock, key.encryptedVerifierHashValue);
    const auto expectedValue = hexBytes(GetParam().verifierValue);
    EXPECT_EQ(prefix(value, expectedValue.size()), expectedValue);
}

TEST_P(AgileVectors, verifierUnlocksTheDataKeyAndFirstPages) {
    const SecretBytes dataKey = agile::unlockDataKey(encryption.passwordKey, password, encryption.keyData.keyBits / 8);
    EXPECT_EQ(prefix(dataKey, 32), hexBytes(GetParam().dataKey));

    agile::AgilePageCipher cipher(encryption.keyData, dataKey, GetParam().databaseKey);
    const auto iv = cipher.pageIv(1);
    EXPECT_EQ(std::vector<std::uint8_t>(iv.begin(), iv.end()), hexBytes(GetParam().page1Iv));
    std::vector<std::uint8_t> page(file.begin() + PageSize, file.begin() + 2 * PageSize);
    cipher.decryptPage(1, page.data(), page.size());
    const auto expected = hexBytes(GetParam().page1Plain);
    EXPECT_EQ(prefix(page, expected.size()), expected);
}

TEST_P(AgileVectors, encryptingAPageRestoresTheFile) {
    auto cipher = unlockAgile(encryption, password, GetParam().databaseKey);
    std::vector<std::uint8_t> page(file.begin() + 2 * PageSize, file.begin() + 3 * PageSize);
    cipher->decryptPage(2, page.data(), page.size());
    EXPECT_EQ(page[0], 0x02); // a table definition page
    cipher->encryptPage(2, page.data(), page.size());
    EXPECT_TRUE(std::equal(page.begin(), page.end(), file.begin() + 2 * PageSize));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, AgileVectors, testing::ValuesIn(Vectors), [](const auto& info) {
    return std::string(info.param.hash == HashAlgorithm::Sha1 ? "Sha1" : "Sha512");
});

TEST(AgilePasswordKey, shortHashIsPaddedWith0x36) {
    const std::uint8_t bytes[20] = {1, 2, 3};
    const SecretBytes iterated(bytes, sizeof bytes);
    const SecretBytes key = agile::passwordKey(HashAlgorithm::Sha1, iterated, agile::KeyValueBlock, 32);
    ASSERT_EQ(key.size(), 32u);
    for (std::size_t i = 20; i < 32; ++i)
        EXPECT_EQ(key[i], 0x36);
}

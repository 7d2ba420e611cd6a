#include "CryptoTestSupport.h"
#include "lib/Error.h"
#include "source/crypto/EncryptionInfo.h"
#include "source/crypto/OfficeEncryption.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace tabulon;
using namespace tabulon::test;

namespace {

void putLe16(std::vector<std::uint8_t>& page, std::size_t at, std::uint32_t value) {
    page[at] = static_cast<std::uint8_t>(value);
    page[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putLe32(std::vector<std::uint8_t>& page, std::size_t at, std::uint32_t value) {
    putLe16(page, at, value);
    putLe16(page, at + 2, value >> 16);
}

// Parses `page0` and returns the error it raises (number 0 when it parses).
Error parseError(const std::vector<std::uint8_t>& page0) {
    try {
        parseEncryptionInfo(page0, PageSize);
    } catch (const Error& e) {
        return e;
    }
    return Error(0, "", "");
}

std::string agileXml(const std::vector<std::uint8_t>& page0) {
    const std::size_t length = page0[0x299] | page0[0x29A] << 8;
    return std::string(page0.begin() + 0x29B + 8, page0.begin() + 0x29B + static_cast<std::ptrdiff_t>(length));
}

std::vector<std::uint8_t> withAgileXml(std::vector<std::uint8_t> page0, const std::string& xml) {
    std::fill(page0.begin() + 0x29B + 8, page0.end(), 0);
    std::copy(xml.begin(), xml.end(), page0.begin() + 0x29B + 8);
    putLe16(page0, 0x299, static_cast<std::uint32_t>(8 + xml.size()));
    return page0;
}

struct XmlDamage {
    const char* name;
    const char* from;
    const char* to;
    int occurrence; // which match of `from` to replace, 0 the first
    long number;
    const char* mentions;
};

const XmlDamage XmlDamages[] = {
    {"spinCountAboveSchemaLimit", "spinCount=\"100000\"", "spinCount=\"10000001\"", 0, 3343, "spinCount"},
    {"spinCountNegative", "spinCount=\"100000\"", "spinCount=\"-1\"", 0, 3343, "spinCount"},
    {"spinCountMissing", "spinCount=\"100000\" ", "", 0, 3343, "spinCount"},
    {"saltSizeDisagrees", "saltSize=\"16\"", "saltSize=\"15\"", 0, 3343, "salt"},
    {"saltNotBase64", "DAyc3C2Oxxe+SnWgRTYBQQ==", "DAyc3C2Oxxe+SnWgRTYBQQ", 0, 3343, "base64"},
    {"keyValueTooShort", "sSEi0dHaeIXhw7bTCbObtwLMhjisiTOo6xtMLCFytcM=", "sSEi0dHaeIXhw7bTCbObtw==", 0, 3343,
     "encryptedKeyValue"},
    {"verifierValueShorterThanHash",
     "C67VZaWFlvd+EmYbgAZDwxfAlMJ8E+7WfFXr8ixFVvwc6xJOIAtYg57PDgIsckn8govdUFKAobGgULEJV5tVMw==",
     "C67VZaWFlvd+EmYbgAZDww==", 0, 3343, "encryptedVerifierHashValue"},
    {"verifierInputNotWholeBlocks", "PpoGGddaHWNs18zrH5MN6w==", "PpoGGddaHWNs18zrH5MN", 0, 3343,
     "encryptedVerifierHashInput"},
    {"keyBitsOdd", "keyBits=\"256\"", "keyBits=\"100\"", 1, 3343, "100 bits"},
    {"dataKeyBitsOdd", "keyBits=\"256\"", "keyBits=\"0\"", 0, 3343, "0 bits"},
    {"blockSizeNot16", "blockSize=\"16\"", "blockSize=\"8\"", 0, 3343, "block size"},
    {"hashSizeWrong", "hashSize=\"64\"", "hashSize=\"20\"", 1, 3343, "hashSize"},
    {"hashMd5", "hashAlgorithm=\"SHA512\"", "hashAlgorithm=\"MD5\"", 1, 1000, "MD5"},
    {"cipher3Des", "cipherAlgorithm=\"AES\"", "cipherAlgorithm=\"3DES\"", 0, 1000, "3DES"},
    {"chainingCfb", "ChainingModeCBC", "ChainingModeCFB", 1, 1000, "ChainingModeCFB"},
    {"certificateOnly", "uri=\"http://schemas.microsoft.com/office/2006/keyEncryptor/password\"",
     "uri=\"http://schemas.microsoft.com/office/2006/keyEncryptor/certificate\"", 0, 1000, "certificate"},
    {"notXml", "</encryption>", "</encrypt", 0, 3343, "not XML"},
    {"keyDataMissing", "<keyData ", "<keyDatum ", 0, 3343, "keyData"},
    {"encryptedKeyMissing", "<p:encryptedKey ", "<p:encryptedKeys ", 0, 3343, "encryptedKey"},
};

class AgileDescriptorDamage : public testing::TestWithParam<XmlDamage> {};

} // namespace

TEST_P(AgileDescriptorDamage, isReportedAsDamageOrUnsupportedNeverAsPassword) {
    const auto page0 = firstPage(readTestFile("a2010_encrypted_agile.accdb"));
    std::string xml = agileXml(page0);
    std::size_t at = xml.find(GetParam().from);
    for (int i = 0; i < GetParam().occurrence && at != std::string::npos; ++i)
        at = xml.find(GetParam().from, at + 1);
    ASSERT_NE(at, std::string::npos);
    xml.replace(at, std::strlen(GetParam().from), GetParam().to);
    const Error error = parseError(withAgileXml(page0, xml));
    EXPECT_EQ(error.number(), GetParam().number);
    EXPECT_NE(error.description().find(GetParam().mentions), std::string::npos) << error.description();
}

INSTANTIATE_TEST_SUITE_P(Xml, AgileDescriptorDamage, testing::ValuesIn(XmlDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EncryptionHeader, fixtureDescriptorsParse) {
    for (const char* name : {"a2010_encrypted_agile.accdb", "a2010_encrypted_agile_sha1.accdb"})
        EXPECT_EQ(parseError(firstPage(readTestFile(name))).number(), 0) << name;
}

TEST(EncryptionHeader, lengthOutOfBounds) {
    auto page0 = firstPage(readTestFile("a2007_encrypted_rc4_cryptoapi.accdb"));
    for (std::uint32_t length : {0u, 3u, 4096u - 0x29Bu + 1u, 0xFFFFu}) {
        putLe16(page0, 0x299, length);
        EXPECT_EQ(parseError(page0).number(), 3343) << length;
    }
}

TEST(EncryptionHeader, shortPageZero) {
    auto page0 = firstPage(readTestFile("a2010_encrypted_agile.accdb"));
    page0.resize(4000);
    EXPECT_EQ(parseError(page0).number(), 3343);
    page0.resize(0x200);
    EXPECT_EQ(parseError(page0).number(), 3343);
}

TEST(EncryptionHeader, schemesNotImplementedAreNamed) {
    const auto original = firstPage(readTestFile("a2007_encrypted_rc4_cryptoapi.accdb"));
    const struct {
        std::uint32_t major, minor, flags;
        const char* mentions;
    } cases[] = {
        {4, 2, 0x24, "standard encryption with AES"},
        {3, 2, 0x14, "extensible"},
        {3, 3, 0x04, "extensible"},
        {4, 3, 0x04, "extensible"},
        {1, 1, 0x04, "binary RC4"},
        {9, 9, 0x04, "unknown Office encryption scheme (version 9.9)"},
    };
    for (const auto& c : cases) {
        auto page0 = original;
        putLe16(page0, 0x29B, c.major);
        putLe16(page0, 0x29D, c.minor);
        putLe32(page0, 0x29F, c.flags);
        const Error error = parseError(page0);
        EXPECT_EQ(error.number(), 1000) << c.mentions;
        EXPECT_NE(error.description().find(c.mentions), std::string::npos) << error.description();
    }
}

TEST(EncryptionHeader, versionsNoOfficeSchemeHasAreDamage) {
    auto page0 = firstPage(readTestFile("a2007_encrypted_rc4_cryptoapi.accdb"));
    for (const auto& [major, minor] : {std::pair{0xFFFFu, 0xFFFFu}, {0u, 0u}, {4u, 0u}, {16u, 2u}, {4u, 16u}}) {
        putLe16(page0, 0x29B, major);
        putLe16(page0, 0x29D, minor);
        const Error error = parseError(page0);
        const std::string version = std::to_string(major) + "." + std::to_string(minor);
        EXPECT_EQ(error.number(), 3343) << version;
        EXPECT_EQ(error.description(), "The encryption header is damaged: it names encryption version " + version +
                                           ", which no Office encryption has.");
    }
}

TEST(EncryptionHeader, cryptoApiFieldsChecked) {
    const auto original = firstPage(readTestFile("a2007_encrypted_rc4_cryptoapi.accdb"));
    // Offsets in this file: header size at 0x2A3, algorithm 0x2AF, hash 0x2B3, key size 0x2B7,
    // salt size 0x31D, verifier hash size 0x341.
    const struct {
        std::size_t at;
        std::uint32_t value;
        long number;
        const char* mentions;
    } cases[] = {
        {0x29F, 0x00, 3343, "flags"},
        {0x2A3, 5000, 3343, "header size"},
        {0x2A3, 10, 3343, "header size"},
        {0x2AF, 0x660E, 1000, "AES"},
        {0x2AF, 0x6602, 1000, "algorithm 0x6602"},
        {0x2B3, 0x8003, 1000, "hash algorithm 0x8003"},
        {0x2B7, 33, 3343, "key size"},
        {0x2B7, 256, 3343, "key size"},
        {0x31D, 12, 3343, "salt size 12"},
        {0x341, 32, 3343, "verifier hash size 32"},
    };
    for (const auto& c : cases) {
        auto page0 = original;
        putLe32(page0, c.at, c.value);
        const Error error = parseError(page0);
        EXPECT_EQ(error.number(), c.number) << c.mentions;
        EXPECT_NE(error.description().find(c.mentions), std::string::npos) << error.description();
    }
}

// Random damage to the header of each fixture: every outcome is a numbered error or a clean parse,
// never a crash (the sanitizer build runs this too). Only the cheap RC4 file goes as far as the
// verifier; the agile verifier would spend 100,000 hash rounds per attempt.
TEST(EncryptionHeader, randomDamageNeverCrashes) {
    std::mt19937 random(20240607);
    for (const char* name :
         {"a2007_encrypted_rc4_cryptoapi.accdb", "a2010_encrypted_agile.accdb", "a2010_encrypted_agile_sha1.accdb"}) {
        const auto original = firstPage(readTestFile(name));
        const bool verify = std::string(name).find("rc4") != std::string::npos;
        const std::size_t length = original[0x299] | original[0x29A] << 8;
        for (int round = 0; round < 400; ++round) {
            auto page0 = original;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i)
                page0[0x299 + random() % (length + 2)] = static_cast<std::uint8_t>(random());
            try {
                if (verify)
                    unlockEncryptedDatabase(page0, PageSize, 0xA1F327E1, "Test123");
                else
                    parseEncryptionInfo(page0, PageSize);
            } catch (const Error& e) {
                EXPECT_TRUE(e.number() == 3343 || e.number() == 1000 || e.number() == 3031) << e.description();
            }
        }
    }
}

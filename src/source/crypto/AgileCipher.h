#pragma once

#include "AesCipher.h"
#include "EncryptionInfo.h"
#include "PageCipher.h"
#include "SecretBytes.h"

#include <array>
#include <memory>

namespace tabulon {

// Agile encryption (AES-CBC, version 4.4): the password check and the page cipher.
namespace agile {

// The fixed block keys that derive the three password keys.
constexpr std::array<std::uint8_t, 8> VerifierInputBlock{0xFE, 0xA7, 0xD2, 0x76, 0x3B, 0x4B, 0x9E, 0x79};
constexpr std::array<std::uint8_t, 8> VerifierValueBlock{0xD7, 0xAA, 0x0F, 0x6D, 0x30, 0x61, 0x34, 0x4E};
constexpr std::array<std::uint8_t, 8> KeyValueBlock{0x14, 0x6E, 0x0B, 0xE7, 0xAB, 0xAC, 0xD0, 0xD6};

// H(salt + password), then spinCount rounds of H(u32 round + previous). The slow step, done once.
SecretBytes iteratedHash(HashAlgorithm hash, std::span<const std::uint8_t> salt, const SecretBytes& password,
                         std::uint32_t spinCount);

// H(iterated + blockKey), cut to keyBytes or padded with 0x36.
SecretBytes passwordKey(HashAlgorithm hash, const SecretBytes& iterated, std::span<const std::uint8_t> blockKey,
                        std::size_t keyBytes);

// Decrypts one of the encryptor's three fields with the key derived for `blockKey`.
SecretBytes decryptField(const AgilePasswordKey& encryptor, const SecretBytes& iterated,
                         std::span<const std::uint8_t> blockKey, const std::vector<std::uint8_t>& field);

// Checks the password and returns the data key. Raises 3031 when the verifier does not match.
SecretBytes unlockDataKey(const AgilePasswordKey& encryptor, const SecretBytes& password, std::size_t dataKeyBytes);

// Decrypts pages with the data key; each page's IV is H(keyData salt + block key of the page).
class AgilePageCipher : public PageCipher {
public:
    AgilePageCipher(const AgileKeyData& keyData, const SecretBytes& dataKey, std::uint32_t databaseKey);

    void decryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) override;
    void encryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) override;
    std::unique_ptr<PageCipher> clone() const override;

    // The IV of page `pageNumber` (blockSize bytes).
    std::array<std::uint8_t, 16> pageIv(std::uint32_t pageNumber);

private:
    AgileKeyData m_keyData;
    Hasher m_hasher;
    std::uint32_t m_databaseKey;
    AesCbc m_decrypt;
    std::unique_ptr<AesCbc> m_encrypt;
    SecretBytes m_dataKey; // kept to set up encryption on demand and for clones
};

} // namespace agile

// Checks `password` (UTF-16LE bytes) against an agile file and returns its page cipher.
std::unique_ptr<PageCipher> unlockAgile(const AgileEncryption& encryption, const SecretBytes& password,
                                        std::uint32_t databaseKey);

} // namespace tabulon

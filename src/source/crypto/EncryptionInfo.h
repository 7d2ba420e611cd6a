#pragma once

#include "Digest.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>
#include <vector>

namespace tabulon {

// Where page 0 of an encrypted .accdb holds the length of the Office encryption information, and
// where that information starts.
constexpr std::size_t EncryptionInfoLengthOffset = 0x299;
constexpr std::size_t EncryptionInfoOffset = 0x29B;

// The data key's parameters (the descriptor's keyData element): they decrypt the pages.
struct AgileKeyData {
    std::vector<std::uint8_t> salt;
    std::size_t blockSize = 0;
    std::size_t keyBits = 0;
    HashAlgorithm hash = HashAlgorithm::Sha1;
};

// The password key encryptor: how the password unlocks the data key.
struct AgilePasswordKey {
    std::vector<std::uint8_t> salt;
    std::size_t blockSize = 0;
    std::size_t keyBits = 0;
    std::size_t hashSize = 0;
    HashAlgorithm hash = HashAlgorithm::Sha1;
    std::uint32_t spinCount = 0;
    std::vector<std::uint8_t> encryptedVerifierHashInput;
    std::vector<std::uint8_t> encryptedVerifierHashValue;
    std::vector<std::uint8_t> encryptedKeyValue;
};

// Agile encryption (version 4.4): AES-CBC with an XML descriptor.
struct AgileEncryption {
    AgileKeyData keyData;
    AgilePasswordKey passwordKey;
};

// RC4 CryptoAPI encryption (version 2.2, 3.2 or 4.2 without the AES flag). A key size of 0 means
// "40 or 128 bits, the verifier decides".
struct CryptoApiEncryption {
    std::size_t keyBits = 0;
    std::array<std::uint8_t, 16> salt{};
    std::array<std::uint8_t, 16> encryptedVerifier{};
    std::array<std::uint8_t, 20> encryptedVerifierHash{};
};

using EncryptionInfo = std::variant<AgileEncryption, CryptoApiEncryption>;

// Reads the Office encryption information of page 0 of an encrypted .accdb (`page0` is the whole
// page, `pageSize` bytes). Every field is checked against its bounds before it is used.
// Raises 1000 naming the scheme when it is one this reader does not implement (standard AES,
// extensible, Office binary RC4, unknown versions, certificate-only agile files) and 3343 when the
// header is cut short or contradicts itself. Never raises a password error.
EncryptionInfo parseEncryptionInfo(std::span<const std::uint8_t> page0, std::size_t pageSize);

// The agile XML descriptor (the bytes after the 8-byte version and reserved fields).
AgileEncryption parseAgileDescriptor(std::span<const std::uint8_t> xml);

} // namespace tabulon

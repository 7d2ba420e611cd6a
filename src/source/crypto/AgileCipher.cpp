#include "AgileCipher.h"

#include "CryptoErrors.h"

#include <openssl/crypto.h>

#include <algorithm>

namespace tabulon {

namespace agile {

SecretBytes iteratedHash(HashAlgorithm hash, std::span<const std::uint8_t> salt, const SecretBytes& password,
                         std::uint32_t spinCount) {
    Hasher hasher(hash);
    SecretBytes value(hasher.size());
    hasher.begin();
    hasher.add(salt.data(), salt.size());
    hasher.add(password.data(), password.size());
    hasher.finish(value.data());
    for (std::uint32_t round = 0; round < spinCount; ++round) {
        const std::uint8_t counter[4] = {static_cast<std::uint8_t>(round), static_cast<std::uint8_t>(round >> 8),
                                         static_cast<std::uint8_t>(round >> 16),
                                         static_cast<std::uint8_t>(round >> 24)};
        hasher.begin();
        hasher.add(counter, sizeof counter);
        hasher.add(value.data(), value.size());
        hasher.finish(value.data());
    }
    return value;
}

SecretBytes passwordKey(HashAlgorithm hash, const SecretBytes& iterated, std::span<const std::uint8_t> blockKey,
                        std::size_t keyBytes) {
    Hasher hasher(hash);
    SecretBytes key(hasher.size());
    hasher.begin();
    hasher.add(iterated.data(), iterated.size());
    hasher.add(blockKey.data(), blockKey.size());
    hasher.finish(key.data());
    key.resize(keyBytes, 0x36);
    return key;
}

SecretBytes decryptField(const AgilePasswordKey& encryptor, const SecretBytes& iterated,
                         std::span<const std::uint8_t> blockKey, const std::vector<std::uint8_t>& field) {
    const SecretBytes key = passwordKey(encryptor.hash, iterated, blockKey, encryptor.keyBits / 8);
    std::array<std::uint8_t, 16> iv;
    iv.fill(0x36);
    std::copy_n(encryptor.salt.begin(), std::min(iv.size(), encryptor.salt.size()), iv.begin());
    SecretBytes plain(field.data(), field.size());
    AesCbc(key.data(), key.size()).apply(iv.data(), plain.data(), plain.size());
    return plain;
}

SecretBytes unlockDataKey(const AgilePasswordKey& encryptor, const SecretBytes& password, std::size_t dataKeyBytes) {
    const SecretBytes iterated = iteratedHash(encryptor.hash, encryptor.salt, password, encryptor.spinCount);
    const SecretBytes input =
        decryptField(encryptor, iterated, VerifierInputBlock, encryptor.encryptedVerifierHashInput);
    const SecretBytes value =
        decryptField(encryptor, iterated, VerifierValueBlock, encryptor.encryptedVerifierHashValue);
    Hasher hasher(encryptor.hash);
    SecretBytes digest(hasher.size());
    hasher.begin();
    hasher.add(input.data(), encryptor.salt.size());
    hasher.finish(digest.data());
    // The decrypted value is the hash rounded up to whole blocks: compare only the hash.
    if (CRYPTO_memcmp(digest.data(), value.data(), encryptor.hashSize) != 0)
        throwWrongPassword();
    SecretBytes key = decryptField(encryptor, iterated, KeyValueBlock, encryptor.encryptedKeyValue);
    key.resize(dataKeyBytes, 0);
    return key;
}

AgilePageCipher::AgilePageCipher(const AgileKeyData& keyData, const SecretBytes& dataKey, std::uint32_t databaseKey)
    : m_keyData(keyData), m_hasher(keyData.hash), m_databaseKey(databaseKey), m_decrypt(dataKey.data(), dataKey.size()),
      m_dataKey(dataKey) {}

std::array<std::uint8_t, 16> AgilePageCipher::pageIv(std::uint32_t pageNumber) {
    std::uint8_t blockKey[4];
    pageBlockKey(m_databaseKey, pageNumber, blockKey);
    std::uint8_t digest[MaxDigestSize];
    m_hasher.begin();
    m_hasher.add(m_keyData.salt.data(), m_keyData.salt.size());
    m_hasher.add(blockKey, sizeof blockKey);
    m_hasher.finish(digest);
    std::array<std::uint8_t, 16> iv; // every digest is longer than an AES block
    std::copy_n(digest, iv.size(), iv.begin());
    return iv;
}

void AgilePageCipher::decryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) {
    const auto iv = pageIv(pageNumber);
    m_decrypt.apply(iv.data(), page, size);
}

void AgilePageCipher::encryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) {
    if (!m_encrypt)
        m_encrypt = std::make_unique<AesCbc>(m_dataKey.data(), m_dataKey.size(), AesCbc::Direction::Encrypt);
    const auto iv = pageIv(pageNumber);
    m_encrypt->apply(iv.data(), page, size);
}

std::unique_ptr<PageCipher> AgilePageCipher::clone() const {
    return std::make_unique<AgilePageCipher>(m_keyData, m_dataKey, m_databaseKey);
}

} // namespace agile

std::unique_ptr<PageCipher> unlockAgile(const AgileEncryption& encryption, const SecretBytes& password,
                                        std::uint32_t databaseKey) {
    const SecretBytes dataKey = agile::unlockDataKey(encryption.passwordKey, password, encryption.keyData.keyBits / 8);
    return std::make_unique<agile::AgilePageCipher>(encryption.keyData, dataKey, databaseKey);
}

} // namespace tabulon

#include "CryptoApiCipher.h"

#include "CryptoErrors.h"
#include "source/Rc4.h"

#include <openssl/crypto.h>

#include <array>

namespace tabulon {

namespace cryptoapi {

SecretBytes baseHash(std::span<const std::uint8_t> salt, const SecretBytes& password) {
    Hasher hasher(HashAlgorithm::Sha1);
    SecretBytes value(hasher.size());
    hasher.begin();
    hasher.add(salt.data(), salt.size());
    hasher.add(password.data(), password.size());
    hasher.finish(value.data());
    return value;
}

SecretBytes blockKeyRc4Key(Hasher& sha1, const SecretBytes& baseHash, std::span<const std::uint8_t> blockKey,
                           std::size_t keyBits) {
    SecretBytes key(sha1.size());
    sha1.begin();
    sha1.add(baseHash.data(), baseHash.size());
    sha1.add(blockKey.data(), blockKey.size());
    sha1.finish(key.data());
    key.resize(keyBits / 8, 0);
    if (keyBits == 40)
        key.resize(16, 0);
    return key;
}

bool verifies(const CryptoApiEncryption& encryption, const SecretBytes& baseHash, std::size_t keyBits) {
    const std::uint8_t blockZero[4] = {0, 0, 0, 0};
    Hasher hasher(HashAlgorithm::Sha1);
    const SecretBytes key = blockKeyRc4Key(hasher, baseHash, blockZero, keyBits);
    SecretBytes verifier(encryption.encryptedVerifier.data(), encryption.encryptedVerifier.size());
    SecretBytes hash(encryption.encryptedVerifierHash.data(), encryption.encryptedVerifierHash.size());
    // One key stream runs over the verifier and then over its hash.
    Rc4 rc4(key.data(), key.size());
    rc4.apply(verifier.data(), verifier.size());
    rc4.apply(hash.data(), hash.size());
    SecretBytes digest(hasher.size());
    hasher.begin();
    hasher.add(verifier.data(), verifier.size());
    hasher.finish(digest.data());
    return CRYPTO_memcmp(digest.data(), hash.data(), digest.size()) == 0;
}

CryptoApiPageCipher::CryptoApiPageCipher(SecretBytes baseHash, std::size_t keyBits, std::uint32_t databaseKey)
    : m_sha1(HashAlgorithm::Sha1), m_baseHash(std::move(baseHash)), m_keyBits(keyBits), m_databaseKey(databaseKey) {}

void CryptoApiPageCipher::decryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) {
    std::uint8_t blockKey[4];
    pageBlockKey(m_databaseKey, pageNumber, blockKey);
    const SecretBytes key = blockKeyRc4Key(m_sha1, m_baseHash, blockKey, m_keyBits);
    Rc4(key.data(), key.size()).apply(page, size);
}

void CryptoApiPageCipher::encryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) {
    decryptPage(pageNumber, page, size); // RC4 is its own inverse
}

std::unique_ptr<PageCipher> CryptoApiPageCipher::clone() const {
    return std::make_unique<CryptoApiPageCipher>(m_baseHash, m_keyBits, m_databaseKey);
}

} // namespace cryptoapi

std::unique_ptr<PageCipher> unlockCryptoApi(const CryptoApiEncryption& encryption, const SecretBytes& password,
                                            std::uint32_t databaseKey) {
    SecretBytes base = cryptoapi::baseHash(encryption.salt, password);
    // A key size of 0 should mean 40 bits, but some providers meant 128: the verifier decides.
    const std::array<std::size_t, 2> guesses{40, 128};
    for (const std::size_t keyBits : guesses) {
        const std::size_t bits = encryption.keyBits ? encryption.keyBits : keyBits;
        if (cryptoapi::verifies(encryption, base, bits))
            return std::make_unique<cryptoapi::CryptoApiPageCipher>(std::move(base), bits, databaseKey);
        if (encryption.keyBits)
            break;
    }
    throwWrongPassword();
}

} // namespace tabulon

#pragma once

#include "EncryptionInfo.h"
#include "PageCipher.h"
#include "SecretBytes.h"

#include <memory>

namespace tabulon {

// RC4 CryptoAPI encryption (version x.2): the password check and the page cipher.
namespace cryptoapi {

// H0 = SHA-1(salt + password); not iterated in this scheme.
SecretBytes baseHash(std::span<const std::uint8_t> salt, const SecretBytes& password);

// The RC4 key of a 4-byte block key: the first keyBits/8 bytes of SHA-1(H0 + blockKey); a 40-bit
// key is followed by 11 zero bytes, as CryptoAPI's 40-bit RC4 keys are 128 bits with the rest zero.
// `sha1` is a SHA-1 hasher to reuse.
SecretBytes blockKeyRc4Key(Hasher& sha1, const SecretBytes& baseHash, std::span<const std::uint8_t> blockKey,
                           std::size_t keyBits);

// True when the verifier decrypted with block key 0 matches its SHA-1.
bool verifies(const CryptoApiEncryption& encryption, const SecretBytes& baseHash, std::size_t keyBits);

class CryptoApiPageCipher : public PageCipher {
public:
    CryptoApiPageCipher(SecretBytes baseHash, std::size_t keyBits, std::uint32_t databaseKey);

    void decryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) override;
    void encryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) override;
    std::unique_ptr<PageCipher> clone() const override;

private:
    Hasher m_sha1;
    SecretBytes m_baseHash;
    std::size_t m_keyBits;
    std::uint32_t m_databaseKey;
};

} // namespace cryptoapi

// Checks `password` (UTF-16LE bytes) against an RC4 CryptoAPI file and returns its page cipher.
// Raises 3031 when the verifier does not match.
std::unique_ptr<PageCipher> unlockCryptoApi(const CryptoApiEncryption& encryption, const SecretBytes& password,
                                            std::uint32_t databaseKey);

} // namespace tabulon

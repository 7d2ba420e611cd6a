#include "AesCipher.h"

#include "CryptoErrors.h"

#include <openssl/evp.h>

#include <climits>
#include <string>

namespace tabulon {

namespace {

const EVP_CIPHER* cbcCipher(std::size_t keySize) {
    switch (keySize) {
    case 16:
        return EVP_aes_128_cbc();
    case 24:
        return EVP_aes_192_cbc();
    case 32:
        return EVP_aes_256_cbc();
    default:
        throwDamagedEncryption("AES key of " + std::to_string(keySize * 8) + " bits");
    }
}

} // namespace

AesCbc::AesCbc(const std::uint8_t* key, std::size_t keySize, Direction direction)
    : m_context(nullptr), m_direction(direction) {
    const EVP_CIPHER* cipher = cbcCipher(keySize);
    m_context = EVP_CIPHER_CTX_new();
    if (!m_context)
        throwCryptoFailure("cannot create a cipher context");
    const int encrypt = direction == Direction::Encrypt ? 1 : 0;
    // Office ciphertext is whole blocks with no padding; without this OpenSSL expects PKCS#7.
    if (EVP_CipherInit_ex(m_context, cipher, nullptr, key, nullptr, encrypt) != 1 ||
        EVP_CIPHER_CTX_set_padding(m_context, 0) != 1) {
        EVP_CIPHER_CTX_free(m_context);
        throwCryptoFailure("cannot set up AES");
    }
}

AesCbc::~AesCbc() {
    EVP_CIPHER_CTX_free(m_context);
}

void AesCbc::apply(const std::uint8_t* iv, std::uint8_t* data, std::size_t size) {
    if (size % 16 != 0 || size > INT_MAX)
        throwCryptoFailure("AES input of " + std::to_string(size) + " bytes");
    int written = 0;
    int tail = 0;
    const int encrypt = m_direction == Direction::Encrypt ? 1 : 0;
    if (EVP_CipherInit_ex(m_context, nullptr, nullptr, nullptr, iv, encrypt) != 1 ||
        EVP_CipherUpdate(m_context, data, &written, data, static_cast<int>(size)) != 1 ||
        EVP_CipherFinal_ex(m_context, data + written, &tail) != 1 || static_cast<std::size_t>(written + tail) != size)
        throwCryptoFailure("AES failed");
}

} // namespace tabulon

#include "Digest.h"

#include "CryptoErrors.h"

#include <openssl/evp.h>

#include <string>

namespace tabulon {

namespace {

const char* fetchName(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Sha1:
        return "SHA1";
    case HashAlgorithm::Sha256:
        return "SHA256";
    case HashAlgorithm::Sha384:
        return "SHA384";
    case HashAlgorithm::Sha512:
        return "SHA512";
    }
    return "SHA1";
}

} // namespace

std::optional<HashAlgorithm> hashAlgorithmNamed(std::string_view name) {
    if (name == "SHA1")
        return HashAlgorithm::Sha1;
    if (name == "SHA256")
        return HashAlgorithm::Sha256;
    if (name == "SHA384")
        return HashAlgorithm::Sha384;
    if (name == "SHA512")
        return HashAlgorithm::Sha512;
    return std::nullopt;
}

std::size_t digestSize(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Sha1:
        return 20;
    case HashAlgorithm::Sha256:
        return 32;
    case HashAlgorithm::Sha384:
        return 48;
    case HashAlgorithm::Sha512:
        return 64;
    }
    return 20;
}

// The method is fetched once: an implicit fetch on every start would cost more than hashing a short input.
Hasher::Hasher(HashAlgorithm algorithm)
    : m_context(EVP_MD_CTX_new()), m_method(EVP_MD_fetch(nullptr, fetchName(algorithm), nullptr)),
      m_size(digestSize(algorithm)) {
    if (!m_context || !m_method) {
        EVP_MD_CTX_free(m_context);
        EVP_MD_free(m_method);
        throwCryptoFailure(std::string("cannot set up ") + fetchName(algorithm));
    }
}

Hasher::~Hasher() {
    EVP_MD_CTX_free(m_context);
    EVP_MD_free(m_method);
}

void Hasher::begin() {
    if (EVP_DigestInit_ex(m_context, m_method, nullptr) != 1)
        throwCryptoFailure("cannot start a hash");
}

void Hasher::add(const void* data, std::size_t size) {
    if (EVP_DigestUpdate(m_context, data, size) != 1)
        throwCryptoFailure("cannot hash");
}

void Hasher::finish(std::uint8_t* digest) {
    if (EVP_DigestFinal_ex(m_context, digest, nullptr) != 1)
        throwCryptoFailure("cannot finish a hash");
}

} // namespace tabulon

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

struct evp_md_ctx_st;
struct evp_md_st;

namespace tabulon {

enum class HashAlgorithm { Sha1, Sha256, Sha384, Sha512 };

// The hash of an Office encryption descriptor's name ("SHA1", "SHA512", …); none for names not supported.
std::optional<HashAlgorithm> hashAlgorithmNamed(std::string_view name);

// The digest length in bytes: 20, 32, 48 or 64.
std::size_t digestSize(HashAlgorithm algorithm);

// The largest digest any algorithm above produces.
constexpr std::size_t MaxDigestSize = 64;

// One reusable hashing context; the key derivations hash hundreds of thousands of short inputs, so
// the context is set up once. Raises 1000 if the crypto library fails.
class Hasher {
public:
    explicit Hasher(HashAlgorithm algorithm);
    ~Hasher();
    Hasher(const Hasher&) = delete;
    Hasher& operator=(const Hasher&) = delete;

    std::size_t size() const { return m_size; }
    void begin();
    void add(const void* data, std::size_t size);
    // Writes size() bytes to `digest`, which may be the buffer just hashed.
    void finish(std::uint8_t* digest);

private:
    evp_md_ctx_st* m_context;
    evp_md_st* m_method;
    std::size_t m_size;
};

} // namespace tabulon

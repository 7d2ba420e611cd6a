#pragma once

#include <cstddef>
#include <cstdint>

struct evp_cipher_ctx_st;

namespace tabulon {

// AES in CBC mode without padding, on whole 16-byte blocks, in place. One key, many IVs: the context
// keeps the expanded key and only the IV changes per call, as page decryption needs.
// Raises 3343 for a key that is not 16, 24 or 32 bytes, 1000 if the crypto library fails.
class AesCbc {
public:
    enum class Direction { Decrypt, Encrypt };

    AesCbc(const std::uint8_t* key, std::size_t keySize, Direction direction = Direction::Decrypt);
    ~AesCbc();
    AesCbc(const AesCbc&) = delete;
    AesCbc& operator=(const AesCbc&) = delete;

    // `size` must be a multiple of 16; `iv` is 16 bytes.
    void apply(const std::uint8_t* iv, std::uint8_t* data, std::size_t size);

private:
    evp_cipher_ctx_st* m_context;
    Direction m_direction;
};

} // namespace tabulon

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tabulon {

// The RC4 stream cipher. Access masks page 0 with it, encodes Jet pages with it and Office's CryptoAPI
// encryption uses it; OpenSSL 3 offers it only through its legacy provider, so it is written here.
// Encryption and decryption are the same operation.
class Rc4 {
public:
    Rc4(const std::uint8_t* key, std::size_t keyLength);
    // The state reveals the key (an encrypted database's page keys), so it is wiped.
    ~Rc4();
    Rc4(const Rc4&) = default;
    Rc4& operator=(const Rc4&) = default;

    // XORs `length` bytes at `data` with the next bytes of the key stream.
    void apply(std::uint8_t* data, std::size_t length);

private:
    std::array<std::uint8_t, 256> m_state{};
    std::uint8_t m_i = 0;
    std::uint8_t m_j = 0;
};

} // namespace tabulon

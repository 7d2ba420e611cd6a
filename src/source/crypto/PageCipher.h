#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tabulon {

// The verified key of one encrypted .accdb. Every page n >= 1 is encrypted on its own, so any page
// can be decrypted in any order; page 0 is never encrypted. Decrypting keeps the length.
class PageCipher {
public:
    virtual ~PageCipher() = default;

    // Decrypts page `pageNumber` (>= 1) in place; `size` is the page size, a multiple of 16.
    virtual void decryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) = 0;
    // The inverse, for building encrypted files in tests and benchmarks.
    virtual void encryptPage(std::uint32_t pageNumber, std::uint8_t* page, std::size_t size) = 0;
    // An independent cipher with the same keys, for a second handle on the file without asking for
    // the password again.
    virtual std::unique_ptr<PageCipher> clone() const = 0;
};

// The 4-byte block key of page n: the little-endian form of (databaseKey XOR n).
inline void pageBlockKey(std::uint32_t databaseKey, std::uint32_t pageNumber, std::uint8_t out[4]) {
    const std::uint32_t value = databaseKey ^ pageNumber;
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace tabulon

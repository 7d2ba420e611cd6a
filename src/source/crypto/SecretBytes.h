#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tabulon {

// Overwrites `size` bytes at `data` in a way the compiler cannot drop.
void wipeSecret(void* data, std::size_t size);

// Bytes that must not outlive their use: a password, an intermediate hash, a key. Wiped when destroyed
// and before a growing append gives up its old buffer, so no copy is left behind in freed memory.
class SecretBytes {
public:
    SecretBytes() = default;
    explicit SecretBytes(std::size_t size) : m_bytes(size, 0) {}
    SecretBytes(const std::uint8_t* data, std::size_t size) : m_bytes(data, data + size) {}
    SecretBytes(const SecretBytes& other) = default;
    SecretBytes(SecretBytes&& other) noexcept = default;
    SecretBytes& operator=(const SecretBytes& other);
    SecretBytes& operator=(SecretBytes&& other) noexcept;
    ~SecretBytes() { clear(); }

    std::uint8_t* data() { return m_bytes.data(); }
    const std::uint8_t* data() const { return m_bytes.data(); }
    std::size_t size() const { return m_bytes.size(); }
    bool empty() const { return m_bytes.empty(); }
    std::uint8_t operator[](std::size_t i) const { return m_bytes[i]; }

    void append(const std::uint8_t* data, std::size_t size);
    // Shortens to `size` bytes, wiping the bytes cut off; a larger size pads with `fill`.
    void resize(std::size_t size, std::uint8_t fill);
    void clear();

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace tabulon

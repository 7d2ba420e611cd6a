#include "SecretBytes.h"

#include <openssl/crypto.h>

namespace tabulon {

void wipeSecret(void* data, std::size_t size) {
    if (data && size)
        OPENSSL_cleanse(data, size);
}

SecretBytes& SecretBytes::operator=(const SecretBytes& other) {
    if (this != &other) {
        clear();
        m_bytes = other.m_bytes;
    }
    return *this;
}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept {
    if (this != &other) {
        clear();
        m_bytes = std::move(other.m_bytes);
        other.m_bytes.clear();
    }
    return *this;
}

void SecretBytes::append(const std::uint8_t* data, std::size_t size) {
    if (m_bytes.size() + size <= m_bytes.capacity()) {
        m_bytes.insert(m_bytes.end(), data, data + size);
        return;
    }
    std::vector<std::uint8_t> grown;
    grown.reserve(2 * (m_bytes.size() + size));
    grown.assign(m_bytes.begin(), m_bytes.end());
    grown.insert(grown.end(), data, data + size);
    clear();
    m_bytes.swap(grown);
}

void SecretBytes::resize(std::size_t size, std::uint8_t fill) {
    if (size < m_bytes.size())
        wipeSecret(m_bytes.data() + size, m_bytes.size() - size);
    if (size > m_bytes.capacity()) {
        SecretBytes grown;
        grown.m_bytes.reserve(size);
        grown.m_bytes.assign(m_bytes.begin(), m_bytes.end());
        *this = std::move(grown);
    }
    m_bytes.resize(size, fill);
}

void SecretBytes::clear() {
    wipeSecret(m_bytes.data(), m_bytes.size());
    m_bytes.clear();
}

} // namespace tabulon

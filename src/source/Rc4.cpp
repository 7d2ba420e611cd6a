#include "Rc4.h"

#include "source/crypto/SecretBytes.h"

#include <utility>

namespace tabulon {

Rc4::Rc4(const std::uint8_t* key, std::size_t keyLength) {
    for (std::size_t i = 0; i < 256; ++i)
        m_state[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + m_state[i] + key[i % keyLength]);
        std::swap(m_state[i], m_state[j]);
    }
}

Rc4::~Rc4() {
    wipeSecret(m_state.data(), m_state.size());
}

void Rc4::apply(std::uint8_t* data, std::size_t length) {
    for (std::size_t n = 0; n < length; ++n) {
        m_i = static_cast<std::uint8_t>(m_i + 1);
        m_j = static_cast<std::uint8_t>(m_j + m_state[m_i]);
        std::swap(m_state[m_i], m_state[m_j]);
        data[n] ^= m_state[static_cast<std::uint8_t>(m_state[m_i] + m_state[m_j])];
    }
}

} // namespace tabulon

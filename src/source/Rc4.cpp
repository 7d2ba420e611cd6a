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

// The counters live in locals: `data` is a byte pointer and may alias the members, so the compiler
// would otherwise reload and store them for every byte (RC4 ran at about two thirds of this speed).
void Rc4::apply(std::uint8_t* data, std::size_t length) {
    std::uint8_t i = m_i;
    std::uint8_t j = m_j;
    for (std::size_t n = 0; n < length; ++n) {
        i = static_cast<std::uint8_t>(i + 1);
        const std::uint8_t si = m_state[i];
        j = static_cast<std::uint8_t>(j + si);
        const std::uint8_t sj = m_state[j];
        m_state[i] = sj;
        m_state[j] = si;
        data[n] ^= m_state[static_cast<std::uint8_t>(si + sj)];
    }
    m_i = i;
    m_j = j;
}

} // namespace tabulon

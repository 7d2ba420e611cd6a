#include "ConstraintNames.h"

#include "lib/Convert.h"

namespace tabulon {

namespace {

constexpr std::size_t kMaxNameUnits = 128;

// The longest prefix of the UTF-8 text that needs at most `units` UTF-16 code units, cut between
// characters.
std::string cutToUtf16Units(const std::string& text, std::size_t units) {
    std::size_t used = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::size_t needed = length == 4 ? 2 : 1;
        if (used + needed > units)
            return text.substr(0, at);
        used += needed;
        at += length;
    }
    return text;
}

} // namespace

ConstraintNames::ConstraintNames(const std::vector<std::string>& tables) {
    for (const std::string& table : tables)
        m_taken.insert(toLowerAscii(table));
}

bool ConstraintNames::taken(const std::string& name) const {
    return m_taken.count(toLowerAscii(name)) != 0;
}

std::string ConstraintNames::claim(const std::string& wanted) {
    std::string name = cutToUtf16Units(wanted, kMaxNameUnits);
    for (int number = 2; taken(name); ++number) {
        const std::string suffix = "_" + std::to_string(number);
        name = cutToUtf16Units(wanted, kMaxNameUnits - suffix.size()) + suffix;
    }
    m_taken.insert(toLowerAscii(name));
    return name;
}

} // namespace tabulon

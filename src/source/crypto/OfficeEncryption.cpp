#include "OfficeEncryption.h"

#include "AgileCipher.h"
#include "CryptoApiCipher.h"
#include "EncryptionInfo.h"

namespace tabulon {

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Decodes one UTF-8 sequence at `text[at]`, advancing `at`; malformed input gives U+FFFD.
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80)
        return lead;
    std::size_t extra = 0;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        value = lead & 0x07;
    } else {
        return Replacement;
    }
    for (std::size_t i = 0; i < extra; ++i) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            return Replacement;
        value = value << 6 | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return Replacement;
    return value;
}

void appendUnit(SecretBytes& out, char32_t unit) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(unit), static_cast<std::uint8_t>(unit >> 8)};
    out.append(bytes, 2);
}

} // namespace

SecretBytes officePasswordBytes(std::string_view utf8) {
    SecretBytes out;
    out.resize(2 * MaxOfficePasswordUnits + 2, 0); // reserve once, so no copy is left behind
    out.resize(0, 0);
    std::size_t at = 0;
    while (at < utf8.size() && out.size() < 2 * MaxOfficePasswordUnits) {
        const char32_t c = nextCodePoint(utf8, at);
        if (c < 0x10000) {
            appendUnit(out, c);
            continue;
        }
        appendUnit(out, 0xD800 + ((c - 0x10000) >> 10));
        if (out.size() < 2 * MaxOfficePasswordUnits)
            appendUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    }
    return out;
}

std::unique_ptr<PageCipher> unlockEncryptedDatabase(std::span<const std::uint8_t> page0, std::size_t pageSize,
                                                    std::uint32_t databaseKey, std::string_view password) {
    const EncryptionInfo info = parseEncryptionInfo(page0, pageSize);
    const SecretBytes passwordBytes = officePasswordBytes(password);
    if (const auto* agileInfo = std::get_if<AgileEncryption>(&info))
        return unlockAgile(*agileInfo, passwordBytes, databaseKey);
    return unlockCryptoApi(std::get<CryptoApiEncryption>(info), passwordBytes, databaseKey);
}

} // namespace tabulon

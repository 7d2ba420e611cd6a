#include "Base64.h"

#include <openssl/evp.h>

#include <climits>

namespace tabulon {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text) {
    text = trimmed(text);
    if (text.size() % 4 != 0 || text.size() > INT_MAX / 2)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(text.size() / 4 * 3 + 1);
    const int decoded = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                        static_cast<int>(text.size()));
    if (decoded < 0)
        return std::nullopt;
    // EVP_DecodeBlock counts the zero bytes that "=" padding stands for.
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=')
        padding = text.size() >= 2 && text[text.size() - 2] == '=' ? 2 : 1;
    bytes.resize(static_cast<std::size_t>(decoded) - padding);
    return bytes;
}

} // namespace tabulon

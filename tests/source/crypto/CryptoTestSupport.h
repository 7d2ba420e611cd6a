#pragma once

#include "source/Rc4.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tabulon::test {

constexpr std::size_t PageSize = 4096;

inline std::vector<std::uint8_t> readTestFile(const std::string& name) {
    std::ifstream in(std::string(TABULON_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> firstPage(const std::vector<std::uint8_t>& file) {
    return {file.begin(), file.begin() + static_cast<std::ptrdiff_t>(std::min(file.size(), PageSize))};
}

// The database key: the u32 at 0x3E of page 0 after removing the header mask (RC4, key C7 DA 39 6B,
// from offset 0x18).
inline std::uint32_t databaseKeyOf(const std::vector<std::uint8_t>& page0) {
    const std::uint8_t mask[] = {0xC7, 0xDA, 0x39, 0x6B};
    std::vector<std::uint8_t> region(page0.begin() + 0x18, page0.begin() + 0x18 + 128);
    Rc4(mask, sizeof mask).apply(region.data(), region.size());
    const std::size_t at = 0x3E - 0x18;
    return static_cast<std::uint32_t>(region[at]) | static_cast<std::uint32_t>(region[at + 1]) << 8 |
           static_cast<std::uint32_t>(region[at + 2]) << 16 | static_cast<std::uint32_t>(region[at + 3]) << 24;
}

// Parses "01 AB ff" into bytes.
inline std::vector<std::uint8_t> hexBytes(const std::string& text) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        out.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
        i += 2;
    }
    return out;
}

template <typename Bytes> std::vector<std::uint8_t> prefix(const Bytes& bytes, std::size_t n) {
    return {bytes.data(), bytes.data() + std::min<std::size_t>(n, bytes.size())};
}

} // namespace tabulon::test

#include "source/Rc4.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tabulon;

TEST(Rc4, knownAnswer) {
    const std::string key = "Key";
    std::string text = "Plaintext";
    Rc4 rc4(reinterpret_cast<const std::uint8_t*>(key.data()), key.size());
    rc4.apply(reinterpret_cast<std::uint8_t*>(text.data()), text.size());
    const std::vector<std::uint8_t> expected{0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3};
    EXPECT_EQ(std::vector<std::uint8_t>(text.begin(), text.end()), expected);
}

TEST(Rc4, accessHeaderMaskStream) {
    // Access masks page 0 from offset 0x18 with this key; a database key of 0 is stored as FB 8A BC 4E.
    const std::uint8_t key[] = {0xC7, 0xDA, 0x39, 0x6B};
    std::vector<std::uint8_t> zeros(0x2A, 0);
    Rc4(key, sizeof key).apply(zeros.data(), zeros.size());
    EXPECT_EQ(zeros[0], 0xB5);
    EXPECT_EQ(zeros[1], 0x6F);
    EXPECT_EQ(zeros[0x26], 0xFB);
    EXPECT_EQ(zeros[0x29], 0x4E);
}

TEST(Rc4, streamContinuesAcrossCalls) {
    const std::uint8_t key[] = {1, 2, 3};
    std::vector<std::uint8_t> whole(100, 0), split(100, 0);
    Rc4(key, 3).apply(whole.data(), whole.size());
    Rc4 rc4(key, 3);
    rc4.apply(split.data(), 37);
    rc4.apply(split.data() + 37, 63);
    EXPECT_EQ(whole, split);
}

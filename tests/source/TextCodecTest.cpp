#include "source/TextCodec.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tabulon;

namespace {

std::string jetText(const std::vector<std::uint8_t>& bytes) {
    std::string out = "stale";
    decodeJetText(bytes.data(), bytes.size(), out);
    return out;
}

} // namespace

TEST(TextCodec, plainUtf16) {
    EXPECT_EQ(jetText({'a', 0, 0xE4, 0, 0x1F, 0x04}), "a\xC3\xA4\xD0\x9F"); // a, ä, П
    EXPECT_EQ(jetText({}), "");
}

TEST(TextCodec, surrogatePairsAndLoneSurrogates) {
    EXPECT_EQ(jetText({0x3D, 0xD8, 0x00, 0xDE}), "\xF0\x9F\x98\x80"); // U+1F600
    EXPECT_EQ(jetText({0x3D, 0xD8, 'a', 0}), "\xEF\xBF\xBD"
                                             "a");
    EXPECT_EQ(jetText({0x00, 0xDE}), "\xEF\xBF\xBD");
}

TEST(TextCodec, compressedRunsToggleOnZeroBytes) {
    EXPECT_EQ(jetText({0xFF, 0xFE, 'a', 'b', 0xE4}), "ab\xC3\xA4");
    // "a", then uncompressed "П", then compressed "b" again.
    EXPECT_EQ(jetText({0xFF, 0xFE, 'a', 0x00, 0x1F, 0x04, 0x00, 'b'}), "a\xD0\x9F"
                                                                       "b");
}

TEST(TextCodec, codePages) {
    CodePageDecoder western(1252);
    std::string out;
    const std::uint8_t pound[] = {0xA3, '5', 0x81};
    western.decode(pound, sizeof pound, out);
    EXPECT_EQ(out, "\xC2\xA3"
                   "5\xC2\x81");
    // The five bytes cp1252 leaves undefined become the C1 controls of their number, as on Windows;
    // their neighbours stay the characters cp1252 gives them (euro sign, low quote, Z caron, ...).
    const std::uint8_t gaps[] = {0x80, 0x81, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x91, 0x9C, 0x9D, 0x9E};
    western.decode(gaps, sizeof gaps, out);
    EXPECT_EQ(out, "\u20AC\u0081\u0152\u008D\u017D\u008F\u0090\u2018\u0153\u009D\u017E");
    CodePageDecoder chinese(936);
    const std::uint8_t gbk[] = {'G', 0xB1, 0xE0, 0xC2, 0xEB};
    chinese.decode(gbk, sizeof gbk, out);
    EXPECT_EQ(out, "G\xE7\xBC\x96\xE7\xA0\x81"); // G编码
}

TEST(TextCodec, utf8ToUtf16) {
    EXPECT_EQ(utf8ToUtf16("a\xC3\xA4\xF0\x9F\x98\x80"), std::u16string(u"a\u00E4\U0001F600"));
}

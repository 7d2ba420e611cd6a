#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon {

// Appends UTF-16LE code units as UTF-8; surrogate pairs become one character, an unpaired surrogate U+FFFD.
void appendUtf16LeAsUtf8(const std::uint8_t* data, std::size_t byteCount, std::string& out);

// Decodes a Jet4/ACE text value into `out` (replacing its content): UTF-16LE, or, when it starts with
// FF FE, Access's "compressed" form in which a 0x00 byte toggles between 1-byte and 2-byte characters.
void decodeJetText(const std::uint8_t* data, std::size_t size, std::string& out);

std::u16string utf8ToUtf16(std::string_view text);

// The bytes of `text` in the Windows code page, one byte per unit; characters the page lacks become 0xFFFF.
std::u16string encodeCodePage(const std::string& text, std::uint16_t codePage);

// Jet3 text: bytes of a Windows code page turned into UTF-8. Holds an iconv state: one per cursor.
class CodePageDecoder {
public:
    explicit CodePageDecoder(std::uint16_t codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    std::uint16_t codePage() const { return m_codePage; }
    // Replaces `out` with the decoded text; bytes the page does not define become U+FFFD.
    void decode(const std::uint8_t* data, std::size_t size, std::string& out);

private:
    std::uint16_t m_codePage;
    void* m_iconv;
};

} // namespace tabulon

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon {

// Appends the UTF-8 form of a code point; surrogates and values beyond U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

// Appends UTF-16 text (little- or big-endian code units) as UTF-8. A surrogate pair becomes one
// code point, an unpaired surrogate U+FFFD. An odd trailing byte is no code unit and is dropped.
void appendUtf16AsUtf8(std::string& out, const std::uint8_t* data, std::size_t byteCount, bool bigEndian);
std::string utf16ToUtf8(const std::uint8_t* data, std::size_t byteCount, bool bigEndian);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// The bytes as UTF-8 with every ill-formed sequence replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);

// Windows-1252 bytes (the ANSI code page of Western Windows systems) as UTF-8. The five bytes that
// code page leaves undefined map to the C1 controls of the same value, as Windows itself does.
std::string windows1252ToUtf8(std::string_view bytes);

} // namespace tabulon

#pragma once

#include "FileSystem.h"
#include "Variant.h"

#include <string>
#include <string_view>

namespace tabulon {

// The whole file as bytes. Raises 1000 for an empty path, 53 when the file does not exist,
// and the matching file error (naming the file) when it cannot be read.
Bytes ReadFile(const std::string& path);

// The whole file as UTF-8 text. With an empty encoding name the byte-order mark decides
// (FF FE "unicode_le", FE FF "unicode_be", EF BB BF "utf-8") and is removed; without a mark the
// bytes are in the system code page. Raises 53, naming the file, when it does not exist.
std::string ReadTextFile(const std::string& path, const std::string& encoding = "");

// Decodes bytes as ReadTextFile does. "unicode_le"/"unicode_be": UTF-16 (an odd trailing byte is
// dropped); "utf-8": UTF-8, ill-formed bytes as U+FFFD; any other name: the system code page,
// which is UTF-8 here; bytes that are no valid UTF-8 are read as Windows-1252, the code page the
// Windows version of these files was written in.
std::string decodeText(const Bytes& bytes, std::string_view encoding);

// Replaces the file's content with exactly these bytes, creating the file when needed. Raises the
// matching file error (76 when its folder does not exist), naming the file.
void WriteBinaryFile(const std::string& path, const Bytes& bytes);

// Writes the text in the system code page (UTF-8, no byte-order mark) as WriteBinaryFile does.
void WriteTextFile(const std::string& path, std::string_view text);

} // namespace tabulon

#pragma once

#include "Dictionary.h"

#include <string>
#include <string_view>

namespace tabulon {

// Settings files: sections of key=value lines, every line ending in CR LF.
//
//   [Section name]
//     key=value as text
//     listkey[]="item one","item ""two"""
//
// Values are written as they are, with no quoting, escaping or trimming; numbers in plain decimal.

// The text of a settings object: every top-level value must be a section dictionary, every value
// in a section a scalar or a StringList. Raises 13, naming the key, for anything else.
std::string FormatIniText(const Dictionary& settings);

// Writes FormatIniText(settings) to the file, replacing its content (WriteTextFile).
void WriteIniFile(const Dictionary& settings, const std::string& path);

// Reads settings text: section names as written between the brackets; keys trimmed of spaces and
// tabs and lower-cased; scalar values as trimmed texts, a value in double quotes without them;
// "key[]=" values as StringList. Keys before the first section line go into the top dictionary
// itself. A repeated key keeps its first place and its last value; a repeated section replaces the
// earlier one. CR LF, LF and a lone CR each end a line, mixed in one file as they come.
DictionaryPtr ParseIniText(std::string_view text);

// Reads the file (ReadTextFile, byte-order mark detected) with ParseIniText. Raises 53 when it is missing.
DictionaryPtr ReadIniFile(const std::string& path);

// Each item in quotes, every quote inside doubled, items separated by the delimiter; "" for no items.
std::string JoinQuotedList(const StringList& list, char delimiter = ',', char quote = '"');

// The items of a quoted list. A quoted item ends at a single quote ("" inside gives one quote) and
// the character after it is skipped as the delimiter, whatever it is; a missing closing quote runs
// to the end. An unquoted item takes its first character as it is, then runs to the next delimiter.
// Items are not trimmed; the empty text and a trailing delimiter each give an empty item.
StringList SplitQuotedList(std::string_view text, char delimiter = ',', char quote = '"');

} // namespace tabulon

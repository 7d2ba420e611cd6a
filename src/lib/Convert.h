#pragma once

#include "Variant.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon {

// The Boolean conversion of settings and flags: a Boolean as it is; a number is true when not 0;
// a text is true/false in any letter case, or a number (spaces around it allowed) true when not 0;
// the empty value is false. Any other text or value raises error 13 (type mismatch).
bool toBoolean(const Variant& value);

// Conversions of untrusted values: they never raise and fall back to "", 0, false and day zero.
std::string toText(const Variant& value);
std::int64_t toInteger(const Variant& value);
bool toBooleanOr(const Variant& value, bool fallback);
DateTime toDateTime(const Variant& value);

// True for `1`, ` -2.5 `, `1E+3`: an optional sign, digits with at most one point, an optional exponent,
// with spaces around. Nothing else counts as a number.
bool isNumericText(std::string_view text);
// Parses numeric text as `isNumericText` accepts it; false when it is not numeric.
bool parseNumericText(std::string_view text, double& out);

// The classic Val rule: blanks, tabs and line feeds anywhere are skipped; an optional sign, digits,
// one decimal point and an optional exponent (E or D) are read, or after "&H" / "&O" hexadecimal or
// octal digits; reading stops at the first other character; no number at the start gives 0.
double val(std::string_view text);

// Invariant text of numbers: "." as separator, no grouping; floating numbers in the shortest form
// that reads back as the same number of their own precision (a Single 0.1 is "0.1").
std::string integerText(std::int64_t value);
std::string singleText(float value);
std::string doubleText(double value);

// ASCII-only case mapping; settings keys and names compared without case are plain ASCII.
std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);

// Spaces (only the space character) removed from both ends.
std::string_view trimSpaces(std::string_view text);

} // namespace tabulon

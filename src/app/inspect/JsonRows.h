#pragma once

#include "lib/RowSource.h"

#include <ostream>
#include <string>

namespace tabulon {

// Appends `text` as a JSON string literal (quotes, backslashes and control characters escaped).
void appendJsonString(const std::string& text, std::string& out);

// Appends one value as JSON: null, true/false, integers, round-trip floats (non-finite ones as the strings
// "NaN", "Infinity", "-Infinity"), exact decimals as strings, date-times as "YYYY-MM-DD hh:mm:ss.fff",
// texts, bytes as "0x" and upper-case hex, lists as arrays, attachments as objects.
void appendJsonValue(const Variant& value, std::string& out);

// Writes every row of the cursor as one JSON array per line; returns the number of rows.
std::size_t writeJsonRows(RowCursor& cursor, std::ostream& out);

} // namespace tabulon

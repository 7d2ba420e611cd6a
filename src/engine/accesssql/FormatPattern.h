#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tabulon::accesssql {

// The .NET format string that SQL Server's FORMAT needs (with the 'en-US' culture) for an Access
// Format pattern: a date pattern (yyyy, mmm, dd, hh, nn, ss, AM/PM) or a number pattern
// (0, #, ",", ".", %). Nothing for a pattern with no counterpart (a quarter "q" among other
// parts, week numbers, named formats).
std::optional<std::string> dotNetFormat(std::string_view access);

} // namespace tabulon::accesssql

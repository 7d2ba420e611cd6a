#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tabulon::accesssql {

// Reads the text of an Access date literal (#m/d/yyyy hh:nn:ss#, #yyyy-mm-dd#, #m/d/yy#, #h:nn AM#,
// #d mmm yyyy#) as ISO 8601 "yyyy-mm-ddThh:mm:ss". A time alone falls on Access's day zero,
// 1899-12-30; a two-digit year below 30 is in the 2000s, as Access reads it. Nothing when the text
// is no date Access accepts in a query.
std::optional<std::string> accessDateToIso(std::string_view text);

// The T-SQL literal of an ISO 8601 date-time: a DATETIME from 1753 on (the type's range), else a
// DATETIME2(0). The 'T' form reads the same under every language and DATEFORMAT setting.
std::string isoDateLiteral(const std::string& iso);

} // namespace tabulon::accesssql

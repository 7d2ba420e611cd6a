#pragma once

#include "lib/Variant.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon {

// The largest binary value written into a statement, in bytes. Fixed; not a setting.
constexpr std::size_t kMaxBlobSize = 500000;

// Transact-SQL literals for the values a source row delivers. Each runs in time linear in its
// input; the append* forms add to the caller's buffer so that the record path reuses one string.

// A string literal: quoted runs with "'" doubled, control characters (codes 0 to 31) spliced in as
// CHAR(n), joined by "+"; "N" before each quoted run when `unicode`. Null gives NULL. A list (a
// multi-valued field) is written as its items joined by "; ". When the literal has CHAR(n) pieces
// and the text is longer than SQL Server's non-MAX limit (4000 UTF-16 units for N literals, 8000
// bytes otherwise), the first piece is converted to a MAX type so the concatenation is not cut.
std::string SafeString(const Variant& value, bool unicode);
void appendSafeString(std::string& out, const Variant& value, bool unicode);
void appendSafeText(std::string& out, std::string_view text, bool unicode);

// A number literal in the invariant format ("." separator, no grouping). Single and Double give the
// shortest text that reads back as the same value, with an exponent (E, sign, two or more digits)
// from 1E+15 (Single: 1E+07) up and below 1E-04 (the largest Single as 3.40282347E+38, within
// REAL's range); Currency and Decimal all their digits. Null, and
// anything that is no number, gives NULL; so do NaN and the infinities, which SQL Server cannot hold.
std::string SafeNumber(const Variant& value);
// As SafeNumber; returns false when a NaN or infinite value was written as NULL.
bool appendSafeNumber(std::string& out, const Variant& value);

// The SQL Server type a date-time value goes into, which decides the digits of its fraction.
enum class DateColumn { DateTime, DateTime2 };

// 'YYYY-MM-DDThh:mm:ss', ISO 8601 with a T, which SQL Server reads the same under every session
// language; a fraction of a second only when the value has one: for DATETIME rounded to the
// millisecond (three digits; the carry runs into the seconds, minutes, days and years), for
// DATETIME2 three digits for whole milliseconds, else up to seven without trailing zeros. A value
// that is no date-time counts as day zero, 1899-12-30 00:00:00. Null gives NULL.
std::string SafeDate(const Variant& value, DateColumn column = DateColumn::DateTime);
void appendSafeDate(std::string& out, const Variant& value, DateColumn column = DateColumn::DateTime);

// "0x" and two upper-case hex digits per byte; an empty value is "0x", SQL Server's empty binary.
// Null and a value that holds no bytes give the fallback: "0x00" when `required`, else NULL. Over
// kMaxBlobSize bytes: the fallback when `ignoreLargeBlobs`, else raises error 1003 naming the size.
std::string SafeBlob(const Variant& value, bool ignoreLargeBlobs, bool required);
void appendSafeBlob(std::string& out, const Variant& value, bool ignoreLargeBlobs, bool required);

// The name in square brackets, every "]" inside doubled so that no name can end the quoting early.
std::string SafeTableName(std::string_view name);
std::string SafeFieldName(std::string_view name);
void appendBracketed(std::string& out, std::string_view name);

} // namespace tabulon

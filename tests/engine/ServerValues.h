#pragma once

#include "SqlScript.h"

#include <cstdint>
#include <optional>
#include <string>

// How SQL Server reads a literal into a column of a given type: whether it fits, and the value it
// compares by in a unique index.
namespace servervalues {

enum class Category { Text, Integer, Bit, Money, Decimal, Real, Float, Date, Binary, Guid, Unknown };

Category categoryOf(const sqlscript::ColumnType& type);

// Whether the type text names a type SQL Server has, with arguments in their ranges; else why not.
std::optional<std::string> typeProblem(const sqlscript::ColumnType& type);

// Whether a value can stand in a column of the type: "" when it can, else why not. A Null is
// always accepted here (NOT NULL is the caller's check); a Function only by the DEFAULT rule.
std::string fitProblem(const sqlscript::Literal& value, const sqlscript::ColumnType& type);

// A date-time literal in ISO 8601 with a T, read into a date type: its 100-ns ticks since
// 0001-01-01 as that type stores them (DATETIME rounded to 1/300 s), or why it cannot be.
struct DateReading {
    std::int64_t ticks = 0;
    std::string problem;
};
DateReading readDate(const std::string& text, const sqlscript::ColumnType& type);

// The value a unique index compares: texts without letter case and trailing blanks, numbers and
// dates by value. Null compares equal to Null, as in SQL Server's unique indexes.
std::string keyOf(const sqlscript::Literal& value, const sqlscript::ColumnType& type);

} // namespace servervalues

#pragma once

#include "SqlScript.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A CHECK constraint's search condition read from a dump, and its value for one row under SQL Server's
// three-valued logic. Only the shapes the converter writes are read (comparisons, LIKE, IN, BETWEEN,
// IS NULL, AND, OR, NOT, arithmetic, LEN, CAST); anything else fails to read, so a rule names it.
namespace sqlscript {

class Parser;

struct Condition {
    enum class Kind { Column, Value, Compare, Like, In, Between, IsNull, And, Or, Not, Arithmetic, Len, Cast };
    Kind kind = Kind::Value;
    std::string text; // Column: its name; Compare and Arithmetic: the operator
    Literal value;    // Value
    ColumnType type;  // Cast: the type cast to
    bool negated = false;
    std::vector<Condition> args;
};

// Reads a search condition; raises std::runtime_error at the first token it cannot place.
Condition readCondition(Parser& p);

enum class Truth { False, True, Unknown };

// A column's value in the row and its type; the literal is null when the row gives the column none.
using ColumnValue = std::pair<const Literal*, const ColumnType*>;
using RowLookup = std::function<ColumnValue(const std::string& column)>;

// The condition's truth for the row; raises std::runtime_error when it names a column the row lacks or
// combines values SQL Server would not.
Truth evaluate(const Condition& condition, const RowLookup& row);

} // namespace sqlscript

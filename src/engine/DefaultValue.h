#pragma once

#include "SqlLiterals.h"
#include "lib/FieldTypes.h"

#include <string>

namespace tabulon {

// What SQL Server makes of an Access default expression for one column.
struct DefaultValue {
    std::string clause; // " DEFAULT ..." or "" for none
    std::string note;   // a report line when the expression was left out, else ""
};

// The column an Access default goes into: its field name, type code and SQL Server type text.
struct DefaultTarget {
    std::string fieldName;
    AccessType type = AccessType::None;
    std::string typeText;
    bool unicode = true;
    DateColumn dateColumn = DateColumn::DateTime;
};

// Turns an Access default expression, written with or without its leading "=", into a DEFAULT that
// SQL Server accepts for the column's type and that means what Access meant: a constant of the
// column's kind (a number, a text, a date-time from a #...# or quoted date) or Now() as GETDATE(),
// Date() as today's date without the time, Time() as the time of day on day zero. An expression
// with no such equivalent gets no clause and a note naming the field and the expression; a text is
// never given to a column that is not text. Yes/No defaults keep the Val rule of the scanner's "1",
// "0" and "NULL".
DefaultValue TranslateDefault(const std::string& expression, const DefaultTarget& target);

} // namespace tabulon

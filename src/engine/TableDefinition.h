#pragma once

#include "SqlLiterals.h"
#include "TableSelection.h"
#include "TypeMapping.h"

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace tabulon {

// The settings that shape a table definition, read by the run.
struct TableDefinitionOptions {
    bool unicode = true;
    std::string dateTimeType = "DATETIME"; // `datetimetype`, used unchanged
    bool transferDefaultValues = false;
    bool transferAutonumbers = false;
    bool transferIndexes = false;
    std::string storageEngine; // `storageengine`, lower-cased
};

struct TableColumns {
    std::vector<std::string> definitions; // one per defined column, in field order
    std::string identityColumn;           // "" when the table has none
    std::vector<bool> required;           // one slot per field; the defined columns' flags first
    std::vector<DateColumn> dateColumns;  // per defined column: the type its date-time values go into
    std::vector<std::string> notes;       // report lines: what of the fields could not be carried over
};

struct TableIndexes {
    std::vector<std::string> primaryKeys; // "PRIMARY KEY ([a], [b])", normally one
    std::vector<std::string> secondary;   // CREATE [UNIQUE ]INDEX statements
};

// The `Fields/Field` elements that become columns: the listed ones, or all when none is listed.
std::vector<pugi::xml_node> DefinedFields(const pugi::xml_node& table, const std::string& sourceName,
                                          const TableSelection& selection);

// Column definitions of a `Table` element: name, type, NOT NULL (Required or primary-key field),
// DEFAULT, IDENTITY (on the first auto-increment Byte, Integer, Long Integer or Big integer field
// only). Raises error 13 for a non-numeric Type, 91 for a missing element.
TableColumns DefineColumns(const pugi::xml_node& table, const std::string& sourceName, const TableSelection& selection,
                           const TableDefinitionOptions& options);

// The primary key clause and the secondary index statements. An index is kept when every key field
// becomes a column and none is a Memo, OLE, binary or complex field (SQL Server cannot index the MAX
// and IMAGE columns they become); foreign-key indexes never are. A unique index over a key field that
// allows NULLs gets "WHERE [f] IS NOT NULL AND ..." for each such field, since SQL Server counts NULLs
// as equal and Access does not. Raises when a listed key field names no field of the table.
TableIndexes DefineIndexes(const pugi::xml_node& table, const std::string& sourceName,
                           const std::string& destinationName, const TableSelection& selection,
                           const TableDefinitionOptions& options);

// An index as DefineIndexes carries it over.
struct CarriedIndex {
    std::string name;
    bool primary = false;
    bool unique = false;             // also true for the primary key
    bool filtered = false;           // a unique index over a column that allows NULLs, which leaves NULL keys out
    std::vector<std::string> fields; // key order
    std::vector<std::string> nullableFields; // of a filtered index: the key fields that allow NULL, in key order
};

// The indexes DefineIndexes carries over, in document order; none when indexes are not transferred.
std::vector<CarriedIndex> CarriedIndexes(const pugi::xml_node& table, const std::string& sourceName,
                                         const TableSelection& selection, const TableDefinitionOptions& options);

} // namespace tabulon

#pragma once

#include "SqlLiterals.h"
#include "accesssql/TsqlWriter.h"
#include "lib/FieldTypes.h"

#include <cstdint>
#include <string>

namespace tabulon {

struct TableDefinitionOptions;

// The literal a value is written as: SafeString, SafeNumber, an integer for Yes/No, SafeDate, SafeBlob.
enum class LiteralKind : std::uint8_t { Text, Number, Boolean, Date, Binary };

// How the SQL Server type text is made from a row's name.
enum class SqlTypeShape : std::uint8_t {
    Fixed,        // the name as it stands
    National,     // "N" (unicode on) + the name
    NationalSize, // "N" (unicode on) + the name + "(" + Size + ")"
    Decimal,      // the name + "(" + Size + "," + Scale + ")"
    DateSetting,  // the setting `datetimetype`, unchanged
    Unknown,      // a type no reader knows: the name, for the bytes its values are stored as
};

// How one Access field type is carried into SQL Server.
struct AccessTypeMapping {
    AccessType type;
    SqlTypeShape shape;
    const char* sqlName;
    bool numeric;               // a DEFAULT is written as a number
    LiteralKind literal;        // how its defaults are written
    accesssql::ValueType value; // what an Access expression (a validation rule) takes it as
    bool identity;              // an integer type, which SQL Server takes IDENTITY on
    bool indexable;             // not a MAX or IMAGE column, which SQL Server cannot index
};

// The mapping of an Access type; a code without a row of its own maps to VARBINARY(MAX) with
// binary literals, for the bytes its values are stored as.
const AccessTypeMapping& MappingOf(AccessType type);

struct ColumnType {
    std::string text;     // VARBINARY(MAX) for a type code without a mapping
    bool numeric = false; // DEFAULT written as a number
    bool unknown = false; // a type code no reader knows: the column holds the bytes the rows store
};

// The SQL Server column type of an Access field type. Big integers map to BIGINT; a Decimal's
// precision above 18 is written as 18 under the storage engine "brighthouse".
ColumnType MapColumnType(AccessType type, long long size, long long scale, const TableDefinitionOptions& options);

// The type a field's date-time values go into: DATETIME2 for Date/Time and Date/Time Extended when
// `datetimetype` says so, else DATETIME (Time always).
DateColumn DateColumnOf(AccessType type, const TableDefinitionOptions& options);

// The literal a cursor's value of the provider type is written as; Text for a type not listed.
LiteralKind LiteralKindOf(ProviderType type);

} // namespace tabulon

#pragma once

#include "Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tabulon {

// Provider type codes of the columns a cursor delivers (the ADO data-type enumeration).
namespace adotype {
constexpr int Empty = 0;
constexpr int SmallInt = 2;
constexpr int Integer = 3;
constexpr int Single = 4;
constexpr int Double = 5;
constexpr int Currency = 6;
constexpr int Date = 7;
constexpr int BSTR = 8;
constexpr int Boolean = 11;
constexpr int Decimal = 14;
constexpr int TinyInt = 16;
constexpr int UnsignedTinyInt = 17;
constexpr int BigInt = 20;
constexpr int Guid = 72;
constexpr int Binary = 128;
constexpr int Numeric = 131;
constexpr int DBTimeStamp = 135;
constexpr int VarWChar = 202;
constexpr int LongVarWChar = 203;
constexpr int VarBinary = 204;
constexpr int LongVarBinary = 205;
} // namespace adotype

// The four source inputs as the wizard collects them.
struct SourceCredentials {
    std::string fileName;
    std::string systemDatabase;
    std::string userName;
    std::string password;
};

// A forward-only, read-only pass over the rows of one table.
// Values per provider type: Boolean -> Boolean (never null); TinyInt/SmallInt/Integer/BigInt ->
// Integer; Single -> Single; Double -> Double; Currency (scale 4) and Numeric -> Decimal;
// Date/DBTimeStamp -> DateTime; VarWChar/LongVarWChar/Guid -> Text (GUID as
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"); Binary/VarBinary/LongVarBinary -> Bytes.
// Complex columns: a multi-valued field is a List of the item texts (type LongVarWChar); an
// attachment column is a Dictionary from file name to Bytes (type LongVarBinary). Any column may be Null.
class RowCursor {
public:
    virtual ~RowCursor() = default;

    virtual std::size_t columnCount() const = 0;
    virtual const std::string& columnName(std::size_t column) const = 0;
    virtual int columnType(std::size_t column) const = 0;
    // Moves to the next row; false when there is none. Must be called before the first row.
    virtual bool next() = 0;
    // A value of the current row; valid until the next call of next().
    virtual const Variant& value(std::size_t column) const = 0;
};

// An open source database as the conversion run uses it.
class SourceConnection {
public:
    virtual ~SourceConnection() = default;

    // The number of rows really stored in the table (counted, not the stale header count).
    virtual std::int64_t rowCount(const std::string& table) = 0;
    // A cursor over the named columns of the table, in that order; all columns when `columns` is empty.
    // Raises an Error naming the table or column when either does not exist.
    virtual std::unique_ptr<RowCursor> openCursor(const std::string& table,
                                                  const std::vector<std::string>& columns) = 0;
};

} // namespace tabulon

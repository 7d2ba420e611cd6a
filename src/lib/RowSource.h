#pragma once

#include "FieldTypes.h"
#include "Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tabulon {

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
    virtual ProviderType columnType(std::size_t column) const = 0;
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

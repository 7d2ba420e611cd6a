#pragma once

#include "TableDefinition.h"
#include "lib/FieldTypes.h"

#include <cstdint>
#include <string>

namespace tabulon {

// What a complex column (ACE attachments and multi-valued fields) holds, from its complex type's name.
enum class ComplexKind {
    None,
    Attachment,
    Byte,
    Integer,
    Long,
    Single,
    Double,
    Guid,
    Decimal,
    Text,
    VersionHistory,
    Unknown
};

ComplexKind complexKindFromTypeName(const std::string& name);

// How the cursor turns a column's bytes into a value.
enum class ValueKind : std::uint8_t {
    Boolean,
    Byte,
    Integer,
    Long,
    BigInt,
    Currency,
    Single,
    Double,
    DateTime,
    ExtendedDateTime,
    Decimal,
    Guid,
    Text,
    Memo,
    Binary,
    Ole,
    MultiValue,
    Attachment,
    Unknown
};

// The types a column of the file is read and described as: how the cursor decodes its bytes, the DAO
// field type code, and the ADO type the cursor reports. A complex column's kind comes from its complex
// type (None: the column is read as a plain one). Date/Time Extended, which has no classic DAO code, is
// reported as TimeStamp (23). A storage type no reader knows keeps its own number as DAO type and is
// delivered as the bytes the row holds (LongVarBinary); so is a complex column of an unknown kind,
// whose DAO type is None (0), not the stored 18 that DAO reads as fixed-length text.
struct StorageTypes {
    ValueKind kind = ValueKind::Unknown;
    AccessType access = AccessType::None;
    ProviderType provider = ProviderType::Empty;
};
StorageTypes storageTypesOf(const ColumnDefinition& column, ComplexKind complex);

// The DAO field size: bytes for fixed types and binaries, characters for text, 0 for memo and OLE.
long daoSizeOf(const ColumnDefinition& column, bool jet3);
// The DAO field attribute word: 1 fixed or 2 variable, 16 auto-increment, 32 updatable, 32768 hyperlink.
long daoAttributesOf(const ColumnDefinition& column);
// The precision and scale an OLE DB provider reports in its column schema; -1 where it reports null.
int providerPrecisionOf(const ColumnDefinition& column);
int providerScaleOf(const ColumnDefinition& column);

} // namespace tabulon

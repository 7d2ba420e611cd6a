#pragma once

#include "TableDefinition.h"

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

ValueKind valueKindOf(const ColumnDefinition& column, ComplexKind complex);

// The DAO field type code (Boolean 1 ... Decimal 20, Attachment 101, multi-valued 102..109). Date/Time
// Extended, which has no classic DAO code, is reported as 23 (Timestamp); an unknown storage type as its own
// number, and a complex column of an unknown kind as 0.
int daoTypeOf(const ColumnDefinition& column, ComplexKind complex);
// The DAO field size: bytes for fixed types and binaries, characters for text, 0 for memo and OLE.
long daoSizeOf(const ColumnDefinition& column, bool jet3);
// The DAO field attribute word: 1 fixed or 2 variable, 16 auto-increment, 32 updatable, 32768 hyperlink.
long daoAttributesOf(const ColumnDefinition& column);
// The ADO type code the cursor reports for the column; LongVarBinary for a type no reader knows,
// whose values are the bytes the row holds.
int adoTypeOf(ValueKind kind, const ColumnDefinition& column);
// The precision and scale an OLE DB provider reports in its column schema; -1 where it reports null.
int providerPrecisionOf(const ColumnDefinition& column);
int providerScaleOf(const ColumnDefinition& column);

} // namespace tabulon

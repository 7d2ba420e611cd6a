#pragma once

#include <ostream>

namespace tabulon {

// A field's type as the Access data engine (DAO) numbers it: the schema document's `Type`. Codes
// outside the list (a storage type no reader knows) keep their number.
enum class AccessType : int {
    None = 0, // a complex column of a kind no reader knows
    Boolean = 1,
    Byte = 2,
    Integer = 3,
    Long = 4,
    Currency = 5,
    Single = 6,
    Double = 7,
    Date = 8,
    Binary = 9,
    Text = 10,
    LongBinary = 11, // OLE Object
    Memo = 12,
    Guid = 15,
    BigInt = 16,
    VarBinary = 17,
    Char = 18, // fixed-length text
    Numeric = 19,
    Decimal = 20,
    Float = 21,
    Time = 22,
    TimeStamp = 23, // also Date/Time Extended, which has no code of its own
    Attachment = 101,
    ComplexByte = 102,
    ComplexInteger = 103,
    ComplexLong = 104,
    ComplexSingle = 105,
    ComplexDouble = 106,
    ComplexGuid = 107,
    ComplexDecimal = 108,
    ComplexText = 109,
};

// A column's type as an OLE DB provider reports it (the ADO data-type enumeration).
enum class ProviderType : int {
    Empty = 0,
    SmallInt = 2,
    Integer = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    BSTR = 8,
    Boolean = 11,
    Decimal = 14,
    TinyInt = 16,
    UnsignedTinyInt = 17,
    UnsignedSmallInt = 18,
    UnsignedInt = 19,
    BigInt = 20,
    UnsignedBigInt = 21,
    Guid = 72,
    Binary = 128,
    Char = 129,
    WChar = 130,
    Numeric = 131,
    DBDate = 133,
    DBTime = 134,
    DBTimeStamp = 135,
    VarChar = 200,
    LongVarChar = 201,
    VarWChar = 202,
    LongVarWChar = 203,
    VarBinary = 204,
    LongVarBinary = 205,
};

// The type a code names, as a schema document holds it; a code without a name keeps its number.
constexpr AccessType accessTypeOf(long long code) {
    return static_cast<AccessType>(static_cast<int>(code));
}

// The number a type code is stored and written as.
constexpr int codeOf(AccessType type) {
    return static_cast<int>(type);
}
constexpr int codeOf(ProviderType type) {
    return static_cast<int>(type);
}

// Test failures and messages show the number.
inline std::ostream& operator<<(std::ostream& out, AccessType type) {
    return out << codeOf(type);
}
inline std::ostream& operator<<(std::ostream& out, ProviderType type) {
    return out << codeOf(type);
}

} // namespace tabulon

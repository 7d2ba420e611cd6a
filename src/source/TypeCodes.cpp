#include "TypeCodes.h"

#include "lib/RowSource.h"

#include <map>

namespace tabulon {

ComplexKind complexKindFromTypeName(const std::string& name) {
    static const std::map<std::string, ComplexKind> kinds{{"MSysComplexType_Attachment", ComplexKind::Attachment},
                                                          {"MSysComplexType_UnsignedByte", ComplexKind::Byte},
                                                          {"MSysComplexType_Short", ComplexKind::Integer},
                                                          {"MSysComplexType_Long", ComplexKind::Long},
                                                          {"MSysComplexType_IEEESingle", ComplexKind::Single},
                                                          {"MSysComplexType_IEEEDouble", ComplexKind::Double},
                                                          {"MSysComplexType_GUID", ComplexKind::Guid},
                                                          {"MSysComplexType_Decimal", ComplexKind::Decimal},
                                                          {"MSysComplexType_Text", ComplexKind::Text}};
    const auto it = kinds.find(name);
    if (it != kinds.end())
        return it->second;
    if (name.rfind("MSysComplexTypeVH_", 0) == 0)
        return ComplexKind::VersionHistory;
    return ComplexKind::Unknown;
}

ValueKind valueKindOf(const ColumnDefinition& column, ComplexKind complex) {
    switch (column.type) {
    case jettype::Boolean:
        return ValueKind::Boolean;
    case jettype::Byte:
        return ValueKind::Byte;
    case jettype::Integer:
        return ValueKind::Integer;
    case jettype::Long:
        return ValueKind::Long;
    case jettype::BigInt:
        return ValueKind::BigInt;
    case jettype::Currency:
        return ValueKind::Currency;
    case jettype::Single:
        return ValueKind::Single;
    case jettype::Double:
        return ValueKind::Double;
    case jettype::DateTime:
        return ValueKind::DateTime;
    case jettype::ExtendedDateTime:
        return ValueKind::ExtendedDateTime;
    case jettype::Numeric:
        return ValueKind::Decimal;
    case jettype::Guid:
        return ValueKind::Guid;
    case jettype::Text:
        return ValueKind::Text;
    case jettype::Memo:
        return ValueKind::Memo;
    case jettype::Binary:
        return ValueKind::Binary;
    case jettype::Ole:
        return ValueKind::Ole;
    case jettype::Complex:
        if (complex == ComplexKind::Attachment)
            return ValueKind::Attachment;
        return complex == ComplexKind::Unknown || complex == ComplexKind::None ? ValueKind::Unknown
                                                                               : ValueKind::MultiValue;
    default:
        return ValueKind::Unknown;
    }
}

int daoTypeOf(const ColumnDefinition& column, ComplexKind complex) {
    switch (column.type) {
    case jettype::Binary:
        return column.isFixed() ? 9 : 17;
    case jettype::Text:
        return column.isFixed() ? 18 : 10;
    case jettype::Guid:
        return 15;
    case jettype::Numeric:
        return 20;
    case jettype::BigInt:
        return 16;
    case jettype::ExtendedDateTime:
        return 23;
    case jettype::Complex:
        switch (complex) {
        case ComplexKind::Attachment:
            return 101;
        case ComplexKind::Byte:
            return 102;
        case ComplexKind::Integer:
            return 103;
        case ComplexKind::Long:
            return 104;
        case ComplexKind::Single:
            return 105;
        case ComplexKind::Double:
            return 106;
        case ComplexKind::Guid:
            return 107;
        case ComplexKind::Decimal:
            return 108;
        case ComplexKind::Text:
            return 109;
        case ComplexKind::Unknown:
        case ComplexKind::None:
            // Not the stored 18, which DAO reads as fixed-length text: a number of no DAO type, so
            // that the column is carried as the bytes it stores, as the cursor delivers them.
            return 0;
        default:
            return column.type;
        }
    default:
        return column.type; // 1..8, 11, 12 are the same numbers in DAO; unknown types as stored
    }
}

long daoSizeOf(const ColumnDefinition& column, bool jet3) {
    // Calculated values carry 23 bytes of their own header in the stored length.
    const long stored = column.isCalculated() && column.length >= 23 ? column.length - 23 : column.length;
    switch (column.type) {
    case jettype::Boolean:
    case jettype::Byte:
        return 1;
    case jettype::Integer:
        return 2;
    case jettype::Long:
    case jettype::Single:
    case jettype::Complex:
        return 4;
    case jettype::Currency:
    case jettype::Double:
    case jettype::DateTime:
    case jettype::BigInt:
        return 8;
    case jettype::Guid:
    case jettype::Numeric:
        return 16;
    case jettype::Text:
        return jet3 ? stored : stored / 2;
    case jettype::Memo:
    case jettype::Ole:
        return 0;
    default:
        return stored;
    }
}

long daoAttributesOf(const ColumnDefinition& column) {
    long attributes = column.isFixed() ? 1 : 2;
    if (column.flags & 0x04)
        attributes |= 16;
    if (column.flags & 0x02)
        attributes |= 32;
    if (column.flags & 0x80)
        attributes |= 32768;
    return attributes;
}

int adoTypeOf(ValueKind kind, const ColumnDefinition& column) {
    switch (kind) {
    case ValueKind::Boolean:
        return adotype::Boolean;
    case ValueKind::Byte:
        return adotype::UnsignedTinyInt;
    case ValueKind::Integer:
        return adotype::SmallInt;
    case ValueKind::Long:
        return adotype::Integer;
    case ValueKind::BigInt:
        return adotype::BigInt;
    case ValueKind::Currency:
        return adotype::Currency;
    case ValueKind::Single:
        return adotype::Single;
    case ValueKind::Double:
        return adotype::Double;
    case ValueKind::DateTime:
        return adotype::Date;
    case ValueKind::ExtendedDateTime:
        return adotype::DBTimeStamp;
    case ValueKind::Decimal:
        return adotype::Numeric;
    case ValueKind::Guid:
        return adotype::Guid;
    case ValueKind::Text:
        return adotype::VarWChar;
    case ValueKind::Memo:
    case ValueKind::MultiValue:
        return adotype::LongVarWChar;
    case ValueKind::Binary:
        return column.isFixed() ? adotype::Binary : adotype::VarBinary;
    case ValueKind::Ole:
    case ValueKind::Attachment:
        return adotype::LongVarBinary;
    case ValueKind::Unknown:
        // A type no reader knows is delivered as the bytes it has in the row, so nothing is lost.
        return adotype::LongVarBinary;
    }
    return adotype::Empty;
}

int providerPrecisionOf(const ColumnDefinition& column) {
    switch (column.type) {
    case jettype::Byte:
        return 3;
    case jettype::Integer:
        return 5;
    case jettype::Long:
        return 10;
    case jettype::Single:
        return 7;
    case jettype::Double:
        return 15;
    case jettype::Currency:
    case jettype::BigInt:
        return 19;
    case jettype::Numeric:
        return column.precision;
    default:
        return -1;
    }
}

int providerScaleOf(const ColumnDefinition& column) {
    return column.type == jettype::Numeric ? column.scale : -1;
}

} // namespace tabulon

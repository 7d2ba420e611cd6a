#include "TypeMapping.h"

#include "TableDefinition.h"
#include "lib/Convert.h"

namespace tabulon {

namespace {

using A = AccessType;
using L = LiteralKind;
using S = SqlTypeShape;
using V = accesssql::ValueType;

constexpr bool kNumeric = true;
constexpr bool kIdentity = true;
constexpr bool kIndexable = true;

// clang-format off
constexpr AccessTypeMapping kMappings[] = {
    // Access type   SQL Server type                   DEFAULT    literal     expression  IDENTITY   index
    {A::Boolean,        S::Fixed,        "BIT",          kNumeric, L::Boolean, V::Boolean, false,     kIndexable},
    {A::Byte,           S::Fixed,        "SMALLINT",     kNumeric, L::Number,  V::Number,  kIdentity, kIndexable},
    {A::Integer,        S::Fixed,        "INT",          kNumeric, L::Number,  V::Number,  kIdentity, kIndexable},
    {A::Long,           S::Fixed,        "INT",          kNumeric, L::Number,  V::Number,  kIdentity, kIndexable},
    {A::Currency,       S::Fixed,        "MONEY",        kNumeric, L::Number,  V::Number,  false,     kIndexable},
    {A::Single,         S::Fixed,        "REAL",         kNumeric, L::Number,  V::Number,  false,     kIndexable},
    {A::Double,         S::Fixed,        "FLOAT",        kNumeric, L::Number,  V::Number,  false,     kIndexable},
    {A::Date,           S::DateSetting,  "",             false,    L::Date,    V::Date,    false,     kIndexable},
    {A::Binary,         S::Fixed,        "IMAGE",        false,    L::Binary,  V::Unknown, false,     false},
    {A::Text,           S::NationalSize, "VARCHAR",      false,    L::Text,    V::Text,    false,     kIndexable},
    {A::LongBinary,     S::Fixed,        "IMAGE",        false,    L::Binary,  V::Unknown, false,     false},
    {A::Memo,           S::National,     "VARCHAR(MAX)", false,    L::Text,    V::Text,    false,     false},
    // A GUID's text is the same in any code page.
    {A::Guid,           S::Fixed,        "VARCHAR(38)",  false,    L::Text,    V::Unknown, false,     kIndexable},
    {A::BigInt,         S::Fixed,        "BIGINT",       kNumeric, L::Number,  V::Number,  kIdentity, kIndexable},
    {A::VarBinary,      S::Fixed,        "IMAGE",        false,    L::Binary,  V::Unknown, false,     false},
    {A::Char,           S::NationalSize, "CHAR",         false,    L::Text,    V::Text,    false,     kIndexable},
    {A::Numeric,        S::Fixed,        "FLOAT",        kNumeric, L::Number,  V::Number,  false,     kIndexable},
    {A::Decimal,        S::Decimal,      "DECIMAL",      kNumeric, L::Number,  V::Number,  false,     kIndexable},
    {A::Float,          S::Fixed,        "FLOAT",        kNumeric, L::Number,  V::Number,  false,     kIndexable},
    {A::Time,           S::Fixed,        "DATETIME",     false,    L::Date,    V::Date,    false,     kIndexable},
    {A::TimeStamp,      S::DateSetting,  "",             false,    L::Date,    V::Date,    false,     kIndexable},
    {A::Attachment,     S::Fixed,        "IMAGE",        false,    L::Binary,  V::Unknown, false,     false},
    // Multi-valued fields carry their items as one text.
    {A::ComplexByte,    S::National,     "VARCHAR(MAX)", false,    L::Text,    V::Unknown, false,     false},
    {A::ComplexInteger, S::National,     "VARCHAR(MAX)", false,    L::Text,    V::Unknown, false,     false},
    {A::ComplexLong,    S::National,     "VARCHAR(MAX)", false,    L::Text,    V::Unknown, false,     false},
    {A::ComplexSingle,  S::National,     "VARCHAR(MAX)", false,    L::Text,    V::Unknown, false,     false},
    {A::ComplexDouble,  S::National,     "VARCHAR(MAX)", false,    L::Text,    V::Unknown, false,     false},
    {A::ComplexGuid,    S::National,     "VARCHAR(MAX)", false,    L::Text,    V::Unknown, false,     false},
    {A::ComplexDecimal, S::National,     "VARCHAR(MAX)", false,    L::Text,    V::Unknown, false,     false},
    {A::ComplexText,    S::National,     "VARCHAR(MAX)", false,    L::Text,    V::Unknown, false,     false},
};

constexpr AccessTypeMapping kUnknownType =
    {A::None,           S::Unknown,      "VARBINARY(MAX)", false,  L::Binary,  V::Unknown, false,     false};

// The provider types a cursor may report, by the literal their values are written as.
constexpr struct {
    ProviderType type;
    LiteralKind literal;
} kProviderLiterals[] = {
    {ProviderType::SmallInt, L::Number},        {ProviderType::Integer, L::Number},
    {ProviderType::Single, L::Number},          {ProviderType::Double, L::Number},
    {ProviderType::Currency, L::Number},        {ProviderType::Decimal, L::Number},
    {ProviderType::TinyInt, L::Number},         {ProviderType::UnsignedTinyInt, L::Number},
    {ProviderType::UnsignedSmallInt, L::Number}, {ProviderType::UnsignedInt, L::Number},
    {ProviderType::BigInt, L::Number},          {ProviderType::UnsignedBigInt, L::Number},
    {ProviderType::Numeric, L::Number},         {ProviderType::Boolean, L::Boolean},
    {ProviderType::Date, L::Date},              {ProviderType::DBDate, L::Date},
    {ProviderType::DBTime, L::Date},            {ProviderType::DBTimeStamp, L::Date},
    {ProviderType::Binary, L::Binary},          {ProviderType::VarBinary, L::Binary},
    {ProviderType::LongVarBinary, L::Binary},
};
// clang-format on

} // namespace

const AccessTypeMapping& MappingOf(AccessType type) {
    for (const AccessTypeMapping& mapping : kMappings)
        if (mapping.type == type)
            return mapping;
    return kUnknownType;
}

ColumnType MapColumnType(AccessType type, long long size, long long scale, const TableDefinitionOptions& options) {
    const AccessTypeMapping& mapping = MappingOf(type);
    const std::string national = options.unicode ? "N" : "";
    switch (mapping.shape) {
    case S::National:
        return {national + mapping.sqlName, mapping.numeric};
    case S::NationalSize:
        return {national + mapping.sqlName + "(" + std::to_string(size) + ")", mapping.numeric};
    case S::Decimal: {
        const long long precision = options.storageEngine == "brighthouse" && size > 18 ? 18 : size;
        return {std::string(mapping.sqlName) + "(" + std::to_string(precision) + "," + std::to_string(scale) + ")",
                mapping.numeric};
    }
    case S::DateSetting:
        return {options.dateTimeType, mapping.numeric};
    case S::Unknown:
        return {mapping.sqlName, mapping.numeric, true};
    case S::Fixed:
        break;
    }
    return {mapping.sqlName, mapping.numeric};
}

DateColumn DateColumnOf(AccessType type, const TableDefinitionOptions& options) {
    const bool followsSetting = MappingOf(type).shape == S::DateSetting;
    return followsSetting && toUpperAscii(options.dateTimeType) == "DATETIME2" ? DateColumn::DateTime2
                                                                               : DateColumn::DateTime;
}

LiteralKind LiteralKindOf(ProviderType type) {
    for (const auto& entry : kProviderLiterals)
        if (entry.type == type)
            return entry.literal;
    return L::Text; // every text and GUID type, and any type the list does not name
}

} // namespace tabulon

#include "TypeCodes.h"

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

namespace {

using P = ProviderType;

constexpr long kStoredBytes = -1;      // the stored length
constexpr long kStoredCharacters = -2; // the stored length in characters
constexpr int kNoPrecision = -1;
constexpr int kColumnPrecision = -2; // the precision stored with the column

// One row per storage type of the file; a fixed-length binary or text has a DAO and ADO type of its own.
struct StorageRule {
    std::uint8_t storage;
    ValueKind kind;
    AccessType access;
    AccessType fixedAccess;
    ProviderType provider;
    ProviderType fixedProvider;
    long size; // DAO size
    int precision;
};

constexpr StorageRule rule(std::uint8_t storage, ValueKind kind, AccessType access, ProviderType provider, long size,
                           int precision = kNoPrecision) {
    return {storage, kind, access, access, provider, provider, size, precision};
}

// clang-format off
constexpr StorageRule kStorageRules[] = {
    rule(jettype::Boolean,          ValueKind::Boolean,          AccessType::Boolean,    P::Boolean,         1),
    rule(jettype::Byte,             ValueKind::Byte,             AccessType::Byte,       P::UnsignedTinyInt, 1, 3),
    rule(jettype::Integer,          ValueKind::Integer,          AccessType::Integer,    P::SmallInt,        2, 5),
    rule(jettype::Long,             ValueKind::Long,             AccessType::Long,       P::Integer,         4, 10),
    rule(jettype::BigInt,           ValueKind::BigInt,           AccessType::BigInt,     P::BigInt,          8, 19),
    rule(jettype::Currency,         ValueKind::Currency,         AccessType::Currency,   P::Currency,        8, 19),
    rule(jettype::Single,           ValueKind::Single,           AccessType::Single,     P::Single,          4, 7),
    rule(jettype::Double,           ValueKind::Double,           AccessType::Double,     P::Double,          8, 15),
    rule(jettype::DateTime,         ValueKind::DateTime,         AccessType::Date,       P::Date,            8),
    rule(jettype::ExtendedDateTime, ValueKind::ExtendedDateTime, AccessType::TimeStamp,  P::DBTimeStamp,     kStoredBytes),
    rule(jettype::Numeric,          ValueKind::Decimal,          AccessType::Decimal,    P::Numeric,         16,
         kColumnPrecision),
    rule(jettype::Guid,             ValueKind::Guid,             AccessType::Guid,       P::Guid,            16),
    {jettype::Text,   ValueKind::Text,   AccessType::Text,      AccessType::Char,   P::VarWChar,  P::VarWChar,
     kStoredCharacters, kNoPrecision},
    rule(jettype::Memo,             ValueKind::Memo,             AccessType::Memo,       P::LongVarWChar,    0),
    {jettype::Binary, ValueKind::Binary, AccessType::VarBinary, AccessType::Binary, P::VarBinary, P::Binary,
     kStoredBytes, kNoPrecision},
    rule(jettype::Ole,              ValueKind::Ole,              AccessType::LongBinary, P::LongVarBinary,   0),
    // The kind and types of a complex column come from its complex type (below).
    rule(jettype::Complex,          ValueKind::Unknown,          AccessType::None,       P::LongVarBinary,   4),
};
// clang-format on

struct ComplexRule {
    ComplexKind complex;
    ValueKind kind;
    AccessType access;
};

constexpr ComplexRule kComplexRules[] = {
    {ComplexKind::Attachment, ValueKind::Attachment, AccessType::Attachment},
    {ComplexKind::Byte, ValueKind::MultiValue, AccessType::ComplexByte},
    {ComplexKind::Integer, ValueKind::MultiValue, AccessType::ComplexInteger},
    {ComplexKind::Long, ValueKind::MultiValue, AccessType::ComplexLong},
    {ComplexKind::Single, ValueKind::MultiValue, AccessType::ComplexSingle},
    {ComplexKind::Double, ValueKind::MultiValue, AccessType::ComplexDouble},
    {ComplexKind::Guid, ValueKind::MultiValue, AccessType::ComplexGuid},
    {ComplexKind::Decimal, ValueKind::MultiValue, AccessType::ComplexDecimal},
    {ComplexKind::Text, ValueKind::MultiValue, AccessType::ComplexText},
    // An append-only memo's hidden history, never listed as a field: DAO's reading of the stored 18.
    {ComplexKind::VersionHistory, ValueKind::MultiValue, AccessType::Char},
};

const StorageRule* storageRuleOf(const ColumnDefinition& column) {
    for (const StorageRule& rule : kStorageRules)
        if (rule.storage == column.type)
            return &rule;
    return nullptr;
}

StorageTypes complexTypesOf(ComplexKind complex) {
    for (const ComplexRule& rule : kComplexRules)
        if (rule.complex == complex)
            return {rule.kind, rule.access, rule.kind == ValueKind::Attachment ? P::LongVarBinary : P::LongVarWChar};
    // Not the stored 18, which DAO reads as fixed-length text: a number of no DAO type, so that the
    // column is carried as the bytes it stores, as the cursor delivers them.
    return {ValueKind::Unknown, AccessType::None, P::LongVarBinary};
}

} // namespace

StorageTypes storageTypesOf(const ColumnDefinition& column, ComplexKind complex) {
    if (column.type == jettype::Complex)
        return complexTypesOf(complex);
    const StorageRule* rule = storageRuleOf(column);
    if (!rule) // delivered as the bytes it has in the row, so nothing is lost
        return {ValueKind::Unknown, static_cast<AccessType>(column.type), P::LongVarBinary};
    return column.isFixed() ? StorageTypes{rule->kind, rule->fixedAccess, rule->fixedProvider}
                            : StorageTypes{rule->kind, rule->access, rule->provider};
}

long daoSizeOf(const ColumnDefinition& column, bool jet3) {
    // Calculated values carry 23 bytes of their own header in the stored length.
    const long stored = column.isCalculated() && column.length >= 23 ? column.length - 23 : column.length;
    const StorageRule* rule = storageRuleOf(column);
    const long size = rule ? rule->size : kStoredBytes;
    if (size == kStoredCharacters)
        return jet3 ? stored : stored / 2;
    return size == kStoredBytes ? stored : size;
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

int providerPrecisionOf(const ColumnDefinition& column) {
    const StorageRule* rule = storageRuleOf(column);
    const int precision = rule ? rule->precision : kNoPrecision;
    return precision == kColumnPrecision ? column.precision : precision;
}

int providerScaleOf(const ColumnDefinition& column) {
    return column.type == jettype::Numeric ? column.scale : -1;
}

} // namespace tabulon

#include "engine/TypeMapping.h"
#include "engine/TableDefinition.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

using V = accesssql::ValueType;

TableDefinitionOptions options(bool unicode, const char* dateTimeType) {
    TableDefinitionOptions o;
    o.unicode = unicode;
    o.dateTimeType = dateTimeType;
    return o;
}

struct Expected {
    AccessType type;
    long long size, scale;
    const char* unicode;   // unicode on, DATETIME
    const char* noUnicode; // unicode off, DATETIME2
    bool numeric;
    LiteralKind literal;
    V value;
    bool identity;
    bool indexable;
};

constexpr bool N = true; // numeric
constexpr bool I = true; // identity
constexpr bool X = true; // indexable
using L = LiteralKind;

// clang-format off
const Expected kEveryAccessType[] = {
    {AccessType::Boolean,        1, 0,   "BIT",            "BIT",            N,     L::Boolean, V::Boolean, false, X},
    {AccessType::Byte,           1, 0,   "SMALLINT",       "SMALLINT",       N,     L::Number,  V::Number,  I,     X},
    {AccessType::Integer,        2, 0,   "INT",            "INT",            N,     L::Number,  V::Number,  I,     X},
    {AccessType::Long,           4, 0,   "INT",            "INT",            N,     L::Number,  V::Number,  I,     X},
    {AccessType::Currency,       19, 4,  "MONEY",          "MONEY",          N,     L::Number,  V::Number,  false, X},
    {AccessType::Single,         4, 0,   "REAL",           "REAL",           N,     L::Number,  V::Number,  false, X},
    {AccessType::Double,         8, 0,   "FLOAT",          "FLOAT",          N,     L::Number,  V::Number,  false, X},
    {AccessType::Date,           8, 0,   "DATETIME",       "DATETIME2",      false, L::Date,    V::Date,    false, X},
    {AccessType::Binary,         255, 0, "IMAGE",          "IMAGE",          false, L::Binary,  V::Unknown, false, false},
    {AccessType::Text,           50, 0,  "NVARCHAR(50)",   "VARCHAR(50)",    false, L::Text,    V::Text,    false, X},
    {AccessType::LongBinary,     0, 0,   "IMAGE",          "IMAGE",          false, L::Binary,  V::Unknown, false, false},
    {AccessType::Memo,           0, 0,   "NVARCHAR(MAX)",  "VARCHAR(MAX)",   false, L::Text,    V::Text,    false, false},
    {AccessType::Guid,           16, 0,  "VARCHAR(38)",    "VARCHAR(38)",    false, L::Text,    V::Unknown, false, X},
    {AccessType::BigInt,         8, 0,   "BIGINT",         "BIGINT",         N,     L::Number,  V::Number,  I,     X},
    {AccessType::VarBinary,      255, 0, "IMAGE",          "IMAGE",          false, L::Binary,  V::Unknown, false, false},
    {AccessType::Char,           10, 0,  "NCHAR(10)",      "CHAR(10)",       false, L::Text,    V::Text,    false, X},
    {AccessType::Numeric,        8, 0,   "FLOAT",          "FLOAT",          N,     L::Number,  V::Number,  false, X},
    {AccessType::Decimal,        28, 10, "DECIMAL(28,10)", "DECIMAL(28,10)", N,     L::Number,  V::Number,  false, X},
    {AccessType::Float,          8, 0,   "FLOAT",          "FLOAT",          N,     L::Number,  V::Number,  false, X},
    {AccessType::Time,           8, 0,   "DATETIME",       "DATETIME",       false, L::Date,    V::Date,    false, X},
    {AccessType::TimeStamp,      8, 0,   "DATETIME",       "DATETIME2",      false, L::Date,    V::Date,    false, X},
    {AccessType::Attachment,     0, 0,   "IMAGE",          "IMAGE",          false, L::Binary,  V::Unknown, false, false},
    {AccessType::ComplexByte,    0, 0,   "NVARCHAR(MAX)",  "VARCHAR(MAX)",   false, L::Text,    V::Unknown, false, false},
    {AccessType::ComplexInteger, 0, 0,   "NVARCHAR(MAX)",  "VARCHAR(MAX)",   false, L::Text,    V::Unknown, false, false},
    {AccessType::ComplexLong,    0, 0,   "NVARCHAR(MAX)",  "VARCHAR(MAX)",   false, L::Text,    V::Unknown, false, false},
    {AccessType::ComplexSingle,  0, 0,   "NVARCHAR(MAX)",  "VARCHAR(MAX)",   false, L::Text,    V::Unknown, false, false},
    {AccessType::ComplexDouble,  0, 0,   "NVARCHAR(MAX)",  "VARCHAR(MAX)",   false, L::Text,    V::Unknown, false, false},
    {AccessType::ComplexGuid,    0, 0,   "NVARCHAR(MAX)",  "VARCHAR(MAX)",   false, L::Text,    V::Unknown, false, false},
    {AccessType::ComplexDecimal, 0, 0,   "NVARCHAR(MAX)",  "VARCHAR(MAX)",   false, L::Text,    V::Unknown, false, false},
    {AccessType::ComplexText,    0, 0,   "NVARCHAR(MAX)",  "VARCHAR(MAX)",   false, L::Text,    V::Unknown, false, false},
    // Codes no reader knows, a complex column of an unknown kind among them: the bytes the rows store.
    {AccessType::None,           4, 0,   "VARBINARY(MAX)", "VARBINARY(MAX)", false, L::Binary,  V::Unknown, false, false},
    {accessTypeOf(13),           0, 0,   "VARBINARY(MAX)", "VARBINARY(MAX)", false, L::Binary,  V::Unknown, false, false},
    {accessTypeOf(70),           510, 0, "VARBINARY(MAX)", "VARBINARY(MAX)", false, L::Binary,  V::Unknown, false, false},
    {accessTypeOf(110),          0, 0,   "VARBINARY(MAX)", "VARBINARY(MAX)", false, L::Binary,  V::Unknown, false, false},
};
// clang-format on

TEST(TypeMapping, everyAccessTypeUnderEachUnicodeAndDateSetting) {
    for (const Expected& e : kEveryAccessType) {
        const ColumnType unicode = MapColumnType(e.type, e.size, e.scale, options(true, "DATETIME"));
        const ColumnType plain = MapColumnType(e.type, e.size, e.scale, options(false, "DATETIME2"));
        EXPECT_EQ(unicode.text, e.unicode) << e.type;
        EXPECT_EQ(plain.text, e.noUnicode) << e.type;
        EXPECT_EQ(unicode.numeric, e.numeric) << e.type;
        EXPECT_EQ(plain.numeric, e.numeric) << e.type;
        EXPECT_EQ(unicode.unknown, std::string(e.unicode) == "VARBINARY(MAX)") << e.type;
    }
}

TEST(TypeMapping, everyAccessTypesLiteralExpressionTypeIdentityAndIndex) {
    for (const Expected& e : kEveryAccessType) {
        const AccessTypeMapping& mapping = MappingOf(e.type);
        EXPECT_EQ(mapping.literal, e.literal) << e.type;
        EXPECT_EQ(mapping.value, e.value) << e.type;
        EXPECT_EQ(mapping.identity, e.identity) << e.type;
        EXPECT_EQ(mapping.indexable, e.indexable) << e.type;
    }
}

// Date/Time and Date/Time Extended follow `datetimetype`, written as it stands; Time stays DATETIME.
TEST(TypeMapping, dateTimeTypesFollowTheSetting) {
    for (const char* setting : {"datetime2", "DATETIME2", "SMALLDATETIME", ""}) {
        EXPECT_EQ(MapColumnType(AccessType::Date, 8, 0, options(true, setting)).text, setting);
        EXPECT_EQ(MapColumnType(AccessType::TimeStamp, 8, 0, options(true, setting)).text, setting);
        EXPECT_EQ(MapColumnType(AccessType::Time, 8, 0, options(true, setting)).text, "DATETIME");
    }
    const TableDefinitionOptions two = options(true, "datetime2");
    const TableDefinitionOptions one = options(true, "DATETIME");
    EXPECT_EQ(DateColumnOf(AccessType::Date, two), DateColumn::DateTime2);
    EXPECT_EQ(DateColumnOf(AccessType::TimeStamp, two), DateColumn::DateTime2);
    EXPECT_EQ(DateColumnOf(AccessType::Time, two), DateColumn::DateTime);
    EXPECT_EQ(DateColumnOf(AccessType::Text, two), DateColumn::DateTime);
    EXPECT_EQ(DateColumnOf(AccessType::Date, one), DateColumn::DateTime);
    EXPECT_EQ(DateColumnOf(AccessType::TimeStamp, options(true, "SMALLDATETIME")), DateColumn::DateTime);
}

TEST(TypeMapping, decimalPrecisionUnderBrighthouse) {
    TableDefinitionOptions brighthouse = options(true, "DATETIME");
    brighthouse.storageEngine = "brighthouse";
    EXPECT_EQ(MapColumnType(AccessType::Decimal, 28, 0, brighthouse).text, "DECIMAL(18,0)");
    EXPECT_EQ(MapColumnType(AccessType::Decimal, 19, 2, brighthouse).text, "DECIMAL(18,2)");
    EXPECT_EQ(MapColumnType(AccessType::Decimal, 18, 2, brighthouse).text, "DECIMAL(18,2)");
    EXPECT_EQ(MapColumnType(AccessType::Decimal, 28, 0, options(true, "DATETIME")).text, "DECIMAL(28,0)");
}

// Every provider type of the ADO enumeration, as the record transfer writes its values.
TEST(TypeMapping, providerTypesByTheLiteralTheirValuesBecome) {
    using P = ProviderType;
    const std::pair<P, L> cases[] = {
        {P::BSTR, L::Text},
        {P::Guid, L::Text},
        {P::Char, L::Text},
        {P::WChar, L::Text},
        {P::VarChar, L::Text},
        {P::LongVarChar, L::Text},
        {P::VarWChar, L::Text},
        {P::LongVarWChar, L::Text},
        {P::SmallInt, L::Number},
        {P::Integer, L::Number},
        {P::Single, L::Number},
        {P::Double, L::Number},
        {P::Currency, L::Number},
        {P::Decimal, L::Number},
        {P::TinyInt, L::Number},
        {P::UnsignedTinyInt, L::Number},
        {P::UnsignedSmallInt, L::Number},
        {P::UnsignedInt, L::Number},
        {P::BigInt, L::Number},
        {P::UnsignedBigInt, L::Number},
        {P::Numeric, L::Number},
        {P::Boolean, L::Boolean},
        {P::Date, L::Date},
        {P::DBDate, L::Date},
        {P::DBTime, L::Date},
        {P::DBTimeStamp, L::Date},
        {P::Binary, L::Binary},
        {P::VarBinary, L::Binary},
        {P::LongVarBinary, L::Binary},
        {static_cast<P>(999), L::Text},
    };
    for (const auto& [type, literal] : cases)
        EXPECT_EQ(LiteralKindOf(type), literal) << type;
}

} // namespace

// Values through the forward-only cursor: every type, exact, on real files.

#include "TestFiles.h"
#include "lib/Dictionary.h"
#include "lib/Error.h"
#include "source/AccessDatabase.h"
#include "source/TypeCodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace tabulon;
using tabulon::test::accessFile;
using tabulon::test::generatedFile;

namespace {

// All rows of a table, copied out of the cursor.
struct Rows {
    std::vector<std::string> names;
    std::vector<ProviderType> types;
    std::vector<std::vector<Variant>> rows;

    const Variant& at(std::size_t row, const std::string& column) const {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == column)
                return rows.at(row).at(i);
        throw std::runtime_error("no column " + column);
    }
    ProviderType type(const std::string& column) const {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == column)
                return types[i];
        return ProviderType::Empty;
    }
};

Rows readAll(const std::string& file, const std::string& table, const std::vector<std::string>& columns = {},
             const ReaderOptions& options = {}) {
    auto database = AccessDatabase::open({file, "", "", ""}, options);
    auto cursor = database->openCursor(table, columns);
    Rows result;
    for (std::size_t i = 0; i < cursor->columnCount(); ++i) {
        result.names.push_back(cursor->columnName(i));
        result.types.push_back(cursor->columnType(i));
    }
    while (cursor->next()) {
        std::vector<Variant> row;
        for (std::size_t i = 0; i < cursor->columnCount(); ++i)
            row.push_back(cursor->value(i));
        result.rows.push_back(std::move(row));
    }
    return result;
}

std::string decimalText(const Variant& value) {
    return value.type() == Variant::Type::Decimal ? value.decimal().toString() : "not a decimal";
}

std::string dateText(const Variant& value) {
    return value.type() == Variant::Type::DateTime ? value.dateTime().toIsoMilliseconds() : "not a date";
}

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

} // namespace

TEST(CursorTypes, providerTypeCodesPerColumn) {
    const Rows r = readAll(generatedFile("edge.accdb"), "AllTypes");
    EXPECT_EQ(r.type("Flag"), ProviderType::Boolean);
    EXPECT_EQ(r.type("ByteVal"), ProviderType::UnsignedTinyInt);
    EXPECT_EQ(r.type("IntVal"), ProviderType::SmallInt);
    EXPECT_EQ(r.type("LongVal"), ProviderType::Integer);
    EXPECT_EQ(r.type("Money"), ProviderType::Currency);
    EXPECT_EQ(r.type("SingleVal"), ProviderType::Single);
    EXPECT_EQ(r.type("DoubleVal"), ProviderType::Double);
    EXPECT_EQ(r.type("WhenVal"), ProviderType::Date);
    EXPECT_EQ(r.type("ShortText"), ProviderType::VarWChar);
    EXPECT_EQ(r.type("Notes"), ProviderType::LongVarWChar);
    EXPECT_EQ(r.type("Blob"), ProviderType::LongVarBinary);
    EXPECT_EQ(r.type("RowGuid"), ProviderType::Guid);
    EXPECT_EQ(r.type("Dec10_2"), ProviderType::Numeric);
    EXPECT_EQ(r.type("VarBin"), ProviderType::VarBinary);
    EXPECT_EQ(r.type("BigVal"), ProviderType::BigInt);
    EXPECT_EQ(r.type("CalcText"), ProviderType::VarWChar);
    EXPECT_EQ(r.type("CalcDouble"), ProviderType::Double);
}

TEST(CursorValues, typicalRow) {
    const Rows r = readAll(generatedFile("edge.accdb"), "AllTypes");
    ASSERT_EQ(r.rows.size(), 13u);
    EXPECT_EQ(r.at(0, "Flag"), Variant(true));
    EXPECT_EQ(r.at(0, "ByteVal"), Variant(42));
    EXPECT_EQ(decimalText(r.at(0, "Money")), "1234.5678");
    EXPECT_EQ(r.at(0, "DoubleVal"), Variant(2.718281828459045));
    EXPECT_EQ(dateText(r.at(0, "WhenVal")), "2024-02-29 13:14:15.000");
    EXPECT_EQ(r.at(0, "ShortText"), Variant("Hello, world"));
    EXPECT_EQ(r.at(0, "RowGuid"), Variant("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"));
    EXPECT_EQ(decimalText(r.at(0, "Dec10_2")), "12345678.90");
    EXPECT_EQ(decimalText(r.at(0, "Dec28_0")), "1234567890123456789012345678");
    EXPECT_EQ(decimalText(r.at(0, "Dec28_10")), "123456789012345678.0123456789");
    EXPECT_EQ(r.at(0, "BigVal"), Variant(9007199254740993LL)); // not representable as a double
    EXPECT_EQ(r.at(0, "CalcText"), Variant("Hello, world!"));
}

TEST(CursorValues, nullIsNotEmpty) {
    const Rows r = readAll(generatedFile("edge.accdb"), "AllTypes");
    EXPECT_TRUE(r.at(1, "ShortText").isNull());
    EXPECT_TRUE(r.at(1, "Blob").isNull());
    EXPECT_EQ(r.at(1, "Flag"), Variant(false)); // Yes/No is never null
    EXPECT_EQ(r.at(2, "ShortText"), Variant(""));
    EXPECT_EQ(r.at(2, "Notes"), Variant(""));
    EXPECT_EQ(r.at(2, "Blob"), Variant(Bytes{}));
    EXPECT_EQ(r.at(2, "VarBin"), Variant(Bytes{}));
}

TEST(CursorValues, extremes) {
    const Rows r = readAll(generatedFile("edge.accdb"), "AllTypes");
    EXPECT_EQ(decimalText(r.at(2, "Money")), "-922337203685477.5808");
    EXPECT_EQ(decimalText(r.at(3, "Money")), "922337203685477.5807");
    EXPECT_EQ(dateText(r.at(2, "WhenVal")), "0100-01-01 00:00:00.000");
    EXPECT_EQ(dateText(r.at(3, "WhenVal")), "9999-12-31 23:59:59.000");
    EXPECT_EQ(decimalText(r.at(2, "Dec28_0")), "-9999999999999999999999999999");
    EXPECT_EQ(r.at(2, "BigVal"), Variant(static_cast<long long>(INT64_MIN)));
    EXPECT_EQ(r.at(2, "DoubleVal"), Variant(-1.7976931348623157e308));
    EXPECT_EQ(r.at(2, "SingleVal"), Variant(-3.4028235e38f));
    EXPECT_EQ(r.at(3, "ByteVal"), Variant(255));
    EXPECT_EQ(r.at(3, "ShortText").text().size(), 255u);
}

TEST(CursorValues, longValuesAreComplete) {
    const Rows r = readAll(generatedFile("edge.accdb"), "AllTypes");
    EXPECT_GE(r.at(3, "Notes").text().size(), 70000u); // 70,000 characters, past libmdb's 16 KB cut
    EXPECT_EQ(r.at(3, "Blob").bytes().size(), 500000u);
    EXPECT_EQ(r.at(4, "Blob").bytes().size(), 500001u);
    const Rows memo = readAll(accessFile("a2007_long_text.accdb"), "Table1");
    std::size_t longest = 0;
    for (const auto& row : memo.rows)
        for (const auto& value : row)
            if (value.isText())
                longest = std::max(longest, value.text().size());
    EXPECT_EQ(longest, 5000u);
    const Rows ole = readAll(accessFile("a2007_ole_package.accdb"), "OleTable");
    EXPECT_EQ(ole.rows.at(0).at(1).bytes().size(), 33245u);
}

TEST(CursorValues, textWithNulsControlsAndSurrogates) {
    const Rows r = readAll(generatedFile("edge.accdb"), "AllTypes");
    EXPECT_EQ(r.at(6, "ShortText"), Variant(std::string("nul\0inside", 10)));
    EXPECT_EQ(r.at(6, "Notes"), Variant(std::string("memo with nul \0 char", 20)));
    EXPECT_EQ(r.at(4, "ShortText"), Variant("O'Brien said \"hi\"; 50% off [sic] `tick` \\back"));
    EXPECT_EQ(r.at(5, "Text50"), Variant("Ελληνικά 中文 😀"));
    const Rows emoji = readAll(accessFile("a2010_emoji.accdb"), "data");
    EXPECT_EQ(emoji.rows.size(), 80u);
    EXPECT_EQ(emoji.rows.at(0).at(1), Variant("a😀a"));
}

TEST(CursorValues, binaryWithNulBytes) {
    const Rows r = readAll(generatedFile("edge.accdb"), "AllTypes");
    const Bytes bytes = r.at(0, "VarBin").bytes();
    EXPECT_EQ(bytes, (Bytes{0x02, 0x21, 0x40, 0x5F, 0x7E, 0x9D, 0xBC, 0xDB}));
    EXPECT_EQ(r.at(6, "Blob").bytes(), Bytes{0x09});
    const Rows index = readAll(accessFile("a2010_binary_index.accdb"), "Test");
    bool emptyBinary = false;
    for (const auto& row : index.rows)
        for (const auto& value : row)
            emptyBinary = emptyBinary || (value.type() == Variant::Type::Bytes && value.bytes().empty());
    EXPECT_TRUE(emptyBinary);
}

TEST(CursorValues, datesBeforeTheEpochKeepTheirTime) {
    const Rows r = readAll(generatedFile("edge.accdb"), "AllTypes");
    EXPECT_EQ(dateText(r.at(5, "WhenVal")), "1600-02-29 18:30:00.000");
    EXPECT_EQ(dateText(r.at(6, "WhenVal")), "1899-12-29 12:00:00.000");
    EXPECT_EQ(dateText(r.at(4, "WhenVal")), "1899-12-30 13:45:30.000");
    EXPECT_EQ(dateText(r.at(7, "WhenVal")), "2024-01-01 12:34:56.789");
    const Rows old = readAll(accessFile("a2007_old_dates.accdb"), "Table1");
    EXPECT_EQ(dateText(old.rows.at(0).at(1)), "1582-10-15 00:00:00.000");
    EXPECT_EQ(dateText(old.rows.at(3).at(1)), "1392-01-10 00:00:00.000");
}

TEST(CursorValues, extendedDateTimeTo100ns) {
    const Rows r = readAll(accessFile("a2019_ext_datetime.accdb"), "Table1", {"DateExt"});
    EXPECT_EQ(r.types[0], ProviderType::DBTimeStamp);
    const auto parts = r.rows.at(5).at(0).dateTime().parts();
    EXPECT_EQ(parts.fractionTicks, 3456789);
    EXPECT_EQ(dateText(r.rows.at(7).at(0)), "0100-06-14 12:45:00.123");
    EXPECT_TRUE(r.rows.at(4).at(0).isNull());
}

TEST(CursorValues, specialFloats) {
    const Rows r = readAll(generatedFile("edge.mdb"), "SpecialFloats");
    // Columns: ID, Label, Single, Double.
    EXPECT_TRUE(std::isnan(r.rows.at(0).at(3).real()));
    EXPECT_TRUE(std::isnan(r.rows.at(0).at(2).single()));
    EXPECT_EQ(r.rows.at(1).at(3).real(), INFINITY);
    EXPECT_EQ(r.rows.at(2).at(2).single(), -INFINITY);
    EXPECT_TRUE(std::signbit(r.rows.at(3).at(3).real()));
    EXPECT_EQ(r.rows.at(4).at(3).real(), 5e-324);
    EXPECT_EQ(r.rows.at(4).at(2).single(), 1e-45f);
}

TEST(CursorValues, decimalFromAccess2000) {
    const Rows r = readAll(accessFile("a2000_decimal.mdb"), "test");
    bool negative = false;
    for (const auto& value : r.rows.at(0))
        negative = negative || (value.type() == Variant::Type::Decimal && value.decimal().negative);
    EXPECT_TRUE(negative);
}

TEST(CursorValues, compressedUnicodeAndJet3CodePages) {
    const Rows r = readAll(accessFile("a2003_unicode_compression.mdb"), "Table");
    EXPECT_EQ(r.rows.at(1).at(1), Variant("ääkkösiä"));
    EXPECT_EQ(r.rows.at(2).at(1), Variant("Мир"));
    const Rows western = readAll(accessFile("a97_gbk_codepage.mdb"), "table1");
    EXPECT_EQ(western.rows.at(0).at(1), Variant("GBK±àÂë")); // what the file's own code page says
    ReaderOptions chinese;
    chinese.jet3CodePage = 936;
    const Rows gbk = readAll(accessFile("a97_gbk_codepage.mdb"), "table1", {}, chinese);
    EXPECT_EQ(gbk.rows.at(0).at(1), Variant("GBK编码"));
    const Rows pound = readAll(accessFile("a97_project_ole_memo.mdb"), "MSP_PROJECTS");
    bool hasPound = false;
    for (const auto& value : pound.rows.at(0))
        hasPound = hasPound || (value.isText() && value.text().find("\xC2\xA3") != std::string::npos);
    EXPECT_TRUE(hasPound);
}

// Sets an environment variable for the life of a test and removes it after.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) { ::setenv(name, value, 1); }
    ~ScopedVariable() { ::unsetenv(m_name); }

private:
    const char* m_name;
};

TEST(CursorValues, jet3CodePageFromTheEnvironment) {
    const std::string gbkFile = accessFile("a97_gbk_codepage.mdb");
    {
        ScopedVariable chinese(kJet3CodePageVariable, "936");
        EXPECT_EQ(readAll(gbkFile, "table1").rows.at(0).at(1), Variant("GBK编码"));
        ReaderOptions western;
        western.jet3CodePage = 1252;
        EXPECT_EQ(readAll(gbkFile, "table1", {}, western).rows.at(0).at(1), Variant("GBK±àÂë")); // the option wins
        // Jet4 text is Unicode: the variable does not touch it.
        EXPECT_EQ(readAll(accessFile("a2003_unicode_compression.mdb"), "Table").rows.at(2).at(1), Variant("Мир"));
    }
    for (const char* wrong : {"abc", "0", "70000", "936x", "12345"}) {
        ScopedVariable unknown(kJet3CodePageVariable, wrong);
        try {
            AccessDatabase::open({gbkFile, "", "", ""});
            ADD_FAILURE() << wrong << " was taken as a code page";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), errc::InvalidArgument);
            EXPECT_NE(error.description().find(std::string(kJet3CodePageVariable) + " names no code page"),
                      std::string::npos);
            EXPECT_NE(error.description().find(std::string("\"") + wrong + "\""), std::string::npos);
        }
        // An .accdb holds no code-page text, so a wrong value does not stop it from opening.
        EXPECT_NO_THROW(AccessDatabase::open({accessFile("a2016_bigint.accdb"), "", "", ""})) << wrong;
    }
}

TEST(CursorValues, encodedPagesAndOverflowRows) {
    for (const char* name : {"a97_encoded.mdb", "a2000_encoded.mdb"}) {
        const Rows r = readAll(accessFile(name), "Table1");
        ASSERT_EQ(r.rows.size(), 2u) << name;
        EXPECT_EQ(r.rows[0][1], Variant("hello"));
        EXPECT_EQ(r.rows[1][1], Variant("world"));
        EXPECT_EQ(r.rows[1][2], Variant(42));
    }
    const Rows moved = readAll(accessFile("a2000_overflow_rows.mdb"), "Table1");
    ASSERT_EQ(moved.rows.size(), 7u);
    std::vector<std::string> firsts;
    for (const auto& row : moved.rows)
        for (const auto& value : row)
            if (value.isText())
                firsts.push_back(value.text().substr(0, 4));
    for (int i = 1; i <= 7; ++i)
        EXPECT_NE(std::find(firsts.begin(), firsts.end(), "row" + std::to_string(i)), firsts.end()) << i;
}

TEST(CursorValues, calculatedFieldsDeliverTheirStoredResult) {
    const Rows r = readAll(accessFile("a2010_calculated_fields.accdb"), "Table1");
    ASSERT_EQ(r.rows.size(), 4u);
    EXPECT_EQ(r.at(0, "LastFirst"), Variant("Wayne, Bruce"));
    EXPECT_EQ(r.at(0, "LastFirstLen"), Variant(12));
    EXPECT_EQ(decimalText(r.at(0, "MonthlySalary")), "83333.3333");
    EXPECT_EQ(r.at(0, "IsRich"), Variant(true));
    EXPECT_EQ(r.at(1, "IsRich"), Variant(false));
    EXPECT_EQ(r.at(0, "AllNames"), Variant("Wayne, Bruce=Wayne, Bruce"));
    EXPECT_EQ(decimalText(r.at(3, "DecimalTest")), "102030405060.654321");
    EXPECT_EQ(decimalText(r.at(1, "WeeklySalary")), "-0.0192307692307692");
    EXPECT_EQ(r.type("IsRich"), ProviderType::Boolean);
    EXPECT_EQ(r.type("DecimalTest"), ProviderType::Numeric);
}

// A calculated text whose stored result has length 0 is a zero-length text: the row's null mask says
// the value is there.
TEST(CursorValues, anEmptyCalculatedTextIsZeroLengthNotNull) {
    const Rows r = readAll(accessFile("a2010_calc_composite_pk.accdb"), "Tabella1");
    ASSERT_EQ(r.rows.size(), 13u);
    EXPECT_EQ(r.at(0, "eee"), Variant("g"));
    EXPECT_EQ(r.at(1, "eee"), Variant(""));
    EXPECT_EQ(r.at(4, "eee"), Variant("eee1"));
    EXPECT_TRUE(r.at(1, "°").isNull());
}

TEST(CursorComplex, multiValuedFieldsAndAttachments) {
    const Rows r = readAll(accessFile("a2007_complex_columns.accdb"), "Table1");
    ASSERT_EQ(r.rows.size(), 4u);
    EXPECT_EQ(r.at(2, "multi-value-data"), Variant(StringList{"value1", "value2", "value3", "value4"}));
    EXPECT_EQ(r.at(0, "multi-value-data"), Variant(StringList{}));
    EXPECT_EQ(r.type("multi-value-data"), ProviderType::LongVarWChar);
    EXPECT_EQ(r.at(2, "append-memo-data"), Variant("row3-memo-again"));
    const Variant& files = r.at(1, "attach-data");
    ASSERT_TRUE(files.isDictionary());
    EXPECT_EQ(files.dictionary()->keys(), (std::vector<std::string>{"test_data.txt", "test_data2.txt"}));
    EXPECT_EQ(files.dictionary()->get("test_data.txt"), Variant(bytesOf("this is some test data for attachment.")));

    const Rows attachments = readAll(accessFile("a2007_attachments.accdb"), "Table1");
    EXPECT_EQ(attachments.type("Attachments"), ProviderType::LongVarBinary);
    EXPECT_EQ(attachments.rows.at(0).at(2).dictionary()->count(), 0u);
    EXPECT_EQ(attachments.rows.at(2).at(2).dictionary()->count(), 3u);
    EXPECT_EQ(attachments.rows.at(2).at(2).dictionary()->get("attachment3.txt"), Variant(bytesOf("Attachment 3")));
}

TEST(CursorColumns, chosenColumnsInTheirOrder) {
    const Rows r = readAll(generatedFile("edge.accdb"), "AllTypes", {"ShortText", "ID"});
    ASSERT_EQ(r.names, (std::vector<std::string>{"ShortText", "ID"}));
    EXPECT_EQ(r.rows.at(0).at(1), Variant(1));
}

// Nothing is lost of a column whose type no reader knows: it delivers the bytes its rows hold.
TEST(CursorColumns, unknownTypesDeliverTheirStoredBytes) {
    const Rows r = readAll(accessFile("a2007_unsupported_types.accdb"), "Test", {"UnknownVar", "UnknownFix"});
    EXPECT_EQ(r.type("UnknownVar"), ProviderType::LongVarBinary);
    EXPECT_EQ(r.type("UnknownFix"), ProviderType::LongVarBinary);
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0][0], Variant(Bytes{0xFF, 0xFE, 's', 'o', 'm', 'e', 'd', 'a', 't', 'a'}));
    EXPECT_EQ(r.rows[0][1], Variant(Bytes{0x37, 0, 0, 0}));
    EXPECT_TRUE(r.rows[2][0].isNull());
}

// A complex column of a kind the reader does not know gets no DAO type that would claim text (its
// stored 18 is DAO's fixed-length text): its column holds the bytes the cursor delivers.
TEST(CursorColumns, aComplexColumnOfUnknownKindIsCarriedAsBytes) {
    ColumnDefinition column;
    column.type = jettype::Complex;
    EXPECT_EQ(storageTypesOf(column, ComplexKind::Unknown).access, AccessType::None);
    EXPECT_EQ(storageTypesOf(column, ComplexKind::Text).access, AccessType::ComplexText);
    EXPECT_EQ(storageTypesOf(column, ComplexKind::Unknown).provider, ProviderType::LongVarBinary);
}

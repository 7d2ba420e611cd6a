// Tables, fields and indexes as DAO describes them, and the real row count of every fixture table.

#include "TestFiles.h"
#include "lib/Error.h"
#include "source/AccessDatabase.h"

#include <gtest/gtest.h>

#include <map>

using namespace tabulon;
using tabulon::test::accessFile;
using tabulon::test::generatedFile;

namespace {

const FieldInfo& field(const TableInfo& table, const std::string& name) {
    for (const auto& f : table.fields)
        if (f.name == name)
            return f;
    throw std::runtime_error("no field " + name);
}

std::vector<std::string> fieldNames(const TableInfo& table) {
    std::vector<std::string> names;
    for (const auto& f : table.fields)
        names.push_back(f.name);
    return names;
}

// Tables the scanner offers (attribute word 0), with their real row counts.
std::map<std::string, std::int64_t> offeredRowCounts(const std::string& file) {
    auto database = AccessDatabase::open({file, "", "", file.find("password") != std::string::npos ? "password" : ""});
    std::map<std::string, std::int64_t> counts;
    for (const auto& table : database->tables())
        if (table.attributes == 0 && !table.fields.empty())
            counts[table.name] = database->rowCount(table.name);
    return counts;
}

} // namespace

TEST(StructureRowCounts, everyFixtureTable) {
    using Counts = std::map<std::string, std::int64_t>;
    const std::map<std::string, Counts> expected{
        {"a97_basic_types.mdb", {{"Table1", 2}, {"Table2", 0}, {"Table3", 0}, {"Table4", 0}}},
        {"a97_project_ole_memo.mdb", {{"MSP_PROJECTS", 1}}},
        {"a97_relationships.mdb", {{"Table1", 4}, {"Table2", 3}, {"Table3", 4}}},
        {"a97_queries.mdb", {{"Table1", 0}, {"Table2", 0}, {"Table3", 0}}},
        {"a97_gbk_codepage.mdb", {{"table1", 1}}},
        {"a97_encoded.mdb", {{"Table1", 2}}},
        {"a2000_empty.mdb", {}},
        {"a2000_decimal.mdb", {{"test", 1}}},
        {"a2000_overflow_rows.mdb", {{"Table1", 7}}},
        {"a2000_db_password.mdb", {{"Table1", 3}}},
        {"a2000_encoded.mdb", {{"Table1", 2}}},
        {"a2000_linked.mdb", {}},
        {"a2000_linkee1.mdb", {{"Table1", 1}}},
        {"a2000_linkee2.mdb", {{"table2", 1}}},
        {"a2000_odd_table_name.mdb", {{"19 MB 01 BEZAHLT ???", 1}}},
        {"a2000_validation_required.mdb", {{"t_like1", 0}, {"t_like2", 2}}},
        {"a2000_crosstab.mdb", {{"t_pivot", 4}}},
        {"a2003_unicode_compression.mdb", {{"Table", 8}}},
        {"a2003_index_properties.mdb",
         {{"TableIgnoreNulls1", 10},
          {"TableIgnoreNulls1_temp", 0},
          {"TableIgnoreNulls2", 11},
          {"TableIgnoreNulls2_temp", 0},
          {"TableUnique1_temp", 10},
          {"TableUnique2_temp", 11}}},
        {"a2007_complex_columns.accdb", {{"Table1", 4}}},
        {"a2007_attachments.accdb", {{"Table1", 3}}},
        {"a2007_ole_package.accdb", {{"OleTable", 1}}},
        {"a2007_old_dates.accdb", {{"Table1", 4}}},
        {"a2007_linked.accdb", {{"Table1", 1}}},
        {"a2007_linkee.accdb", {{"Table1", 1}, {"Table2", 1}}},
        {"a2007_odbc_linked_hidden.accdb", {}},
        {"a2007_unsupported_types.accdb", {{"Test", 3}}},
        {"a2007_deleted_column.accdb", {{"Table1", 1}}},
        {"a2007_long_text.accdb", {{"Table1", 1}}},
        {"a2007_queries_odd_names.accdb",
         {{"Membership", 1}, {"TimeValues", 1}, {"ab\"\"\"xxx", 3}, {"tAbeLLa", 1}, {"table 1", 2}}},
        {"a2010_calculated_fields.accdb", {{"Table1", 4}}}, // the table header says 3
        {"a2010_calc_composite_pk.accdb",
         {{"??###", 1}, {"Father", 1}, {"Sample", 1}, {"Son", 1}, {"T4", 1}, {"TX", 0}, {"Tabella1", 13}}},
        {"a2010_emoji.accdb", {{"data", 80}}},
        {"a2010_binary_index.accdb", {{"Test", 105}}},
        {"a2010_non_ascii_columns.accdb", {{"noroman", 1}, {"table1", 2}}},
        {"a2016_bigint.accdb", {{"Table", 1}}},
        {"a2019_ext_datetime.accdb", {{"Table1", 9}}},
    };
    for (const auto& [file, counts] : expected)
        EXPECT_EQ(offeredRowCounts(accessFile(file)), counts) << file;
}

TEST(StructureRowCounts, cursorDeliversExactlyTheCountedRows) {
    for (const char* name : {"a2000_overflow_rows.mdb", "a2010_calculated_fields.accdb", "a2010_binary_index.accdb",
                             "a97_project_ole_memo.mdb"}) {
        auto database = AccessDatabase::open({accessFile(name), "", "", ""});
        for (const auto& table : database->tables()) {
            if (!table.isLocal())
                continue;
            auto cursor = database->openCursor(table.name, {});
            std::int64_t rows = 0;
            while (cursor->next())
                ++rows;
            EXPECT_EQ(rows, database->rowCount(table.name)) << name << " " << table.name;
        }
    }
}

TEST(StructureTables, hiddenLinkedAndSystemTablesCarryAttributes) {
    auto linked = AccessDatabase::open({accessFile("a2007_linked.accdb"), "", "", ""});
    ASSERT_NE(linked->findTable("Table2"), nullptr);
    EXPECT_EQ(linked->findTable("Table2")->attributes, daoattr::AttachedTable);
    EXPECT_EQ(linked->findTable("Table2")->objectType, 6);
    EXPECT_EQ(linked->findTable("MSysObjects")->attributes, daoattr::SystemObject);
    EXPECT_THROW(linked->openCursor("Table2", {}), Error);

    auto odbc = AccessDatabase::open({accessFile("a2007_odbc_linked_hidden.accdb"), "", "", ""});
    EXPECT_EQ(odbc->findTable("Ordrar")->attributes, daoattr::AttachedODBC);
    EXPECT_NE(odbc->findTable("Lokal")->attributes & daoattr::HiddenObject, 0);
    EXPECT_EQ(odbc->rowCount("Lokal"), 1); // hidden from the scan, still readable

    auto temporary = AccessDatabase::open({accessFile("a2007_deleted_column.accdb"), "", "", ""});
    EXPECT_EQ(temporary->findTable("~TMPCLP236321")->attributes, daoattr::HiddenObject);
}

TEST(StructureTables, orderedByNameAndFoundWithoutCase) {
    auto database = AccessDatabase::open({accessFile("a2007_queries_odd_names.accdb"), "", "", ""});
    std::vector<std::string> names;
    for (const auto& table : database->tables())
        if (table.attributes == 0)
            names.push_back(table.name);
    EXPECT_EQ(names, (std::vector<std::string>{"ab\"\"\"xxx", "Membership", "tAbeLLa", "table 1", "TimeValues"}));
    EXPECT_EQ(database->findTable("TABELLA")->name, "tAbeLLa");
    EXPECT_EQ(database->findTable("nothing"), nullptr);
    try {
        database->openCursor("nothing", {});
        ADD_FAILURE();
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errc::AccessTableNotFound);
    }
    try {
        database->openCursor("tAbeLLa", {"NoSuchField"});
        ADD_FAILURE();
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errc::AccessItemNotFound);
        EXPECT_NE(error.description().find("NoSuchField"), std::string::npos);
    }
}

TEST(StructureFields, typesSizesAndAttributes) {
    auto database = AccessDatabase::open({generatedFile("edge.accdb"), "", "", ""});
    const TableInfo& all = *database->findTable("AllTypes");
    struct Expected {
        const char* name;
        int type;
        long size;
        long attributes;
    };
    for (const Expected& e : {Expected{"ID", 4, 4, 49},
                              {"Flag", 1, 1, 33},
                              {"ByteVal", 2, 1, 33},
                              {"IntVal", 3, 2, 33},
                              {"Money", 5, 8, 33},
                              {"SingleVal", 6, 4, 33},
                              {"DoubleVal", 7, 8, 33},
                              {"WhenVal", 8, 8, 33},
                              {"ShortText", 10, 255, 34},
                              {"Text50", 10, 50, 34},
                              {"Notes", 12, 0, 34},
                              {"Link", 12, 0, 32802},
                              {"Blob", 11, 0, 34},
                              {"RowGuid", 15, 16, 33},
                              {"Dec10_2", 20, 16, 34},
                              {"VarBin", 17, 255, 34},
                              {"BigVal", 16, 8, 33},
                              {"CalcText", 10, 255, 34},
                              {"CalcDouble", 7, 8, 34}}) {
        const FieldInfo& f = field(all, e.name);
        EXPECT_EQ(codeOf(f.type), e.type) << e.name;
        EXPECT_EQ(f.size, e.size) << e.name;
        EXPECT_EQ(f.attributes, e.attributes) << e.name;
    }
    EXPECT_EQ(field(all, "Dec10_2").precision, 10);
    EXPECT_EQ(field(all, "Dec10_2").scale, 2);
    EXPECT_EQ(field(all, "Dec28_10").precision, 28);
    EXPECT_EQ(field(all, "Dec28_10").scale, 10);
    EXPECT_TRUE(field(all, "CalcText").calculated);
    EXPECT_EQ(field(all, "CalcDouble").expression, "[DoubleVal]*2");
}

TEST(StructureFields, requiredAndDefaultValues) {
    auto database = AccessDatabase::open({generatedFile("edge.mdb"), "", "", ""});
    const TableInfo& defaults = *database->findTable("Defaults");
    EXPECT_EQ(field(defaults, "Qty").defaultValue, "0");
    EXPECT_EQ(field(defaults, "Ratio").defaultValue, "-2.5E-3");
    EXPECT_EQ(field(defaults, "Label").defaultValue, "\"It's a \"\"quoted\"\" default\"");
    EXPECT_EQ(field(defaults, "Label2").defaultValue, "'single'");
    EXPECT_EQ(field(defaults, "Stamp").defaultValue, "=Now()");
    EXPECT_EQ(field(defaults, "Active").defaultValue, "Yes");
    EXPECT_EQ(field(defaults, "ID").defaultValue, "");
    EXPECT_TRUE(field(defaults, "Code").required);
    EXPECT_TRUE(field(defaults, "Amount").required);
    EXPECT_FALSE(field(defaults, "Qty").required);

    auto jet3 = AccessDatabase::open({accessFile("a97_basic_types.mdb"), "", "", ""});
    EXPECT_EQ(fieldNames(*jet3->findTable("Table1")),
              (std::vector<std::string>{"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
}

TEST(StructureFields, deletedColumnKeepsItsNumber) {
    auto database = AccessDatabase::open({accessFile("a2007_deleted_column.accdb"), "", "", ""});
    EXPECT_EQ(fieldNames(*database->findTable("Table1")),
              (std::vector<std::string>{"col2", "col3", "col5", "col6", "col7", "col8", "col1"}));
}

TEST(StructureFields, complexColumnsGetTheirDaoCodes) {
    auto database = AccessDatabase::open({accessFile("a2007_complex_columns.accdb"), "", "", ""});
    const TableInfo& table = *database->findTable("Table1");
    EXPECT_EQ(fieldNames(table),
              (std::vector<std::string>{"id", "memo-data", "append-memo-data", "multi-value-data", "attach-data"}));
    EXPECT_EQ(field(table, "multi-value-data").type, AccessType::ComplexText);
    EXPECT_EQ(field(table, "attach-data").type, AccessType::Attachment);
}

TEST(StructureIndexes, primaryUniqueIgnoreNullsAndColumns) {
    auto database = AccessDatabase::open({generatedFile("edge.accdb"), "", "", ""});
    const auto& customers = database->findTable("Customers")->indexes;
    ASSERT_EQ(customers.size(), 6u); // the hidden relationship index ".rB" is left out
    EXPECT_EQ(customers[0].name, "PrimaryKey");
    EXPECT_TRUE(customers[0].primary && customers[0].unique && !customers[0].foreign);
    EXPECT_EQ(customers[1].name, "UX_Email");
    EXPECT_TRUE(customers[1].unique && !customers[1].primary);
    EXPECT_EQ(customers[3].fields, (std::vector<std::string>{"LastName", "FirstName"}));

    const auto& users = database->findTable("RegionUsers")->indexes;
    ASSERT_EQ(users.size(), 2u);
    EXPECT_TRUE(users[1].foreign);
    EXPECT_EQ(users[1].fields, (std::vector<std::string>{"Region", "Code"}));

    const auto& details = database->findTable("Order Details")->indexes;
    EXPECT_EQ(details[0].fields, (std::vector<std::string>{"OrderID", "LineNo"}));
}

TEST(StructureIndexes, ignoreNullsAndRelationships) {
    auto database = AccessDatabase::open({accessFile("a2003_index_properties.mdb"), "", "", ""});
    const auto& nulls = database->findTable("TableIgnoreNulls2")->indexes;
    ASSERT_EQ(nulls.size(), 2u);
    EXPECT_EQ(nulls[0].name, "DataIndex");
    EXPECT_TRUE(nulls[0].ignoreNulls);
    EXPECT_FALSE(nulls[0].unique);
    EXPECT_EQ(nulls[0].fields, (std::vector<std::string>{"data1", "data2"}));
    EXPECT_FALSE(nulls[1].ignoreNulls);
    const auto& unique = database->findTable("TableUnique1_temp")->indexes;
    EXPECT_TRUE(unique[0].unique);
    EXPECT_FALSE(unique[0].ignoreNulls);

    auto relations = AccessDatabase::open({accessFile("a97_relationships.mdb"), "", "", ""});
    const auto& indexes = relations->findTable("Table1")->indexes;
    ASSERT_EQ(indexes.size(), 4u);
    EXPECT_EQ(indexes[2].name, "Table2Table1");
    EXPECT_TRUE(indexes[2].foreign);
    EXPECT_EQ(indexes[2].fields, (std::vector<std::string>{"otherfk1"}));
    EXPECT_EQ(indexes[3].fields, (std::vector<std::string>{"otherfk2"}));
}

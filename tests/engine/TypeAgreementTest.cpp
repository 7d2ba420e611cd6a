// The column types of the schema document and the provider types of the cursor come from two
// tables, one per layer. A column's DEFAULT is written by its Access type and its values by its
// provider type: on the real files, both must give the literal of the same kind.
#include "FixtureFiles.h"
#include "engine/TypeMapping.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

class TypeAgreement : public ::testing::TestWithParam<const char*> {};

TEST_P(TypeAgreement, defaultsAndValuesOfAColumnTakeOneKindOfLiteral) {
    const auto database = fixture::open(GetParam());
    int columns = 0;
    for (const TableInfo& table : database->tables()) {
        if (!table.isLocal())
            continue;
        const auto cursor = database->openCursor(table.name, {});
        ASSERT_EQ(cursor->columnCount(), table.fields.size()) << table.name;
        for (std::size_t i = 0; i < table.fields.size(); ++i, ++columns)
            EXPECT_EQ(MappingOf(table.fields[i].type).literal, LiteralKindOf(cursor->columnType(i)))
                << table.name << "." << table.fields[i].name << ": Access type " << table.fields[i].type
                << ", provider type " << cursor->columnType(i);
    }
    EXPECT_GT(columns, 0);
}

// Between them, every storage type and complex kind the reader knows, and two it does not.
INSTANTIATE_TEST_SUITE_P(Files, TypeAgreement,
                         ::testing::Values("generated/edge.accdb", "generated/edge.mdb", "access/a97_basic_types.mdb",
                                           "access/a2007_complex_columns.accdb", "access/a2007_attachments.accdb",
                                           "access/a2007_unsupported_types.accdb", "access/a2016_bigint.accdb",
                                           "access/a2019_ext_datetime.accdb", "access/a2010_calculated_fields.accdb",
                                           "access/a2000_decimal.mdb"));

} // namespace

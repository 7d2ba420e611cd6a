// The FOREIGN KEY statements the relationships of real Access files give, written out by hand.

#include "FixtureFiles.h"
#include "engine/TSqlStatements.h"
#include "source/SchemaScanner.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

struct Planned {
    std::vector<std::string> statements;
    std::vector<std::string> notes; // "table: line"
};

// Every table and field selected, as the wizard selects them, under its default options.
Planned planFor(const std::string& file, const std::string& prefix = "") {
    const auto database = fixture::open(file);
    const auto document = buildSchemaDocument(*database, readColumnSchema(*database), nullptr);
    StringList selected, tables;
    for (const auto& table : document->select_nodes("/AccessDatabase/Tables/Table")) {
        const std::string name = table.node().child_value("Name");
        selected.push_back(name);
        tables.push_back(prefix + name);
        for (const auto& field : table.node().select_nodes("Fields/Field"))
            selected.push_back(name + "\\" + field.node().child_value("Name"));
    }
    RelationshipPlanOptions options;
    options.definition.dateTimeType = "DATETIME2";
    options.definition.transferDefaultValues = true;
    options.definition.transferAutonumbers = true;
    options.definition.transferIndexes = true;
    options.tablePrefix = prefix;
    ConstraintNames names(tables);
    const RelationshipPlan plan = PlanRelationships(*document, TableSelection(Variant(selected)), options, names);
    Planned result;
    for (const ForeignKey& key : plan.keys)
        result.statements.push_back(ForeignKeyStatement(key));
    for (const PlanNote& note : plan.notes)
        result.notes.push_back(note.sourceTable + ": " + note.line);
    return result;
}

} // namespace

TEST(RelationshipStatements, everyKindOfRelationship) {
    const Planned planned = planFor("generated/relations.accdb");
    EXPECT_EQ(planned.statements,
              (std::vector<std::string>{
                  "ALTER TABLE [Orders] ADD CONSTRAINT [CustomersOrders] FOREIGN KEY ([CustomerID]) REFERENCES "
                  "[Customers] ([CustomerID]) ON UPDATE CASCADE ON DELETE CASCADE",
                  "ALTER TABLE [OrderLines] ADD CONSTRAINT [OrdersOrderLines] FOREIGN KEY ([OrderID]) REFERENCES "
                  "[Orders] ([OrderID]) ON DELETE CASCADE",
                  "ALTER TABLE [OrderLines] ADD CONSTRAINT [CustomersOrderLines] FOREIGN KEY ([CustomerID]) "
                  "REFERENCES [Customers] ([CustomerID])",
                  "ALTER TABLE [Staff] ADD CONSTRAINT [StaffManager] FOREIGN KEY ([ManagerID]) REFERENCES [Staff] "
                  "([StaffID])",
              }));
    EXPECT_EQ(planned.notes,
              (std::vector<std::string>{
                  "OrderLines: - relationship CustomersOrderLines is created without ON DELETE CASCADE: changes in "
                  "Customers would reach OrderLines by a second cascade path, which SQL Server refuses",
                  "CustomerNotes: - relationship CustomersCustomerNotes left out: the unique index Code of Customers "
                  "allows NULLs, so it is created with a filter, and SQL Server cannot refer to such an index",
                  "Staff: - relationship StaffManager is created without ON DELETE CASCADE: it would cascade in a "
                  "cycle through Staff, which SQL Server refuses",
                  "Loose: - relationship CustomersLoose left out: Access does not enforce it",
              }));
}

TEST(RelationshipStatements, accessMadeFiles) {
    EXPECT_EQ(planFor("access/a97_relationships.mdb").statements,
              (std::vector<std::string>{
                  "ALTER TABLE [Table1] ADD CONSTRAINT [Table3Table1] FOREIGN KEY ([otherfk2]) REFERENCES [Table3] "
                  "([id]) ON UPDATE CASCADE",
                  "ALTER TABLE [Table1] ADD CONSTRAINT [Table2Table1] FOREIGN KEY ([otherfk1]) REFERENCES [Table2] "
                  "([id]) ON DELETE CASCADE",
              }));
    const Planned composite = planFor("access/a2010_calc_composite_pk.accdb");
    EXPECT_EQ(composite.statements,
              std::vector<std::string>{"ALTER TABLE [Tabella1] ADD CONSTRAINT [??###Tabella1] FOREIGN KEY "
                                       "([_eeeee£%]) REFERENCES [??###] ([Πλήθος Αντιγράφων])"});
    EXPECT_TRUE(composite.notes.empty());
}

TEST(RelationshipStatements, edgeCasesWithPrefixAndTwoColumns) {
    for (const char* file : {"generated/edge.accdb", "generated/edge.mdb"}) {
        const Planned planned = planFor(file, "x_");
        EXPECT_EQ(planned.statements,
                  (std::vector<std::string>{
                      "ALTER TABLE [x_Orders] ADD CONSTRAINT [x_CustomersOrders] FOREIGN KEY ([CustomerID]) "
                      "REFERENCES [x_Customers] ([CustomerID]) ON UPDATE CASCADE ON DELETE CASCADE",
                      "ALTER TABLE [x_Order Details] ADD CONSTRAINT [x_OrdersOrder Details] FOREIGN KEY ([OrderID]) "
                      "REFERENCES [x_Orders] ([OrderID]) ON DELETE CASCADE",
                      "ALTER TABLE [x_RegionUsers] ADD CONSTRAINT [x_RegionCodesRegionUsers] FOREIGN KEY ([Region], "
                      "[Code]) REFERENCES [x_RegionCodes] ([Region], [Code])",
                  }))
            << file;
        EXPECT_TRUE(planned.notes.empty()) << file;
    }
}

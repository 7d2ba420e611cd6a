// What a run adds once every table holds its rows: record counts, relationships, validation rules and
// descriptions, in dumps of real Access files and in the report.
#include "FixtureRuns.h"
#include "ServerRules.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

// The report from the section's heading on.
std::vector<std::string> objectsSection(const std::string& report) {
    const std::vector<std::string> all = fixture::lines(report);
    const auto heading = std::find(all.begin(), all.end(), "CONSTRAINTS, DESCRIPTIONS AND COUNTS");
    return heading == all.end() ? std::vector<std::string>{} : std::vector<std::string>(heading, all.end());
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

TEST(DatabaseObjects, theReportSaysPerTableWhatWasAddedAndWhatWasLeftOut) {
    FixtureRun run(fixture::path("generated/relations.accdb"), "");
    run.settings.section().set("datetimetype", "DATETIME2");
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_EQ(objectsSection(run.report),
              (std::vector<std::string>{
                  "CONSTRAINTS, DESCRIPTIONS AND COUNTS",
                  "------------",
                  "Record counts checked by the script: 6 tables",
                  "Table: CustomerNotes",
                  "- relationship CustomersCustomerNotes left out: the unique index Code of Customers allows NULLs, "
                  "so it is created with a filter, and SQL Server cannot refer to such an index",
                  "- validation rule StrComp([Note],UCase([Note]),0)<>0 Or [Note] Is Null of field Note left out: "
                  "StrComp([Note],UCase([Note]),0): \"StrComp\" is a VBA or user-defined function with no SQL Server "
                  "counterpart",
                  "Table: Customers",
                  "- 3 check constraints, 3 descriptions",
                  "Table: Loose",
                  "- relationship CustomersLoose left out: Access does not enforce it",
                  "Table: OrderLines",
                  "- 2 relationships, 2 check constraints",
                  "- relationship CustomersOrderLines is created without ON DELETE CASCADE: changes in Customers would "
                  "reach OrderLines by a second cascade path, which SQL Server refuses",
                  "Table: Orders",
                  "- 1 relationship, 2 check constraints, 2 descriptions",
                  "Table: Staff",
                  "- 1 relationship, 1 check constraint, 1 description",
                  "- relationship StaffManager is created without ON DELETE CASCADE: it would cascade in a cycle "
                  "through Staff, which SQL Server refuses",
              }));
    EXPECT_EQ(run.progress.statusLines.back(), "  Transfer completed");
    EXPECT_EQ(serverrules::describe(serverrules::checkScript(run.dump)), "");
}

// Keys and rules refer across tables and are checked against the rows, so they follow the last table.
TEST(DatabaseObjects, everythingFollowsTheLastTablesRowsAndIndexes) {
    FixtureRun run(fixture::path("generated/edge.accdb"), "");
    run.settings.section().set("ignorelargeblobs", 1);
    run.settings.section().set("datetimetype", "DATETIME2");
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    const std::size_t lastRows = run.dump.rfind("-- Dumping data for table");
    const std::size_t lastIndex = run.dump.rfind("CREATE INDEX");
    for (const char* statement :
         {"DECLARE @rows bigint = (SELECT COUNT_BIG(*) FROM [Orders]); IF @rows <> ",
          "ALTER TABLE [Orders] ADD CONSTRAINT [CustomersOrders] FOREIGN KEY ([CustomerID]) REFERENCES [Customers] "
          "([CustomerID]) ON UPDATE CASCADE ON DELETE CASCADE\r\nGO\r\n",
          "ALTER TABLE [RegionUsers] ADD CONSTRAINT [RegionCodesRegionUsers] FOREIGN KEY ([Region], [Code]) "
          "REFERENCES [RegionCodes] ([Region], [Code])\r\nGO\r\n",
          "ALTER TABLE [Defaults] ADD CONSTRAINT [CK_Defaults_Amount] CHECK ([Amount] >= 0)\r\nGO\r\n",
          "@level2type = N'CONSTRAINT', @level2name = @name;\r\nGO\r\n"}) {
        const std::size_t at = run.dump.find(statement);
        ASSERT_NE(at, std::string::npos) << statement;
        EXPECT_GT(at, lastRows);
        EXPECT_GT(at, lastIndex);
    }
    // Each table's referencing keys are dropped before the table, for a run repeated into the database.
    EXPECT_LT(run.dump.find("OBJECT_ID(N'[Customers]'); EXEC sys.sp_executesql @drop;\r\nGO\r\n"),
              run.dump.find("IF object_id(N'Customers', 'U') IS NOT NULL DROP TABLE [Customers]"));
    EXPECT_EQ(serverrules::describe(serverrules::checkScript(run.dump)), "");
}

// Each option leaves out its own statements and nothing else.
TEST(DatabaseObjects, eachOptionSwitchesItsStatementsOff) {
    const struct {
        const char* key;
        const char* statement;
        std::size_t withIt;
    } options[] = {
        {"transferrelationships", " FOREIGN KEY (", 4},
        {"transferrelationships", "FROM sys.foreign_keys WHERE referenced_object_id", 6},
        {"transfervalidationrules", " CHECK (", 8},
        {"transferdescriptions", "sp_addextendedproperty", 6},
        {"verifycounts", "COUNT_BIG(*)", 6},
    };
    for (const auto& option : options) {
        for (const char* value : {"1", "0"}) {
            FixtureRun run(fixture::path("generated/relations.accdb"), "");
            run.settings.section().set(option.key, value);
            ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
            EXPECT_EQ(occurrences(run.dump, option.statement), value[0] == '1' ? option.withIt : 0)
                << option.key << "=" << value;
            EXPECT_NE(run.dump.find(std::string("--   ") + option.key + "=" + value + "\r\n"), std::string::npos);
        }
    }
    // Without the descriptions, a rule's validation text has nowhere to go; the rule is still added.
    FixtureRun run(fixture::path("generated/relations.accdb"), "");
    run.settings.section().set("transferdescriptions", "0");
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_NE(run.report.find("Table: Customers\r\n- 3 check constraints\r\n"), std::string::npos) << run.report;
}

// A relationship to a table that stays behind, and a rule that names no field: each is reported and the
// run goes on.
TEST(DatabaseObjects, whatCannotBeCarriedOverIsReportedAndTheRunCompletes) {
    FixtureRun orders(fixture::path("generated/relations.accdb"), "");
    orders.settings.section().set("sourcetables", StringList{"Orders", "OrderLines"});
    ASSERT_EQ(orders.run(), RunResult::Completed) << orders.report;
    EXPECT_NE(orders.report.find("Table: Orders\r\n- 2 check constraints, 2 descriptions\r\n- relationship "
                                 "CustomersOrders left out: the table Customers is not moved\r\n"),
              std::string::npos)
        << orders.report;
    EXPECT_EQ(occurrences(orders.dump, " FOREIGN KEY ("), 1u);
    EXPECT_EQ(serverrules::describe(serverrules::checkScript(orders.dump)), "");

    FixtureRun rule(fixture::path("access/a2000_validation_required.mdb"), "");
    ASSERT_EQ(rule.run(), RunResult::Completed) << rule.report;
    EXPECT_NE(rule.report.find("Table: t_like1\r\n- validation rule CLng(\"a1\")>2 of field a1 left out: it names "
                               "no field\r\n"),
              std::string::npos)
        << rule.report;
    EXPECT_EQ(rule.progress.statusLines.back(), "  Transfer completed");
}

// Tables the run does not create may hold rows, keys and descriptions from before: nothing is counted
// or added to them.
TEST(DatabaseObjects, tablesThatAreNotCreatedGetNothingAdded) {
    FixtureRun run(fixture::path("generated/relations.accdb"), "");
    run.settings.section().set("createtables", 0);
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_EQ(run.dump.find("ALTER TABLE"), std::string::npos);
    EXPECT_EQ(run.dump.find("DECLARE"), std::string::npos);
    EXPECT_EQ(objectsSection(run.report),
              (std::vector<std::string>{"CONSTRAINTS, DESCRIPTIONS AND COUNTS", "------------",
                                        "Relationships, validation rules and descriptions left out: they are "
                                        "added only to tables the run creates"}));
}

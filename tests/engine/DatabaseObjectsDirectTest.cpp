// The phase after the tables in a direct transfer, on a real ODBC driver. The SQLite driver is the one
// that runs here; it knows none of the statements (no ALTER TABLE ... ADD CONSTRAINT, no COUNT_BIG, no
// EXEC), so every statement is rejected as a server would reject it: each must be reported and the
// phase must go on. What SQL Server itself makes of them is in SqlServerTest.
#include "FixtureRuns.h"
#include "OdbcTestDrivers.h"
#include "engine/DatabaseObjects.h"
#include "engine/OdbcDestination.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

std::size_t linesStartingWith(const std::string& report, const std::string& start) {
    std::size_t count = 0;
    for (const std::string& line : fixture::lines(report))
        count += line.rfind(start, 0) == 0;
    return count;
}

} // namespace

TEST(DatabaseObjectsDirect, everyStatementTheServerRejectsIsReportedAndThePhaseGoesOn) {
    REQUIRE_SQLITE_ODBC();
    FixtureRun run(fixture::path("generated/relations.accdb"), "");
    const std::string database = OdbcTestDrivers::instance().folder().file("objects.db");
    auto connection = OdbcConnection::open("Driver=SQLite3;Database=" + database + ";");
    connection->execute("CREATE TABLE [Customers] ([CustomerID] INT PRIMARY KEY, [Code] TEXT)");
    connection->execute("INSERT INTO [Customers] VALUES (1, 'A1')");

    const RunOptions options = ReadRunOptions(run.settings.section());
    const TableSelection& selection = options.selection;
    std::string report;
    std::vector<MovedTable> tables;
    for (const std::string& table : run.tables)
        tables.push_back({table, table, table == "Customers" ? 1 : 0, true});
    OdbcDestination direct(std::move(connection));
    CreateDatabaseObjects({*run.schema, selection, options, direct, report, run.progress}, tables);

    EXPECT_NE(report.find("\r\nCONSTRAINTS, DESCRIPTIONS AND COUNTS\r\n------------\r\n"
                          "Record counts checked on the server: 6 tables, 0 hold the records sent\r\n"),
              std::string::npos)
        << report;
    EXPECT_EQ(linesStartingWith(report, "- Error: the records of "), 6u) << report;
    EXPECT_NE(report.find("- Error: the records of Customers could not be counted: [HY000] [SQLite]no such function: "
                          "COUNT_BIG"),
              std::string::npos)
        << report;
    EXPECT_EQ(linesStartingWith(report, "- relationship "), 8u) << report; // 4 rejected, 4 left out by the plan
    EXPECT_NE(report.find("- relationship CustomersOrders could not be created: [HY000]"), std::string::npos);
    EXPECT_EQ(linesStartingWith(report, "- validation rule "), 9u) << report; // 8 rejected, 1 left out
    EXPECT_NE(report.find("- validation rule >=0 And <1000000 (CK_Orders_Total) could not be created: [HY000]"),
              std::string::npos)
        << report;
    // Rejected constraints carry no description; those of tables and columns are tried and rejected.
    EXPECT_EQ(linesStartingWith(report, "- description of "), 4u) << report;
    EXPECT_NE(report.find("- description of Customers.Code could not be added: [HY000]"), std::string::npos);
    EXPECT_EQ(report.find(" relationships,"), std::string::npos);
    EXPECT_EQ(report.find("check constraint"), std::string::npos);

    // The connection still serves: nothing was left half done on it.
    EXPECT_EQ(direct.queryNumber("SELECT COUNT(*) FROM [Customers]"), 1);
}

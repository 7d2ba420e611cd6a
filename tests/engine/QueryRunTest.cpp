// Whole runs of the file of saved queries: the views and functions come after every table, in an
// order the server accepts, and the report accounts for every query.
#include "FixtureRuns.h"
#include "ServerRules.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

std::size_t countOf(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

std::string queriesSection(const std::string& report) {
    const std::size_t at = report.find("\r\nQUERIES\r\n");
    return at == std::string::npos ? "" : report.substr(at);
}

} // namespace

TEST(QueryRun, theSelectQueriesBecomeViewsAfterEveryTable) {
    FixtureRun run(fixture::path("generated/queries.accdb"), "");
    run.settings.section().set("tableprefix", "acc_");
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_EQ(serverrules::describe(serverrules::checkScript(run.dump)), "");
    EXPECT_EQ(countOf(run.dump, "\r\nCREATE VIEW ") + countOf(run.dump, "\r\nCREATE FUNCTION "), 23u);
    EXPECT_EQ(countOf(run.dump, "\r\nCREATE FUNCTION "), 2u);
    EXPECT_LT(run.dump.rfind("\r\nINSERT INTO "), run.dump.find("\r\nCREATE VIEW "));
    EXPECT_NE(run.dump.find("IF OBJECT_ID(N'[qryCustomerOrders]', N'V') IS NOT NULL DROP VIEW [qryCustomerOrders]\r\n"
                            "GO\r\n\r\nCREATE VIEW [qryCustomerOrders]\r\nAS\r\n"),
              std::string::npos);
    EXPECT_NE(run.dump.find("FROM [acc_Customers] AS [c] INNER JOIN [acc_Orders] AS [o]"), std::string::npos);

    const std::string section = queriesSection(run.report);
    EXPECT_EQ(countOf(section, "\r\nQuery: "), 29u) << section;
    EXPECT_EQ(countOf(section, "' written\r\n"), 23u) << section;
    EXPECT_NE(section.find("Query: qryCustomerOrders\r\n- View 'qryCustomerOrders' written\r\n"
                           "- its ORDER BY is dropped: a view has no order\r\n"),
              std::string::npos)
        << section;
    EXPECT_NE(section.find("Query: qrySalesByCustomer\r\n- Left out: First(Orders.ShipCity): First and Last have no "
                           "SQL Server counterpart\r\n- Its Access SQL is kept in the dump as a comment\r\n"),
              std::string::npos)
        << section;
    EXPECT_NE(section.find("Query: qryAppendOldOrders\r\n- Left out: an append query: it changes data and is no view"),
              std::string::npos);
    // The append query's Access SQL, line by line, as a comment.
    EXPECT_NE(run.dump.find("-- Query 'qryAppendOldOrders' (append): an append query: it changes data and is no "
                            "view\r\n--   INSERT INTO "),
              std::string::npos);
}

TEST(QueryRun, withoutTransferQueriesNoViewIsWritten) {
    FixtureRun run(fixture::path("generated/queries.accdb"), "");
    run.settings.section().set("transferqueries", "0");
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_EQ(run.dump.find("CREATE VIEW"), std::string::npos);
    EXPECT_EQ(run.report.find("QUERIES"), std::string::npos);
    EXPECT_NE(run.dump.find("\r\n--   transferqueries=0\r\n"), std::string::npos); // the header lists the option
}

TEST(QueryRun, withoutCreatingTablesNoViewIsDropped) {
    FixtureRun run(fixture::path("generated/queries.accdb"), "");
    run.settings.section().set("createtables", 0);
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_NE(run.dump.find("CREATE VIEW"), std::string::npos);
    EXPECT_EQ(run.dump.find("DROP VIEW"), std::string::npos);
}

// Hidden queries (the record sources of forms and reports) are counted, never made views.
TEST(QueryRun, hiddenQueriesAreCounted) {
    FixtureRun run(fixture::path("access/a2007_odbc_linked_hidden.accdb"), "");
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_NE(run.report.find(" hidden queries of forms and reports skipped\r\n"), std::string::npos) << run.report;
    EXPECT_EQ(run.dump.find("~sq_"), std::string::npos);
}

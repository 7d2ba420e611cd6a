// How the planned views and functions reach a dump or a connection, and what the report says of
// every saved query.
#include "engine/SavedQueryObjects.h"
#include "FailingSink.h"
#include "OdbcQuery.h"
#include "OdbcTestDrivers.h"
#include "RecordingProgress.h"
#include "engine/OdbcDestination.h"

#include <gtest/gtest.h>

using namespace tabulon;
using accesssql::QuerySource;
using accesssql::ViewPlan;

namespace {

ViewPlan created(const std::string& name, const std::string& type, const std::string& createSql,
                 const std::string& dropSql, std::vector<std::string> dependsOn = {},
                 std::vector<std::string> notes = {}) {
    ViewPlan plan;
    plan.name = name;
    plan.kind = "select";
    plan.objectType = type;
    plan.createSql = createSql;
    plan.dropSql = dropSql;
    plan.dependsOn = std::move(dependsOn);
    plan.notes = std::move(notes);
    return plan;
}

ViewPlan leftOut(const std::string& name, const std::string& kind, const std::string& reason) {
    ViewPlan plan;
    plan.name = name;
    plan.kind = kind;
    plan.reason = reason;
    return plan;
}

PlannedQueries sample() {
    PlannedQueries queries;
    queries.sources = {{"qryA", "select", "SELECT * FROM T;"},
                       {"qryAppend", "append", "INSERT INTO Old\r\nSELECT *\r\nFROM T\rWHERE x;"},
                       {"qryF", "select", "PARAMETERS p Long; SELECT * FROM T WHERE a = p;"}};
    queries.plans = {
        created("qryA", "VIEW", "CREATE VIEW [qryA]\r\nAS\r\nSELECT [a] FROM [T]",
                "IF OBJECT_ID(N'[qryA]', N'V') IS NOT NULL DROP VIEW [qryA]", {}, {"its ORDER BY is dropped"}),
        created("qryF", "FUNCTION",
                "CREATE FUNCTION [qryF] (@p INT)\r\nRETURNS TABLE\r\nAS\r\nRETURN\r\nSELECT 1 AS [x]",
                "IF OBJECT_ID(N'[qryF]', N'IF') IS NOT NULL DROP FUNCTION [qryF]"),
        leftOut("qryAppend", "append", "an append query: it changes data and is no view"),
    };
    queries.hiddenSkipped = 2;
    return queries;
}

std::string dumpOf(const PlannedQueries& queries, bool dropFirst, std::string& report) {
    std::string written;
    auto dump = FailingSink::dump(1 << 20, &written);
    RecordingProgress progress;
    WriteSavedQueries(queries, *dump, dropFirst, report, progress);
    dump->close();
    return written;
}

} // namespace

TEST(SavedQueryObjects, eachCreateStartsItsBatchAfterItsDropGuard) {
    std::string report;
    EXPECT_EQ(dumpOf(sample(), true, report),
              "GO\r\n\r\n"
              "--\r\n-- View for the saved query 'qryA'\r\n-- its ORDER BY is dropped\r\n--\r\n\r\n"
              "IF OBJECT_ID(N'[qryA]', N'V') IS NOT NULL DROP VIEW [qryA]\r\nGO\r\n\r\n"
              "CREATE VIEW [qryA]\r\nAS\r\nSELECT [a] FROM [T]\r\nGO\r\n\r\n"
              "--\r\n-- Function for the saved query 'qryF'\r\n--\r\n\r\n"
              "IF OBJECT_ID(N'[qryF]', N'IF') IS NOT NULL DROP FUNCTION [qryF]\r\nGO\r\n\r\n"
              "CREATE FUNCTION [qryF] (@p INT)\r\nRETURNS TABLE\r\nAS\r\nRETURN\r\nSELECT 1 AS [x]\r\nGO\r\n\r\n"
              "--\r\n-- Saved queries that are no views, in their Access SQL\r\n--\r\n"
              "-- Query 'qryAppend' (append): an append query: it changes data and is no view\r\n"
              "--   INSERT INTO Old\r\n--   SELECT *\r\n--   FROM T\r\n--   WHERE x;\r\n--\r\n\r\n");
    EXPECT_EQ(report, "\r\nQUERIES\r\n------------\r\n"
                      "Query: qryA\r\n- View 'qryA' written\r\n- its ORDER BY is dropped\r\n"
                      "Query: qryF\r\n- Function 'qryF' written\r\n"
                      "Query: qryAppend\r\n- Left out: an append query: it changes data and is no view\r\n"
                      "- Its Access SQL is kept in the dump as a comment\r\n"
                      "2 hidden queries of forms and reports skipped\r\n");
}

TEST(SavedQueryObjects, withoutDroppingTablesNoViewIsDropped) {
    std::string report;
    const std::string dump = dumpOf(sample(), false, report);
    EXPECT_EQ(dump.find("DROP"), std::string::npos);
    EXPECT_NE(dump.find("GO\r\n\r\n--\r\n-- View for the saved query 'qryA'\r\n--"), std::string::npos);
    EXPECT_NE(dump.find("GO\r\n\r\n--\r\n-- Function for the saved query 'qryF'\r\n--\r\n\r\nCREATE FUNCTION"),
              std::string::npos);
}

TEST(SavedQueryObjects, lineBreaksInNamesAndTextNeverEndAComment) {
    PlannedQueries queries;
    queries.sources = {{"bad\r\nDROP TABLE x", "pass-through", "line1\n\tGO\rDROP DATABASE d\x01"}};
    queries.plans = {leftOut("bad\r\nDROP TABLE x", "pass-through", "a pass-through query\r\nGO")};
    std::string report;
    const std::string dump = dumpOf(queries, true, report);
    std::size_t start = 0;
    for (std::size_t end; (end = dump.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = dump.substr(start, end - start);
        EXPECT_TRUE(line.empty() || line == "GO" || line.rfind("--", 0) == 0) << line;
        EXPECT_EQ(line.find_first_of("\r\n\x01"), std::string::npos) << line;
    }
    EXPECT_NE(dump.find("-- Query 'bad DROP TABLE x' (pass-through): a pass-through query GO\r\n"), std::string::npos);
    EXPECT_NE(dump.find("--    GO\r\n--   DROP DATABASE d \r\n"), std::string::npos);
}

TEST(SavedQueryObjects, aDatabaseWithoutQueriesGetsNoSection) {
    std::string report;
    EXPECT_EQ(dumpOf(PlannedQueries{}, true, report), "");
    EXPECT_EQ(report, "");
}

TEST(SavedQueryObjects, aDumpThatCannotBeWrittenRaises) {
    std::string written, report;
    auto dump = FailingSink::dump(100, &written);
    RecordingProgress progress;
    EXPECT_THROW(
        {
            WriteSavedQueries(sample(), *dump, true, report, progress);
            dump->close();
        },
        Error);
}

// The SQLite driver stands in for the server: it runs the statements and rejects a broken one.
TEST(SavedQueryObjects, aRejectedViewIsReportedAndTheOthersAreCreated) {
    REQUIRE_SQLITE_ODBC();
    const std::string text = "Driver=SQLite3;Database=" + OdbcTestDrivers::instance().folder().file("views.db") + ";";
    auto connection = OdbcConnection::open(text);
    connection->execute("CREATE TABLE [T] ([a] INT)");
    connection->execute("INSERT INTO [T] VALUES (1)");
    connection->execute("INSERT INTO [T] VALUES (2)");
    PlannedQueries queries;
    queries.plans = {
        created("broken", "VIEW", "CREATE VIEW [broken]\r\nAS\r\nSELEC [a] FROM [T]", "DROP VIEW IF EXISTS [broken]"),
        created("reader", "VIEW", "CREATE VIEW [reader] AS SELECT * FROM [broken]", "DROP VIEW IF EXISTS [reader]",
                {"broken"}),
        created("good", "VIEW", "CREATE VIEW [good] AS SELECT [a] FROM [T] WHERE [a] > 1",
                "DROP VIEW IF EXISTS [good]"),
        leftOut("qryAppend", "append", "an append query: it changes data and is no view"),
    };
    queries.sources = {{"qryAppend", "append", "INSERT INTO T SELECT 3;"}};
    std::string report;
    RecordingProgress progress;
    OdbcDestination direct(std::move(connection));
    WriteSavedQueries(queries, direct, true, report, progress);
    EXPECT_EQ(queryNumber(text, "SELECT COUNT(*) FROM [good]"), 1);
    EXPECT_EQ(queryNumber(text, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'view'"), 1);
    const std::string expectedStart =
        "\r\nQUERIES\r\n------------\r\nQuery: broken\r\n- Creating view 'broken' failed\r\n"
        "- SQL: CREATE VIEW [broken] AS SELEC [a] FROM [T]\r\n- Error: ";
    EXPECT_EQ(report.substr(0, expectedStart.size()), expectedStart) << report;
    EXPECT_NE(report.find("Query: reader\r\n- Left out: it reads the query broken, which the server rejected\r\n"
                          "Query: good\r\n- View 'good' created\r\n"
                          "Query: qryAppend\r\n- Left out: an append query: it changes data and is no view\r\n"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("kept in the dump"), std::string::npos);
    // Run again over what the first run left: the drop guards make room for the new views.
    std::string again;
    WriteSavedQueries(queries, direct, true, again, progress);
    EXPECT_NE(again.find("- View 'good' created"), std::string::npos) << again;
}

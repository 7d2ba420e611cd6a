// The two destinations of a run behind one interface: a connection that runs each statement and
// reports the ones the server rejects, and a script that holds them and fails only to be written.
#include "FailingSink.h"
#include "OdbcQuery.h"
#include "OdbcTestDrivers.h"
#include "engine/OdbcDestination.h"
#include "engine/RunOptions.h"

#include <gtest/gtest.h>

using namespace tabulon;

TEST(DumpDestination, attemptsNeverFailButAScriptThatCannotBeWrittenRaises) {
    std::string written;
    auto dump = FailingSink::dump(1 << 20, &written);
    EXPECT_FALSE(dump->runsStatements());
    EXPECT_FALSE(dump->attempt("SELEC nonsense"));
    EXPECT_FALSE(dump->attemptBatch("CREATE VIEW [v] AS SELECT 1 AS [a]"));
    dump->executeRepeated("INSERT INTO [T] VALUES (1)");
    EXPECT_THROW(dump->queryNumber("SELECT COUNT_BIG(*) FROM [T]"), Error);
    dump->close();
    EXPECT_EQ(written,
              "SELEC nonsense\r\nCREATE VIEW [v] AS SELECT 1 AS [a]\r\nGO\r\n\r\nINSERT INTO [T] VALUES (1)\r\n");

    // A write failure is no rejected statement the run could report and pass over.
    std::string cut;
    auto full = FailingSink::dump(10, &cut);
    EXPECT_THROW(full->attemptBatch(std::string(1 << 20, 'x')), Error);
    EXPECT_THROW(full->attempt("SELECT 1"), Error);
}

// The SQLite driver stands in for the server: it runs statements and rejects a broken one.
TEST(OdbcDestination, returnsARejectedStatementsErrorAndGoesOn) {
    REQUIRE_SQLITE_ODBC();
    const std::string text = "Driver=SQLite3;Database=" + OdbcTestDrivers::instance().folder().file("dest.db") + ";";
    OdbcDestination direct(OdbcConnection::open(text));
    EXPECT_TRUE(direct.runsStatements());
    EXPECT_FALSE(direct.attemptBatch("CREATE TABLE [T] ([a] INT)"));
    const std::optional<Error> rejected = direct.attempt("INSERT INTO [Missing] VALUES (1)");
    ASSERT_TRUE(rejected);
    EXPECT_NE(rejected->description().find("no such table"), std::string::npos) << rejected->description();
    for (int i = 0; i < 3; ++i)
        direct.executeRepeated("INSERT INTO [T] VALUES (" + std::to_string(i) + ")");
    direct.heading("not a statement");
    direct.comment("-- nor this");
    direct.endBatch();
    EXPECT_EQ(direct.queryNumber("SELECT COUNT(*) FROM [T]"), 3);
    EXPECT_THROW(direct.execute("SELEC 1"), Error);
    direct.close();
    EXPECT_EQ(queryNumber(text, "SELECT COUNT(*) FROM [T]"), 3);
}

TEST(Destination, theOptionsChooseItAndWhatTheReportSaysOfIt) {
    RunOptions options;
    options.dumpFileName = "/no/such/folder/out.sql";
    options.login.password = "top;secret";
    const auto dump = MakeDestination(options, true);
    EXPECT_EQ(dump->summary(), "Moving data to /no/such/folder/out.sql");
    EXPECT_EQ(dump->openingPhase(), "Open dump file");
    EXPECT_EQ(dump->openFailure().result, RunResult::DumpFailed);
    EXPECT_THROW(dump->open(), Error);

    options.direct = true;
    const auto direct = MakeDestination(options, true);
    EXPECT_EQ(direct->summary(), "Moving data directly to MSSQL server");
    const Destination::OpenFailure failure = direct->openFailure();
    EXPECT_EQ(failure.result, RunResult::DestinationFailed);
    for (const std::string& line : failure.reportLines)
        EXPECT_EQ(line.find("top;secret"), std::string::npos) << line;
}

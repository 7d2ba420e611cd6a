// How a run ends when its input, its destination or its settings fail.
#include "FailingRowSource.h"
#include "OdbcTestDrivers.h"
#include "RecordingProgress.h"
#include "RunSettings.h"
#include "SchemaBuilder.h"
#include "TempFolder.h"
#include "tabulon/Version.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

std::string errorBlock(long number, const std::string& hint, const std::string& reason) {
    return "Program Version: " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + ".0." +
           std::to_string(kVersionRevision) +
           "\r\nODBC Version: \r\nFunction: modMySql.MoveData2MySql\r\nError: " + std::to_string(number) +
           "\r\nHint: " + hint + "\r\nReason: " + reason + "\r\n";
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A scanned database of two tables, People (ID autonumber key, Name, index ByName) and Other,
// whose rows come from a FailingRowSource.
class RunFaults : public ::testing::Test {
protected:
    RunFaults() : settings("C:\\Data\\people.accdb", folder.file("out.sql")) {
        pugi::xml_node tables = schema.append_child("AccessDatabase").append_child("Tables");
        appendTable(tables, "People", {{"ID", "4", "4", "0", "", true}, {"Name", "10", "50"}},
                    {{"PrimaryKey", {"ID"}, "1", "1"}, {"ByName", {"Name"}, "0", "0"}});
        appendTable(tables, "Other", {{"X", "4", "4"}}, {});
        settings.section().set("sourcetables", StringList{"People", "People\\ID", "People\\Name", "Other"});
    }

    RunResult run(int rows, int failAt) {
        ConversionContext context{progress, flags, &schema, [&](const SourceCredentials& credentials) {
                                      openedFile = credentials.fileName;
                                      return std::make_unique<FailingRowSource>(rows, failAt);
                                  }};
        return MoveData2MySql(settings.settings(), report, context);
    }

    TempFolder folder;
    pugi::xml_document schema;
    RunSettings settings;
    RecordingProgress progress;
    RunFlags flags;
    std::string report;
    std::string openedFile;
};

} // namespace

TEST_F(RunFaults, aFailingRecordTransferStopsTheRunAsIfCancelled) {
    EXPECT_EQ(run(25, 5), RunResult::TableFailed);
    EXPECT_EQ(openedFile, "C:\\Data\\people.accdb");
    EXPECT_TRUE(endsWith(report, "Table: People\r\nError moving data\r\nError: 3051\r\nReason: Row 5 cannot be read\r\n"
                                 "Transfer was aborted\r\n"))
        << report;
    EXPECT_FALSE(flags.cancelRequested); // the outcome says why the run stopped, not the cancel flag
    EXPECT_FALSE(flags.conversionRunning);
    const std::string dump = readBytes(folder.file("out.sql"));
    EXPECT_NE(dump.find("SET IDENTITY_INSERT [People] ON\r\nGO\r\n"), std::string::npos);
    EXPECT_EQ(dump.find("SET IDENTITY_INSERT [People] OFF"), std::string::npos);
    EXPECT_EQ(dump.find("CREATE INDEX"), std::string::npos);
    EXPECT_EQ(dump.find("[Other]"), std::string::npos);
    EXPECT_EQ(progress.statusLines.back(), "  Transfer was aborted");
}

TEST_F(RunFaults, listedTablesTheSourceLacksAreNamedAndTheOthersStillMove) {
    // A renamed table, a typo and a letter-case slip; an empty entry and field paths are no tables.
    settings.section().set("sourcetables",
                           StringList{"Peeple", "Other", "", "people", "Peeple", "Peeple\\ID", "Gone\\X"});
    EXPECT_EQ(run(2, 0), RunResult::TablesNotFound);
    EXPECT_EQ(report, "SETTINGS\r\n--------\r\nMoving data to " + folder.file("out.sql") +
                          "\r\n\r\nTABLES\r\n------------\r\n"
                          "Table: Peeple - not found in the source database\r\n"
                          "Table: people - not found in the source database\r\n"
                          "Table: Other\r\n- 2 records moved\r\n\r\n"
                          "CONSTRAINTS, DESCRIPTIONS AND COUNTS\r\n------------\r\n"
                          "Record counts checked by the script: 1 table\r\n");
    EXPECT_EQ(progress.statusLines[1], "Table: Peeple - not found in the source database");
    EXPECT_NE(readBytes(folder.file("out.sql")).find("CREATE TABLE [Other]"), std::string::npos);
    EXPECT_FALSE(flags.conversionRunning);

    // Every listed table present: the run is done.
    report.clear();
    settings.section().set("sourcetables", StringList{"Other", ""});
    EXPECT_EQ(run(2, 0), RunResult::Completed);
    EXPECT_EQ(report.find("not found"), std::string::npos);
}

TEST_F(RunFaults, anAbortedRunStaysAbortedWhenTablesAreAlsoMissing) {
    settings.section().set("sourcetables", StringList{"Missing", "People"});
    EXPECT_EQ(run(25, 5), RunResult::TableFailed);
    EXPECT_NE(report.find("Table: Missing - not found in the source database\r\nTable: People\r\n"), std::string::npos)
        << report;
    EXPECT_TRUE(endsWith(report, "Transfer was aborted\r\n")) << report;
}

TEST_F(RunFaults, settingsWithoutSourcetablesEndInTheErrorBlockOfTheLoop) {
    settings.section().remove("sourcetables");
    EXPECT_EQ(run(0, 0), RunResult::Error);
    EXPECT_TRUE(endsWith(report, errorBlock(13, "Loop tables",
                                            "Type mismatch: the setting 'sourcetables' holds no list of tables "
                                            "and fields") +
                                     "SQL: USE [Converted]\r\n"))
        << report;
    EXPECT_FALSE(flags.conversionRunning);
    // The file keeps what was written before the error.
    EXPECT_NE(readBytes(folder.file("out.sql")).find("USE [Converted]\r\n\r\n"), std::string::npos);
}

TEST_F(RunFaults, aDumpInAFolderThatDoesNotExistIsResult2) {
    const std::string path = folder.file("missing/out.sql");
    settings.section().set("destinationdumpfilename", path);
    EXPECT_EQ(run(0, 0), RunResult::DumpFailed);
    EXPECT_EQ(report, "SETTINGS\r\n--------\r\nMoving data to " + path + "\r\n\r\nTABLES\r\n------------\r\n" +
                          "Error opening dump file: " + path + "\r\n" +
                          errorBlock(76, "Open dump file", "Path not found: '" + path + "'"));
    EXPECT_EQ(progress.statusLines,
              (std::vector<std::string>{"Moving data to destination", "Error opening dump file"}));
    EXPECT_FALSE(flags.conversionRunning);
}

TEST_F(RunFaults, aFullDiskIsReportedNotSilentlyTruncated) {
    settings.section().set("destinationdumpfilename", "/dev/full");
    EXPECT_EQ(run(3, 0), RunResult::Error);
    EXPECT_NE(report.find("- 3 records moved\r\n"), std::string::npos);
    const std::string block = report.substr(report.find("Program Version: "));
    EXPECT_NE(block.find("\r\nError: 61\r\nHint: Tables are done\r\nReason: Cannot write the dump file '/dev/full'"),
              std::string::npos)
        << block;
    EXPECT_FALSE(flags.conversionRunning);
}

TEST_F(RunFaults, aClosedServerIsResult1AndTheReportHidesThePassword) {
    REQUIRE_FREETDS();
    settings.section().set("destinationmethod", "DIRECT");
    settings.section().set("destinationauthentication", "SQL");
    settings.section().set("destinationserver", "127.0.0.1,1");
    settings.section().set("destinationusername", "sa");
    settings.section().set("destinationpassword", "s3cr;et");
    EXPECT_EQ(run(0, 0), RunResult::DestinationFailed);
    const std::string expectedStart =
        "SETTINGS\r\n--------\r\nMoving data directly to MSSQL server\r\n\r\nTABLES\r\n------------\r\n"
        "Error connecting to destination database.\r\n"
        "Connection: Driver={SQL Server};Server=127.0.0.1,1;Database=;Uid=sa;Pwd=********;\r\n";
    EXPECT_EQ(report.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(report.find("\r\nError: 20009\r\nHint: Open connection to destination database\r\nReason: [08S01]"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("s3cr"), std::string::npos);
    EXPECT_EQ(progress.statusLines.back(), "Error connecting to destination database");
    EXPECT_FALSE(flags.conversionRunning);
}

TEST_F(RunFaults, aSourceThatCannotBeOpenedPassesToTheCaller) {
    ConversionContext context{progress, flags, &schema,
                              [](const SourceCredentials&) -> std::unique_ptr<SourceConnection> {
                                  throw Error(errc::AccessFileNotFound, "Access", "Could not find file 'x'.");
                              }};
    EXPECT_THROW(MoveData2MySql(settings.settings(), report, context), Error);
    EXPECT_TRUE(flags.conversionRunning); // the caller clears it
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.sql")));
}

// The run looks at the cancel flag after each table: the tables after the one being moved must not
// be touched at all (in direct mode, dropping them would destroy tables the user meant to keep).
TEST_F(RunFaults, aCancelDuringTheFirstTableLeavesTheSecondUntouched) {
    progress.onEvents = [&] { flags.cancelRequested = flags.cancelRequested || !progress.values.empty(); };
    EXPECT_EQ(run(25, 0), RunResult::Cancelled);
    EXPECT_TRUE(endsWith(report, "Table: People\r\n- 10 records moved\r\nTransfer was aborted\r\n")) << report;
    EXPECT_EQ(report.find("Other"), std::string::npos) << report;
    const std::string dump = readBytes(folder.file("out.sql"));
    EXPECT_EQ(dump.find("[Other]"), std::string::npos);
    EXPECT_EQ(dump.find("'Other'"), std::string::npos);
    // The table that was being moved still gets its closing identity switch and its index.
    EXPECT_NE(dump.find("SET IDENTITY_INSERT [People] OFF"), std::string::npos);
    EXPECT_NE(dump.find("CREATE INDEX [ByName]"), std::string::npos);
    for (const std::string& line : progress.statusLines)
        EXPECT_EQ(line.find("Other"), std::string::npos) << line;
    EXPECT_EQ(progress.statusLines.back(), "  Transfer was aborted");
    EXPECT_FALSE(flags.conversionRunning);
}

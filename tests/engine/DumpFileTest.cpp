#include "FailingSink.h"
#include "RunSettings.h"
#include "TempFolder.h"
#include "engine/DumpDestination.h"
#include "lib/Dictionary.h"
#include "tabulon/Version.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace tabulon;

namespace {

// The section as the form builds it, in the key order of the settings object.
Dictionary formSection() {
    Dictionary s = *formOrderedDefaults({"C:\\Data\\North wind.accdb", "(local)", "/tmp/x.sql"});
    s.set("destinationmethod", "DUMP");
    s.set("dropdatabase", 1);
    s.set("columnlist", 0);
    s.set("memotype", "NVARCHAR(MAX)");
    s.set("datetimetype", "DATETIME");
    s.set("sourcepassword", "secret");
    s.set("destinationauthentication", "SQL");
    s.set("destinationusername", "sa");
    s.set("destinationpassword", "top;secret");
    s.set("destinationdatabase", "Northwind");
    s.set("sourcetables", StringList{"Customers", "Customers\\Name"});
    return s;
}

std::string dumpText(const Dictionary& section, bool unitTest) {
    TempFolder folder;
    {
        DumpDestination dump(folder.file("out.sql"), ListedOptions(section), unitTest);
        dump.open();
        dump.close();
    }
    return readBytes(folder.file("out.sql"));
}

} // namespace

TEST(DumpHeader, listsTheOptionsWithoutSecrets) {
    const std::string version =
        std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
    EXPECT_EQ(dumpText(formSection(), false), "--\r\n"
                                              "-- DUMP FILE\r\n"
                                              "--\r\n"
                                              "-- Database is ported from MS Access\r\n"
                                              "--------------------------------------------------------------------\r\n"
                                              "-- Created using \"Tabulon\" form https://tabulon.example/\r\n"
                                              "-- Program Version " +
                                                  version +
                                                  "\r\n"
                                                  "--\r\n"
                                                  "-- OPTIONS:\r\n"
                                                  "--   sourcefilename=C:/Data/North wind.accdb\r\n"
                                                  "--   sourceusername=\r\n"
                                                  "--   sourcepassword=** HIDDEN **\r\n"
                                                  "--   sourcesystemdatabase=\r\n"
                                                  "--   destinationserver=(local)\r\n"
                                                  "--   destinationauthentication=SQL\r\n"
                                                  "--   destinationdatabase=Northwind\r\n"
                                                  "--   dropdatabase=1\r\n"
                                                  "--   createtables=1\r\n"
                                                  "--   unicode=1\r\n"
                                                  "--   autocommit=1\r\n"
                                                  "--   transferdefaultvalues=1\r\n"
                                                  "--   transferindexes=1\r\n"
                                                  "--   transferautonumbers=1\r\n"
                                                  "--   transferrecords=1\r\n"
                                                  "--   columnlist=0\r\n"
                                                  "--   tableprefix=\r\n"
                                                  "--   negativeboolean=0\r\n"
                                                  "--   ignorelargeblobs=0\r\n"
                                                  "--   memotype=NVARCHAR(MAX)\r\n"
                                                  "--   datetimetype=DATETIME\r\n"
                                                  "--   transferrelationships=1\r\n"
                                                  "--   transfervalidationrules=1\r\n"
                                                  "--   transferdescriptions=1\r\n"
                                                  "--   verifycounts=1\r\n"
                                                  "--   transferqueries=1\r\n"
                                                  "--\r\n"
                                                  "\r\n");
}

TEST(DumpHeader, unitTestModeEmptyPasswordListsAndLineBreaksInValues) {
    Dictionary s;
    s.set("SourcePassword", "");
    s.set("DestinationPassword", "x");
    s.set("extra", StringList{"a", "b"});
    s.set("tableprefix", "x\r\nDROP DATABASE master;");
    const std::string text = dumpText(s, true);
    EXPECT_NE(text.find("-- Program Version UNITTEST\r\n"), std::string::npos);
    EXPECT_NE(text.find("--   SourcePassword=\r\n"), std::string::npos);
    EXPECT_EQ(text.find("DestinationPassword"), std::string::npos);
    EXPECT_NE(text.find("--   extra=a, b\r\n"), std::string::npos);
    // A value cannot end its comment line and smuggle a statement into the script.
    EXPECT_NE(text.find("--   tableprefix=x  DROP DATABASE master;\r\n"), std::string::npos);
}

TEST(DumpFile, writesUtf8LinesEndedByCrLfWithoutByteOrderMark) {
    TempFolder folder;
    DumpDestination dump(DumpFile::create(folder.file("out.sql")));
    dump.execute("INSERT INTO [Πίνακας] VALUES (N'表 😀')");
    dump.space();
    dump.heading("Table structure for table 'pre_T'");
    dump.execute("CREATE TABLE [pre_T] (\r\n  [a] INT\r\n)");
    dump.heading("View for the saved query 'q\r\nDROP TABLE x'", {"a note", ""});
    dump.comment("1 records");
    dump.comment("");
    dump.execute("SET IDENTITY_INSERT [T] ON");
    dump.endBatch();
    dump.close();
    EXPECT_EQ(readBytes(folder.file("out.sql")), "INSERT INTO [Πίνακας] VALUES (N'表 😀')\r\n\r\n"
                                                 "--\r\n-- Table structure for table 'pre_T'\r\n--\r\n\r\n"
                                                 "CREATE TABLE [pre_T] (\r\n  [a] INT\r\n)\r\n"
                                                 "--\r\n-- View for the saved query 'q  DROP TABLE x'\r\n"
                                                 "-- a note\r\n--\r\n--\r\n\r\n"
                                                 "-- 1 records\r\n--\r\n"
                                                 "SET IDENTITY_INSERT [T] ON\r\nGO\r\n\r\n");
}

// SQL Server compiles a batch whole: a long run of INSERTs is cut into batches of 1,000, counted
// across tables and started afresh by every other separator.
TEST(DumpFile, separatesEveryThousandBatchedStatementsSinceTheLastGo) {
    TempFolder folder;
    auto dump = DumpFile::create(folder.file("out.sql"));
    for (int i = 0; i < 999; ++i)
        dump->writeBatchedStatement("a");
    dump->writeLine("SET IDENTITY_INSERT [T] OFF");
    dump->writeGo();
    for (int i = 0; i < 2001; ++i)
        dump->writeBatchedStatement("b");
    dump->close();
    std::vector<std::size_t> runs{0}; // statements between separators
    std::istringstream lines(readBytes(folder.file("out.sql")));
    for (std::string line; std::getline(lines, line);) {
        if (line == "GO\r")
            runs.push_back(0);
        else if (line.size() == 2 && line[0] >= 'a')
            ++runs.back();
    }
    EXPECT_EQ(runs, (std::vector<std::size_t>{999, 1000, 1000, 1}));
}

TEST(DumpFile, replacesAnExistingFileAndReportsAMissingFolder) {
    TempFolder folder;
    std::ofstream(folder.file("old.sql")) << "old content that is longer than the new one";
    auto dump = DumpFile::create(folder.file("old.sql"));
    dump->writeLine("new");
    dump->close();
    EXPECT_EQ(readBytes(folder.file("old.sql")), "new\r\n");

    const std::string missing = folder.file("no such folder/out.sql");
    try {
        DumpFile::create(missing);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), errc::PathNotFound);
        EXPECT_NE(e.description().find(missing), std::string::npos);
    }
}

TEST(DumpFile, aFullDiskIsReportedNotSilentlyTruncated) {
    auto dump = DumpFile::create("/dev/full");
    dump->writeLine("INSERT INTO [T] VALUES (1)");
    try {
        dump->close();
        ADD_FAILURE() << "a dump on a full disk closed without error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), errc::DiskFull);
        EXPECT_NE(e.description().find("/dev/full"), std::string::npos);
    }
    EXPECT_NO_THROW(dump->close()); // reported once; closing again is harmless
}

TEST(DumpFile, afterAFailedWriteEveryLaterWriteFailsToo) {
    std::string written;
    auto dump = FailingSink::dump(3000, &written);
    const std::string line(1000, 'x');
    EXPECT_THROW(
        {
            for (int i = 0; i < 5000; ++i)
                dump->execute(line);
        },
        Error);
    EXPECT_EQ(written.size(), 3000u);
    EXPECT_THROW(dump->execute("more"), Error);
    EXPECT_THROW(dump->close(), Error);
    EXPECT_EQ(written.size(), 3000u);
}

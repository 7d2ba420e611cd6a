#include "engine/LogFile.h"
#include "TempFolder.h"
#include "lib/Error.h"

#include <gtest/gtest.h>

#include <regex>

using namespace tabulon;

TEST(LogFile, entryIsStampTabTextAndCrLf) {
    const LocalTime t{2026, 3, 7, 9, 5, 3};
    EXPECT_EQ(LogTimeStamp(t), "2026-03-07 09:05:03");
    EXPECT_EQ(FormatLogEntry(t, "Begin"), "2026-03-07 09:05:03\tBegin\r\n");
    EXPECT_EQ(FormatLogEntry(t, "one\r\ntwo\r\n"),
              "2026-03-07 09:05:03\tone\r\n                   \ttwo\r\n                   \t\r\n");
    // Only a CR LF pair continues the entry; a lone CR or LF is written as it is.
    EXPECT_EQ(FormatLogEntry(t, "a\rb\nc"), "2026-03-07 09:05:03\ta\rb\nc\r\n");
    EXPECT_EQ(FormatLogEntry(LocalTime{999, 12, 31, 23, 59, 59}, ""), "0999-12-31 23:59:59\t\r\n");
}

TEST(LogFile, initLogCreatesTheFolderAndDeletesTheOldLog) {
    TempFolder folder;
    const std::string path = folder.file("a/b/tabulon.log");
    LogFile log(path);
    log.InitLog();
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "a" / "b"));
    EXPECT_FALSE(std::filesystem::exists(path));
    log.WriteLog("first");
    log.WriteLog("second");
    const std::string text = readBytes(path);
    EXPECT_TRUE(std::regex_match(text, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\tfirst\r\n"
                                                  "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\tsecond\r\n")))
        << text;
    log.InitLog();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(LogFile, clearLogModeTruncatesOnTheFirstWriteOnly) {
    TempFolder folder;
    const std::string path = folder.file("new/tabulon.log");
    LogFile log(path);
    log.setClearLogMode(true);
    log.setLogFirstWrite(true);
    std::filesystem::create_directories(folder.path() / "new");
    std::ofstream(path) << "earlier run\r\n";
    log.WriteLog("one");
    EXPECT_FALSE(log.logFirstWrite());
    log.WriteLog("two");
    const std::string text = readBytes(path);
    EXPECT_EQ(text.find("earlier run"), std::string::npos);
    EXPECT_NE(text.find("\tone\r\n"), std::string::npos);
    EXPECT_NE(text.find("\ttwo\r\n"), std::string::npos);

    // Without clearLogMode the first write appends.
    LogFile keep(path);
    keep.setLogFirstWrite(true);
    keep.WriteLog("three");
    EXPECT_NE(readBytes(path).find("\tone\r\n"), std::string::npos);
}

TEST(LogFile, anUnwritableLogRaisesAnErrorNamingIt) {
    TempFolder folder;
    LogFile log(folder.file("missing/tabulon.log"));
    try {
        log.WriteLog("x");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_NE(e.description().find("tabulon.log"), std::string::npos);
    }
    LogFile full("/dev/full");
    EXPECT_THROW(full.WriteLog("x"), Error);
}

TEST(LogFile, logProgressWritesStatusLinesOnly) {
    TempFolder folder;
    LogFile log(folder.file("tabulon.log"));
    LogProgress progress(log);
    progress.addStatusLine("Moving data to destination");
    progress.startProgress("PROGRESS", 0, 10);
    progress.setProgress("caption", 5);
    progress.processEvents();
    const std::string text = readBytes(log.path());
    EXPECT_EQ(text.substr(19), "\tMoving data to destination\r\n");
}

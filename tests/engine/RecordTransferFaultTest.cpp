// The record transfer when its input or its output fails part-way.
#include "FailingRowSource.h"
#include "FailingSink.h"
#include "RecordingProgress.h"
#include "engine/RecordTransfer.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

TransferRequest request() {
    TransferRequest r;
    r.sourceTable = "People";
    r.destinationTable = "People";
    r.sourceFileName = "people.accdb";
    r.destinationDatabase = "db";
    r.required = {false, false};
    return r;
}

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += part.size())
        ++n;
    return n;
}

} // namespace

TEST(RecordTransferFaults, aRowSourceFailingOnTheFifthRowEndsTheTableWithTheErrorLines) {
    FailingRowSource source(25, 5);
    std::string written, report = "before\r\n";
    auto dump = FailingSink::dump(1 << 30, &written);
    RecordingProgress progress;
    RunFlags flags;
    EXPECT_EQ(TransferRecords(source, *dump, request(), report, progress, flags), -1);
    dump->close();
    EXPECT_EQ(report, "before\r\nError moving data\r\nError: 3051\r\nReason: Row 5 cannot be read\r\n");
    EXPECT_EQ(countOf(written, "INSERT INTO [People] VALUES ("), 4);
    EXPECT_EQ(written.find("records"), std::string::npos);
    EXPECT_EQ(progress.statusLines, (std::vector<std::string>{"  Moving records", "  Error moving data"}));
}

TEST(RecordTransferFaults, aDumpWriterFailingAfterNBytesIsReportedAsAFailedTable) {
    FailingRowSource source(30000, 0);
    std::string written, report;
    auto dump = FailingSink::dump(100000, &written);
    RecordingProgress progress;
    RunFlags flags;
    EXPECT_EQ(TransferRecords(source, *dump, request(), report, progress, flags), -1);
    EXPECT_EQ(report.rfind("Error moving data\r\nError: 61\r\nReason: Disk full after 100000\r\n", 0), 0u) << report;
    EXPECT_EQ(report.find("SQL: "), std::string::npos);
    EXPECT_EQ(written.size(), 100000u);
    EXPECT_THROW(dump->close(), Error);
}

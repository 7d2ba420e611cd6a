// The record transfer over real rows: generated/edge.accdb read by the source layer, written as
// dump lines.
#include "engine/RecordTransfer.h"
#include "FailingSink.h"
#include "FixtureFiles.h"
#include "RecordingProgress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

using namespace tabulon;

namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Passes the rows of another source through and "clicks" once row `clickRow` has been read.
class ClickWhileReading : public SourceConnection {
public:
    ClickWhileReading(SourceConnection& inner, int clickRow, std::function<void()> click)
        : m_inner(inner), m_clickRow(clickRow), m_click(std::move(click)) {}

    std::int64_t rowCount(const std::string& table) override { return m_inner.rowCount(table); }
    std::unique_ptr<RowCursor> openCursor(const std::string& table, const std::vector<std::string>& columns) override {
        return std::make_unique<Cursor>(m_inner.openCursor(table, columns), m_clickRow, m_click);
    }

private:
    class Cursor : public RowCursor {
    public:
        Cursor(std::unique_ptr<RowCursor> inner, int clickRow, std::function<void()> click)
            : m_inner(std::move(inner)), m_clickRow(clickRow), m_click(std::move(click)) {}
        std::size_t columnCount() const override { return m_inner->columnCount(); }
        const std::string& columnName(std::size_t column) const override { return m_inner->columnName(column); }
        ProviderType columnType(std::size_t column) const override { return m_inner->columnType(column); }
        bool next() override {
            const bool more = m_inner->next();
            if (more && ++m_row == m_clickRow)
                m_click();
            return more;
        }
        const Variant& value(std::size_t column) const override { return m_inner->value(column); }

    private:
        std::unique_ptr<RowCursor> m_inner;
        int m_clickRow, m_row = 0;
        std::function<void()> m_click;
    };

    SourceConnection& m_inner;
    int m_clickRow;
    std::function<void()> m_click;
};

class RecordTransfer : public ::testing::Test {
protected:
    static TransferRequest request(const std::string& table, std::vector<std::string> columns = {},
                                   std::vector<bool> required = {}) {
        TransferRequest r;
        r.sourceTable = table;
        r.destinationTable = table;
        r.columns = std::move(columns);
        r.required = required.empty() ? std::vector<bool>(r.columns.size(), false) : std::move(required);
        r.sourceFileName = "edge.accdb";
        r.destinationDatabase = "Converted";
        return r;
    }

    int run(const TransferRequest& r) { return run(*database, r); }
    int run(SourceConnection& source, const TransferRequest& r) {
        auto dump = FailingSink::dump(SIZE_MAX, &written);
        const int result = TransferRecords(source, *dump, r, report, progress, flags);
        dump->close();
        for (const std::string& line : fixture::lines(written))
            if (line.rfind("INSERT INTO ", 0) == 0)
                inserts.push_back(line);
        return result;
    }

    std::unique_ptr<AccessDatabase> database = fixture::open("generated/edge.accdb");
    RecordingProgress progress;
    RunFlags flags;
    std::string report, written;
    std::vector<std::string> inserts;
};

} // namespace

TEST_F(RecordTransfer, anEmptyTableWritesOnlyItsCount) {
    EXPECT_EQ(run(request("Empty Table")), 0);
    EXPECT_EQ(written, "-- 0 records\r\n\r\n");
    EXPECT_EQ(progress.starts, (std::vector<std::string>{"PROGRESS 0 0"}));
    EXPECT_TRUE(progress.captions.empty());
    EXPECT_EQ(progress.statusLines, (std::vector<std::string>{"  Moving records", "  0 records moved"}));
    EXPECT_EQ(report, "");
}

TEST_F(RecordTransfer, twentyFiveRowsMoveTheBarAtTenAndTwenty) {
    TransferRequest r = request("TwentyFive");
    r.identityColumn = "ID";
    EXPECT_EQ(run(r), 25);
    EXPECT_EQ(progress.starts, (std::vector<std::string>{"PROGRESS 0 25"}));
    EXPECT_EQ(progress.values, (std::vector<int>{10, 20}));
    EXPECT_EQ(progress.captions, (std::vector<std::string>{"edge.accdb - TwentyFive -> Converted (10/25)",
                                                           "edge.accdb - TwentyFive -> Converted (20/25)"}));
    ASSERT_EQ(inserts.size(), 25u);
    // An identity column brings the column list, even with `columnlist` off.
    EXPECT_EQ(inserts[0], "INSERT INTO [TwentyFive] ([ID], [Code], [Amount], [At], [Ok]) "
                          "VALUES (1, N'C6309', 25.034123905938, '2015-07-18T01:33:00', 1)");
    EXPECT_TRUE(endsWith(written, "\r\n-- 25 records\r\n\r\n"));
    EXPECT_EQ(progress.statusLines.back(), "  25 records moved");
}

TEST_F(RecordTransfer, nullsEmptyTextsAndBooleans) {
    const std::vector<std::string> columns = {"ID", "Flag", "ShortText", "Text50"};
    ASSERT_EQ(run(request("AllTypes", columns)), 13);
    EXPECT_EQ(inserts[0], "INSERT INTO [AllTypes] VALUES (1, 1, N'Hello, world', N'plain ascii')");
    EXPECT_EQ(inserts[1], "INSERT INTO [AllTypes] VALUES (2, 0, NULL, NULL)");
    EXPECT_EQ(inserts[2], "INSERT INTO [AllTypes] VALUES (3, 0, N'', N'')");
    EXPECT_EQ(inserts[4], "INSERT INTO [AllTypes] VALUES (5, 0, N'O''Brien said \"hi\"; 50% off [sic] `tick` \\back', "
                          "N'tab'+CHAR(9)+N'here')");

    inserts.clear();
    written.clear();
    TransferRequest negative = request("AllTypes", columns);
    negative.negativeBoolean = true;
    negative.unicode = false;
    negative.columnList = true;
    ASSERT_EQ(run(negative), 13);
    EXPECT_EQ(inserts[0], "INSERT INTO [AllTypes] ([ID], [Flag], [ShortText], [Text50]) "
                          "VALUES (1, -1, 'Hello, world', 'plain ascii')");
    EXPECT_EQ(inserts[1], "INSERT INTO [AllTypes] ([ID], [Flag], [ShortText], [Text50]) VALUES (2, 0, NULL, NULL)");
    EXPECT_EQ(inserts[2], "INSERT INTO [AllTypes] ([ID], [Flag], [ShortText], [Text50]) VALUES (3, 0, '', '')");
}

TEST_F(RecordTransfer, emptyAndLargeBinariesWithIgnoreLargeBlobs) {
    // Blob (OLE) required, VarBin not: row 2 holds nulls, row 3 zero-length values of both (SQL
    // Server's empty binary 0x, neither NULL nor a zero byte), row 4 an OLE value of exactly 500000
    // bytes, row 5 one of 500001 bytes.
    TransferRequest r = request("AllTypes", {"ID", "Blob", "VarBin"}, {false, true, false});
    r.ignoreLargeBlobs = true;
    ASSERT_EQ(run(r), 13);
    EXPECT_EQ(inserts[1], "INSERT INTO [AllTypes] VALUES (2, 0x00, NULL)");
    EXPECT_EQ(inserts[2], "INSERT INTO [AllTypes] VALUES (3, 0x, 0x)");
    const std::string prefix = "INSERT INTO [AllTypes] VALUES (4, 0x";
    ASSERT_EQ(inserts[3].rfind(prefix, 0), 0u);
    EXPECT_EQ(inserts[3].find(',', prefix.size()), prefix.size() + 1000000);
    EXPECT_EQ(inserts[4].rfind("INSERT INTO [AllTypes] VALUES (5, 0x00, 0x", 0), 0u);
    EXPECT_EQ(report, "");

    inserts.clear();
    written.clear();
    r.required = {false, false, false};
    ASSERT_EQ(run(r), 13);
    EXPECT_EQ(inserts[1], "INSERT INTO [AllTypes] VALUES (2, NULL, NULL)");
    EXPECT_EQ(inserts[2], "INSERT INTO [AllTypes] VALUES (3, 0x, 0x)");
    EXPECT_EQ(inserts[4].rfind("INSERT INTO [AllTypes] VALUES (5, NULL, 0x", 0), 0u);
}

TEST_F(RecordTransfer, aBlobOverTheLimitFailsTheTableWithoutIgnoreLargeBlobs) {
    report = "before\r\n";
    EXPECT_EQ(run(request("AllTypes", {"ID", "Blob"})), -1);
    EXPECT_EQ(inserts.size(), 4u); // rows 1 to 4, the 500000-byte value included
    EXPECT_EQ(report, "before\r\nError moving data\r\nError: 1003\r\nReason: The maximum blob size of 500000 bytes "
                      "was exceeded by a blob of 500001 bytes. There is an advanced option to ignore BLOBs that "
                      "are too large.\r\n");
    EXPECT_EQ(written.find("records"), std::string::npos);
    EXPECT_EQ(progress.statusLines.back(), "  Error moving data");
}

TEST_F(RecordTransfer, aCancelClickedDuringRow23StopsAfterRow30) {
    bool clicked = false;
    ClickWhileReading source(*database, 23, [&] { clicked = true; });
    // The click is handled where window events run: after every tenth row.
    progress.onEvents = [&] { flags.cancelRequested = flags.cancelRequested || clicked; };
    EXPECT_EQ(run(source, request("Orders")), 30);
    EXPECT_EQ(inserts.size(), 30u);
    EXPECT_EQ(progress.values, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(progress.captions.back(), "edge.accdb - Orders -> Converted (30/40)");
    EXPECT_EQ(progress.statusLines.back(), "  30 records moved");
    EXPECT_TRUE(endsWith(written, "\r\n-- 30 records\r\n\r\n"));
}

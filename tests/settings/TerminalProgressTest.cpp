// The unattended run's progress line: what it shows, how it fits the terminal and that it leaves
// the terminal clean.
#include "settings/TerminalProgress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace tabulon;
using namespace std::chrono_literals;

namespace {

// Records what reaches the wrapped progress (the log).
class RecordingProgress : public Progress {
public:
    void addStatusLine(const std::string& text) override { lines.push_back(text); }
    void startProgress(const std::string&, int, int maximum) override { maximums.push_back(maximum); }
    void setProgress(const std::string& caption, int) override { captions.push_back(caption); }
    void processEvents() override { ++events; }

    std::vector<std::string> lines;
    std::vector<int> maximums;
    std::vector<std::string> captions;
    int events = 0;
};

class TerminalProgressTest : public ::testing::Test {
protected:
    TerminalProgressTest() : m_file(std::tmpfile()) {}
    ~TerminalProgressTest() override { std::fclose(m_file); }

    std::unique_ptr<TerminalProgress> make(int columns = 200) {
        return std::make_unique<TerminalProgress>(m_inner, m_file, columns, [this] { return m_time; });
    }

    // Everything written to the terminal so far.
    std::string written() {
        std::fflush(m_file);
        std::string text(static_cast<std::size_t>(std::ftell(m_file)), '\0');
        std::rewind(m_file);
        text.resize(std::fread(text.data(), 1, text.size(), m_file));
        std::fseek(m_file, 0, SEEK_END);
        return text;
    }

    // The pictures drawn, each the text between a carriage return and the erase.
    std::vector<std::string> pictures() {
        std::vector<std::string> result;
        const std::string text = written();
        for (std::size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at + 1))
            result.push_back(text.substr(at + 1, text.find("\x1b[K", at) - at - 1));
        return result;
    }

    RecordingProgress m_inner;
    std::FILE* m_file;
    TerminalProgress::Clock::time_point m_time{};
};

} // namespace

TEST_F(TerminalProgressTest, ShowsTheTableOfAllItsRecordsAndTheRateThenClearsTheLine) {
    {
        auto progress = make();
        progress->addStatusLine("  - Reading Orders");
        progress->setTables({"Customers", "Orders"});
        progress->addStatusLine("Table: Orders");
        progress->startProgress("PROGRESS", 0, 25000);
        m_time += 2s;
        progress->setProgress("shop.mdb - Orders -> shop (12000/25000)", 12000);
    }
    const std::vector<std::string> expected = {"Reading the structure of Orders", "Table 2 of 2: Orders  0 records",
                                               "Table 2 of 2: Orders  0 of 25,000 records",
                                               "Table 2 of 2: Orders  12,000 of 25,000 records  6,000 records/s", ""};
    EXPECT_EQ(pictures(), expected);
    // The last thing written takes the line away: the terminal is as it was.
    EXPECT_EQ(written().substr(written().size() - 4), "\r\x1b[K");
}

TEST_F(TerminalProgressTest, PassesEverythingOnToTheLog) {
    auto progress = make();
    progress->addStatusLine("Table: Orders");
    progress->startProgress("PROGRESS", 0, 10);
    progress->setProgress("caption", 10);
    progress->processEvents();
    EXPECT_EQ(m_inner.lines, std::vector<std::string>{"Table: Orders"});
    EXPECT_EQ(m_inner.maximums, std::vector<int>{10});
    EXPECT_EQ(m_inner.captions, std::vector<std::string>{"caption"});
    EXPECT_EQ(m_inner.events, 1);
}

TEST_F(TerminalProgressTest, DrawsAtMostTenTimesASecondButEveryNewTableAtOnce) {
    auto progress = make();
    progress->setTables({"A", "B"});
    progress->addStatusLine("Table: A");
    for (int done = 10; done < 1000; done += 10) {
        m_time += 1ms;
        progress->setProgress("", done);
    }
    EXPECT_EQ(pictures().size(), 1u);
    m_time += 100ms;
    progress->setProgress("", 1010);
    progress->addStatusLine("Table: B");
    const std::vector<std::string> drawn = pictures();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[1], "Table 1 of 2: A  1,010 records");
    EXPECT_EQ(drawn[2], "Table 2 of 2: B  0 records");
}

TEST_F(TerminalProgressTest, TheLineNeverWrapsNorCarriesControlCharacters) {
    auto progress = make(20);
    progress->addStatusLine("Table: Bestellpositionen\tÜbersicht");
    // One column stays free: some terminals wrap as soon as the last one is written.
    EXPECT_EQ(pictures().at(0), "Table: Bestellposit");
    EXPECT_EQ(FitToColumns("Über\x1b[2Jalles", 8), "Über?[2J");
    EXPECT_EQ(FitToColumns("ÄÖÜ", 2), "ÄÖ");
}

TEST_F(TerminalProgressTest, NothingDrawnMeansNothingToClear) {
    make().reset();
    EXPECT_EQ(written(), "");
}

TEST(GroupDigitsTest, GroupsThousands) {
    EXPECT_EQ(GroupDigits(0), "0");
    EXPECT_EQ(GroupDigits(999), "999");
    EXPECT_EQ(GroupDigits(1000), "1,000");
    EXPECT_EQ(GroupDigits(1234567), "1,234,567");
    EXPECT_EQ(GroupDigits(-45000), "-45,000");
}

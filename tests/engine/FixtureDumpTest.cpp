// Whole runs on real Access files: scanned by the source layer, converted by the run into a dump.
#include "FixtureRuns.h"
#include "ServerRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>

using namespace tabulon;

namespace {

// The INSERT lines of each table's data block, checked against the block's own closing count.
std::map<std::string, std::int64_t> insertCounts(const std::string& dump) {
    std::map<std::string, std::int64_t> counts;
    std::string table;
    std::int64_t inserts = 0;
    for (const std::string& line : fixture::lines(dump)) {
        const std::string dumping = "-- Dumping data for table '";
        if (line.rfind(dumping, 0) == 0) {
            table = line.substr(dumping.size(), line.size() - dumping.size() - 1);
            inserts = 0;
        } else if (line.rfind("INSERT INTO ", 0) == 0) {
            ++inserts;
        } else if (!table.empty() && line == "-- " + std::to_string(inserts) + " records") {
            counts[table] = inserts;
            table.clear();
        }
    }
    return counts;
}

// Every line of a dump is a comment, a blank line, "GO", a statement or a line of CREATE TABLE.
bool isDumpLine(const std::string& line) {
    for (const char* start :
         {"--", "USE ", "IF ", "CREATE ", "SET ", "INSERT INTO ", "  ", ")", "ALTER TABLE ", "DECLARE "})
        if (line.rfind(start, 0) == 0)
            return true;
    return line.empty() || line == "GO";
}

// What the converter knowingly does not hold exactly (README, Limitations): a calculated Decimal field
// stores a scale per value and arrives as DECIMAL(28,10), which rounds a longer fraction.
std::vector<serverrules::Finding> withoutKnownLimits(const std::string& fixture,
                                                     std::vector<serverrules::Finding> findings) {
    std::erase_if(findings, [&](const serverrules::Finding& f) {
        return fixture == "access/a2010_calculated_fields.accdb" && f.rule == "literals" &&
               f.message.find("more decimal places than the scale of DECIMAL(28,10)") != std::string::npos;
    });
    return findings;
}

class EveryFixture : public ::testing::TestWithParam<Fixture> {};

} // namespace

TEST_P(EveryFixture, convertsToADumpWhoseRowCountsEqualTheSource) {
    const std::string file = fixture::path(GetParam().relative);
    FixtureRun run(file, GetParam().password);               // a file that does not open fails the test with its error
    run.settings.section().set("ignorelargeblobs", 1);       // edge's AllTypes holds a 500001-byte OLE value
    run.settings.section().set("datetimetype", "DATETIME2"); // the wizard's default; holds dates before 1753
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_EQ(serverrules::describe(withoutKnownLimits(GetParam().relative, serverrules::checkScript(run.dump))), "");
    EXPECT_EQ(run.report.find("Error"), std::string::npos) << run.report;
    EXPECT_EQ(run.report.find("aborted"), std::string::npos) << run.report;
    EXPECT_EQ(run.progress.statusLines.back(), "  Transfer completed");

    bool inView = false; // a view's or function's body runs to the end of its batch
    for (const std::string& line : fixture::lines(run.dump)) {
        inView =
            (inView || line.rfind("CREATE VIEW ", 0) == 0 || line.rfind("CREATE FUNCTION ", 0) == 0) && line != "GO";
        EXPECT_TRUE(inView || isDumpLine(line)) << line.substr(0, 200);
    }

    const auto counts = insertCounts(run.dump);
    const auto database = AccessDatabase::open({file, "", "", GetParam().password});
    for (const std::string& table : run.tables) {
        const std::int64_t rows = database->rowCount(table);
        ASSERT_EQ(counts.count(table), 1u) << table;
        EXPECT_EQ(counts.at(table), rows) << table;
        EXPECT_NE(run.report.find("Table: " + table + "\r\n"), std::string::npos) << table;
        EXPECT_NE(run.report.find("- " + std::to_string(rows) + " records moved\r\n"), std::string::npos) << table;
    }
}

INSTANTIATE_TEST_SUITE_P(RealFiles, EveryFixture, ::testing::ValuesIn(everyFixture()), fixtureTestName);

TEST(FixtureDump, specialFloatsBecomeNullWithOneReportLinePerColumn) {
    FixtureRun run(fixture::path("generated/edge.accdb"), "");
    run.settings.section().set("sourcetables", StringList{"SpecialFloats"});
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    const std::string note = "NaN or infinite values, which SQL Server cannot hold, written as NULL\r\n";
    EXPECT_NE(run.report.find("Table: SpecialFloats\r\n- Column 'S' of table 'SpecialFloats': " + note +
                              "- Column 'D' of table 'SpecialFloats': " + note + "- 6 records moved\r\n"),
              std::string::npos)
        << run.report;
    EXPECT_EQ(run.dump.find("nan"), std::string::npos);
    EXPECT_EQ(run.dump.find("inf"), std::string::npos);
}

TEST(FixtureDump, complexColumnsGetDefinedLiterals) {
    FixtureRun attachments(fixture::path("access/a2007_attachments.accdb"), "");
    ASSERT_EQ(attachments.run(), RunResult::Completed) << attachments.report;
    EXPECT_NE(attachments.report.find("' of table 'Table1': attachments are not transferred, written as NULL\r\n"),
              std::string::npos)
        << attachments.report;

    FixtureRun multiValued(fixture::path("access/a2007_complex_columns.accdb"), "");
    ASSERT_EQ(multiValued.run(), RunResult::Completed) << multiValued.report;
    EXPECT_NE(multiValued.dump.find("; "), std::string::npos);
}

// Date/Time Extended keeps its 100-ns ticks in DATETIME2; DATETIME, which refuses a fourth digit,
// gets them rounded to the millisecond. Date/Time values keep their milliseconds either way.
TEST(FixtureDump, dateTimeFractionsArriveToTheDigitTheColumnHolds) {
    for (const char* type : {"DATETIME2", "DATETIME"}) {
        FixtureRun run(fixture::path("access/a2019_ext_datetime.accdb"), "");
        run.settings.section().set("datetimetype", type);
        ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
        const bool wide = std::string(type) == "DATETIME2";
        EXPECT_NE(run.dump.find(wide ? "VALUES (6, N'row6', '2021-06-14T22:45:12.3456789', '2021-06-14T22:45:12', "
                                     : "VALUES (6, N'row6', '2021-06-14T22:45:12.346', '2021-06-14T22:45:12', "),
                  std::string::npos)
            << type;
        EXPECT_NE(run.dump.find(wide ? "VALUES (8, N'row8', '0100-06-14T12:45:00.1234567', "
                                     : "VALUES (8, N'row8', '0100-06-14T12:45:00.123', "),
                  std::string::npos)
            << type;
    }
}

// A column of a type no reader knows arrives as the bytes its rows store, and the report names it;
// the table's other columns and rows move as well.
TEST(FixtureDump, unknownColumnTypesArriveAsTheirStoredBytes) {
    FixtureRun run(fixture::path("access/a2007_unsupported_types.accdb"), "");
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_NE(run.report.find("Table: Test\r\n- column UnknownVar has an unknown type; its stored bytes were copied\r\n"
                              "- column UnknownFix has an unknown type; its stored bytes were copied\r\n"
                              "- 3 records moved\r\n"),
              std::string::npos)
        << run.report;
    EXPECT_NE(run.dump.find("  [UnknownVar] VARBINARY(MAX), \r\n  [UnknownFix] VARBINARY(MAX), \r\n"),
              std::string::npos);
    EXPECT_NE(run.dump.find("VALUES (1, 0xFFFE736F6D6564617461, 0x37000000, "), std::string::npos);
}

// A settings file written by hand may list a table by its name alone (examples/sample.ini does): the
// table moves with every field, and with its primary key and indexes as well.
TEST(FixtureDump, aTableListedWithoutFieldsKeepsItsKeyAndIndexes) {
    FixtureRun run(fixture::path("access/a97_basic_types.mdb"), "");
    run.settings.section().set("sourcetables", StringList{"Table1"});
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_NE(run.dump.find("  [I] BIT, \r\n  PRIMARY KEY ([A])\r\n)\r\n"), std::string::npos);
    EXPECT_NE(run.dump.find("CREATE INDEX [B] ON [Table1] ([B])\r\nGO\r\n"), std::string::npos);
}

// With `unicode` off the data is written in plain literals, but object_id still gets an N literal: a
// plain one would turn the name's characters into "?" and never find the table it guards.
TEST(FixtureDump, theDropGuardFindsNonAsciiTablesWithoutUnicode) {
    FixtureRun run(fixture::path("generated/edge.accdb"), "");
    run.settings.section().set("unicode", 0);
    run.settings.section().set("sourcetables", StringList{"表_テーブル"});
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_NE(run.dump.find("IF object_id(N'表_テーブル', 'U') IS NOT NULL DROP TABLE [表_テーブル]\r\n"),
              std::string::npos);
    EXPECT_EQ(serverrules::describe(serverrules::checkScript(run.dump, "drop-guard")), "");
}

// With `unicode` off a whole run writes single-byte text types and plain literals, and every value is
// the one the Unicode run writes: the characters stay as they are, only the N prefix goes.
TEST(FixtureDump, unicodeOffWritesSingleByteTypesAndPlainLiteralsOfTheSameValues) {
    std::set<std::string> textTypes;
    for (const char* file : {"access/a97_basic_types.mdb", "access/a2007_long_text.accdb", "generated/edge.accdb"}) {
        SCOPED_TRACE(file);
        FixtureRun wide(fixture::path(file), ""), narrow(fixture::path(file), "");
        for (FixtureRun* run : {&wide, &narrow}) {
            run->settings.section().set("ignorelargeblobs", 1);
            run->settings.section().set("datetimetype", "DATETIME2");
        }
        narrow.settings.section().set("unicode", 0);
        ASSERT_EQ(wide.run(), RunResult::Completed) << wide.report;
        ASSERT_EQ(narrow.run(), RunResult::Completed) << narrow.report;
        const sqlscript::Script wideScript = sqlscript::parseScript(wide.dump);
        const sqlscript::Script narrowScript = sqlscript::parseScript(narrow.dump);

        for (const auto& [name, table] : narrowScript.tables)
            for (const sqlscript::Column& column : table.columns) {
                EXPECT_NE(column.type.name.front(), 'N') << name << "." << column.name << " " << column.type.text;
                if (column.type.name.find("CHAR") != std::string::npos)
                    textTypes.insert(column.type.text);
            }
        ASSERT_EQ(narrowScript.statements.size(), wideScript.statements.size());
        std::size_t values = 0;
        for (std::size_t i = 0; i < narrowScript.statements.size(); ++i) {
            const sqlscript::Statement& plain = narrowScript.statements[i];
            if (plain.kind != sqlscript::Statement::Kind::Insert)
                continue;
            const sqlscript::Statement& unicode = wideScript.statements[i];
            ASSERT_EQ(plain.values.size(), unicode.values.size()) << plain.text;
            for (std::size_t v = 0; v < plain.values.size(); ++v, ++values) {
                EXPECT_FALSE(plain.values[v].unicode) << plain.text;
                EXPECT_EQ(plain.values[v].kind, unicode.values[v].kind) << plain.text;
                EXPECT_EQ(plain.values[v].text, unicode.values[v].text) << plain.text;
            }
        }
        EXPECT_GT(values, 0u);
        EXPECT_EQ(serverrules::describe(serverrules::checkScript(narrow.dump)), "");
    }
    // No test file holds a fixed-length text (CHAR); the column-type tests hold that one.
    EXPECT_TRUE(textTypes.count("VARCHAR(MAX)")) << ::testing::PrintToString(textTypes);
    EXPECT_TRUE(std::any_of(textTypes.begin(), textTypes.end(), [](const std::string& type) {
        return type.rfind("VARCHAR(", 0) == 0 && type != "VARCHAR(MAX)";
    })) << ::testing::PrintToString(textTypes);
}

namespace {

// The dump of a97_basic_types.mdb in unit-test mode, its source path shown as the bare file name (the
// header shows where the tests run), compared with a file of tests/data/golden. Set
// TABULON_UPDATE_GOLDEN=1 to write the file anew after a deliberate change, then check it again.
void expectGoldenDump(FixtureRun& run, const std::string& goldenName, const std::vector<std::string>& leftOut = {}) {
    run.flags.unitTestMode = true; // "UNITTEST" instead of the version number
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    const std::string file = fixture::path("access/a97_basic_types.mdb");
    const std::string shownPath = "--   sourcefilename=" + std::filesystem::path(file).generic_string() + "\r\n";
    std::string dump = run.dump;
    const std::size_t at = dump.find(shownPath);
    ASSERT_NE(at, std::string::npos);
    dump.replace(at, shownPath.size(), "--   sourcefilename=a97_basic_types.mdb\r\n");
    for (const std::string& line : leftOut) {
        const std::size_t found = dump.find(line + "\r\n");
        ASSERT_NE(found, std::string::npos) << line;
        dump.erase(found, line.size() + 2);
    }

    const std::string golden = fixture::path("golden/" + goldenName);
    if (std::getenv("TABULON_UPDATE_GOLDEN") && leftOut.empty())
        std::ofstream(golden, std::ios::binary) << dump;
    EXPECT_EQ(fixture::lines(dump), fixture::lines(readBytes(golden)));
    EXPECT_EQ(dump, readBytes(golden));
}

} // namespace

// Checked by hand line by line.
TEST(FixtureDump, goldenDumpOfA97BasicTypes) {
    FixtureRun run(fixture::path("access/a97_basic_types.mdb"), "");
    expectGoldenDump(run, "a97_basic_types.sql");
}

// With relationships, rules, descriptions, counts and views switched off, a run writes what it wrote
// before they existed, but for the header's listing of the five options.
TEST(FixtureDump, withoutTheAddedObjectsTheDumpIsAsBefore) {
    FixtureRun run(fixture::path("access/a97_basic_types.mdb"), "");
    std::vector<std::string> listing;
    for (const char* key : {"transferrelationships", "transfervalidationrules", "transferdescriptions", "verifycounts",
                            "transferqueries"}) {
        run.settings.section().set(key, "0");
        listing.push_back(std::string("--   ") + key + "=0");
    }
    expectGoldenDump(run, "a97_basic_types_without_objects.sql", listing);
    EXPECT_EQ(run.report.find("CONSTRAINTS"), std::string::npos) << run.report;
}

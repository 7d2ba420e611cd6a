// Against a real SQL Server. Runs only when TABULON_TEST_MSSQL holds an ODBC connection string for
// one, for example
//   Driver={ODBC Driver 18 for SQL Server};Server=localhost;Uid=sa;Pwd=...;TrustServerCertificate=yes
// and is skipped otherwise (no server can run on the build machines). The whole-run test also needs
// a driver registered under the name "SQL Server" (see README), since that is the name the run
// connects with; it takes Server, Uid and Pwd (or Trusted_Connection) from the same string. The
// fixture test also runs each dump with sqlcmd, from the PATH or as TABULON_TEST_SQLCMD names it.
#include "FixtureRuns.h"
#include "OdbcQuery.h"
#include "engine/DatabaseObjects.h"
#include "engine/OdbcConnection.h"
#include "engine/OdbcDestination.h"
#include "engine/SchemaDocument.h"
#include "engine/SqlLiterals.h"
#include "lib/Convert.h"
#include "lib/Error.h"
#include "source/SchemaScanner.h"

#include <sql.h>
#include <sqlext.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <limits>
#include <map>
#include <random>

using namespace tabulon;

namespace {

const char* serverConnectionString() {
    const char* text = std::getenv("TABULON_TEST_MSSQL");
    return text && *text ? text : nullptr;
}

#define REQUIRE_SQL_SERVER()                                                                                           \
    if (!serverConnectionString())                                                                                     \
        GTEST_SKIP() << "set TABULON_TEST_MSSQL to an ODBC connection string to run the SQL Server tests";

// The attributes of an ODBC connection string, keys in lower case; {...} values unquoted.
std::map<std::string, std::string> attributes(const std::string& text) {
    std::map<std::string, std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t equals = text.find('=', at);
        if (equals == std::string::npos)
            break;
        std::string key = toLowerAscii(text.substr(at, equals - at)), value;
        std::size_t end = equals + 1;
        if (end < text.size() && text[end] == '{') {
            for (++end; end < text.size(); ++end) {
                if (text[end] == '}' && (end + 1 >= text.size() || text[end + 1] != '}'))
                    break;
                value += text[end];
                end += text[end] == '}';
            }
            end = text.find(';', end);
        } else {
            end = text.find(';', end);
            value = text.substr(equals + 1, end == std::string::npos ? std::string::npos : end - equals - 1);
        }
        out[key] = value;
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

// One number read through a connection of its own.
long long queryNumber(const std::string& query) {
    return ::queryNumber(serverConnectionString(), query);
}

// A database of its own for one test, dropped at the end.
class ScratchDatabase {
public:
    ScratchDatabase() : name("TabulonTest_" + std::to_string(std::random_device()())) {}
    ~ScratchDatabase() {
        try {
            auto connection = OdbcConnection::open(serverConnectionString());
            connection->execute("USE [master]");
            connection->execute("IF EXISTS (SELECT * FROM master.dbo.sysdatabases WHERE name = N'" + name +
                                "') ALTER DATABASE [" + name + "] SET SINGLE_USER WITH ROLLBACK IMMEDIATE");
            connection->execute("IF EXISTS (SELECT * FROM master.dbo.sysdatabases WHERE name = N'" + name +
                                "') DROP DATABASE [" + name + "]");
        } catch (const Error&) {
            // Left for the server's owner to remove; the name says where it came from.
        }
    }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const std::string name;
};

// Points a run at the server of TABULON_TEST_MSSQL, through the driver named "SQL Server".
void transferDirectly(FixtureRun& run, const std::string& database) {
    const auto server = attributes(serverConnectionString());
    const auto value = [&](const char* key) { return server.count(key) ? server.at(key) : std::string(); };
    auto& s = run.settings.section();
    s.set("destinationmethod", "DIRECT");
    s.set("destinationauthentication", toLowerAscii(value("trusted_connection")) == "yes" ? "Windows" : "SQL");
    s.set("destinationserver", value("server"));
    s.set("destinationusername", value("uid"));
    s.set("destinationpassword", value("pwd"));
    s.set("destinationdatabase", database);
}

// Converts every table of the fixture straight into the scratch database; returns the schema document.
std::unique_ptr<pugi::xml_document> convertDirectly(const std::string& relative, const ScratchDatabase& database,
                                                    std::vector<std::string>& tables, const std::string& password = "",
                                                    std::string* report = nullptr) {
    FixtureRun run(fixture::path(relative), password);
    transferDirectly(run, database.name);
    run.settings.section().set("datetimetype", "DATETIME2"); // the wizard's default; holds dates before 1753
    run.settings.section().set("ignorelargeblobs", 1);
    EXPECT_EQ(run.run(), RunResult::Completed) << run.report;
    EXPECT_EQ(run.report.find("Error"), std::string::npos) << run.report;
    tables = run.tables;
    if (report)
        *report = run.report;
    return std::move(run.schema);
}

// The rows of a table of the destination database.
long long destinationRows(const std::string& database, const std::string& table) {
    return queryNumber("SELECT COUNT(*) FROM " + SafeTableName(database) + ".dbo." + SafeTableName(table));
}

// Runs a dump the way README tells users to: sqlcmd -f 65001 -x -b, which stops at the first error.
// The program is TABULON_TEST_SQLCMD when set, else sqlcmd from the PATH. Returns its exit status,
// -1 when it could not run; `output` gets what it printed.
int runSqlcmd(const std::string& script, std::string& output) {
    const auto server = attributes(serverConnectionString());
    const auto value = [&](const char* key) { return server.count(key) ? server.at(key) : std::string(); };
    const char* program = std::getenv("TABULON_TEST_SQLCMD");
    std::vector<std::string> arguments{program && *program ? program : "sqlcmd", "-S", value("server")};
    if (toLowerAscii(value("trusted_connection")) == "yes")
        arguments.push_back("-E");
    else
        arguments.insert(arguments.end(), {"-U", value("uid"), "-P", value("pwd")});
    if (toLowerAscii(value("trustservercertificate")) == "yes")
        arguments.push_back("-C");
    arguments.insert(arguments.end(), {"-f", "65001", "-x", "-b", "-i", script});
    const std::string log = script + ".out";
    const pid_t child = fork();
    if (child == 0) {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 1);
        dup2(fd, 2);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return -1;
    output = readBytes(log);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SqlServerFixture : public ::testing::TestWithParam<Fixture> {};

} // namespace

TEST(SqlServer, readsBackLiteralsExactly) {
    REQUIRE_SQL_SERVER();
    ScratchDatabase database;
    auto connection = OdbcConnection::open(serverConnectionString());
    connection->execute("CREATE DATABASE [" + database.name + "]");
    connection->execute("USE [" + database.name + "]");
    connection->execute("CREATE TABLE [T] ([id] INT, [s] NVARCHAR(MAX), [p] VARCHAR(MAX), [d] FLOAT, [r] REAL)");

    // A memo over the non-MAX limits, with line breaks: it must arrive whole.
    std::string memo;
    while (memo.size() < 9000)
        memo += "Line " + std::to_string(memo.size()) + " of a long memo, O'Brien's.\r\n";
    const double largest = std::numeric_limits<double>::max();
    connection->execute("INSERT INTO [T] VALUES (1, " + SafeString(Variant(memo), true) + ", " +
                        SafeString(Variant(memo), false) + ", " + SafeNumber(Variant(-largest)) + ", " +
                        SafeNumber(Variant(0.1f)) + ")");
    connection->execute("INSERT INTO [T] VALUES (2, " + SafeString(Variant("Grüße 表 😀"), true) + ", NULL, " +
                        SafeNumber(Variant(0.30000000000000004)) + ", NULL)");

    const std::string from = " FROM [" + database.name + "].dbo.[T]";
    EXPECT_EQ(queryNumber("SELECT DATALENGTH(s) / 2" + from + " WHERE id = 1"), static_cast<long long>(memo.size()));
    EXPECT_EQ(queryNumber("SELECT DATALENGTH(p)" + from + " WHERE id = 1"), static_cast<long long>(memo.size()));
    EXPECT_EQ(queryNumber("SELECT COUNT(*)" + from + " WHERE d = -1.7976931348623157E+308"), 1);
    EXPECT_EQ(queryNumber("SELECT COUNT(*)" + from + " WHERE r = CAST(0.1 AS REAL)"), 1);
    EXPECT_EQ(queryNumber("SELECT COUNT(*)" + from + " WHERE d = 0.30000000000000004E0"), 1);
    EXPECT_EQ(queryNumber("SELECT COUNT(*)" + from + " WHERE s = N'Grüße 表 😀'"), 1);
}

TEST(SqlServer, convertsEdgeDirectlyWithEveryRow) {
    REQUIRE_SQL_SERVER();
    ScratchDatabase database;
    std::vector<std::string> tables;
    convertDirectly("generated/edge.accdb", database, tables);
    const auto source = fixture::open("generated/edge.accdb");
    for (const std::string& table : tables)
        EXPECT_EQ(destinationRows(database.name, table), source->rowCount(table)) << table;
}

// The run creates every view and function it planned, and each returns the rows Access's query
// returns; the counts are worked out by hand from the tables.
TEST(SqlServer, viewsOfSavedQueriesReturnAccesssRows) {
    REQUIRE_SQL_SERVER();
    ScratchDatabase database;
    std::vector<std::string> tables;
    std::string report;
    convertDirectly("generated/queries.accdb", database, tables, "", &report);
    std::size_t created = 0;
    for (const std::string& line : fixture::lines(report))
        created += (line.rfind("- View '", 0) == 0 || line.rfind("- Function '", 0) == 0) && line.size() > 9 &&
                   line.substr(line.size() - 9) == "' created";
    EXPECT_EQ(created, 23u) << report;
    EXPECT_EQ(report.find("failed"), std::string::npos) << report;

    const std::string db = "[" + database.name + "].dbo.";
    const std::pair<std::string, long long> counts[] = {
        {"SELECT COUNT(*) FROM " + db + "[qryCustomersWithoutOrders]", 2}, // customers 4 and 12
        {"SELECT COUNT(*) FROM " + db + "[qryCitiesUnionAll]", 18},        // 12 customers and 6 suppliers
        {"SELECT COUNT(*) FROM " + db + "[qryCitiesUnion]", 16},           // London, UK once; no null city
        {"SELECT COUNT(*) FROM " + db + "[qryTop5Products]", 6},           // two products tie at 30.00
        {"SELECT COUNT(*) FROM " + db + "[qryOrdersByYear](2024)", 14},
        {"SELECT COUNT(*) FROM " + db + "[qryOrdersAboveFreight](N'100')", 4},
        // #12/31/2024# is midnight: order 1019 at 15:30 that day is outside, as in Access.
        {"SELECT COUNT(*) FROM " + db + "[qryOrders2024Open]", 6},
        // Trim takes the blanks off both ends of "  Sam Spade  ": "<Sam Spade>".
        {"SELECT LEN(TrimmedContact) FROM " + db + "[qryCustomerText] WHERE CustomerID = 11", 11},
        {"SELECT COUNT(*) FROM " + db + "[qryBestCustomers]",
         queryNumber("SELECT COUNT(*) FROM " + db + "[qryCustomerRevenue] WHERE Revenue >= 1000")},
    };
    for (const auto& [query, expected] : counts)
        EXPECT_EQ(queryNumber(query), expected) << query;
}

// Every test file twice onto a fresh database: its dump run by sqlcmd -b, and a direct transfer. Both
// must succeed and hold every row of every table.
TEST_P(SqlServerFixture, dumpRunsInSqlcmdAndBothWaysHoldEveryRow) {
    REQUIRE_SQL_SERVER();
    ScratchDatabase fromDump, direct;
    FixtureRun dump(fixture::path(GetParam().relative), GetParam().password);
    dump.settings.section().set("destinationdatabase", fromDump.name);
    dump.settings.section().set("datetimetype", "DATETIME2");
    dump.settings.section().set("ignorelargeblobs", 1);
    ASSERT_EQ(dump.run(), RunResult::Completed) << dump.report;
    std::string output;
    ASSERT_EQ(runSqlcmd(dump.folder.file("out.sql"), output), 0) << output;

    std::vector<std::string> tables;
    convertDirectly(GetParam().relative, direct, tables, GetParam().password);

    const auto source = fixture::open(GetParam().relative, GetParam().password);
    for (const std::string& table : dump.tables) {
        EXPECT_EQ(destinationRows(fromDump.name, table), source->rowCount(table)) << table << " (sqlcmd)";
        EXPECT_EQ(destinationRows(direct.name, table), source->rowCount(table)) << table << " (direct)";
    }
}

namespace {

// A count read from a catalog view of the scratch database.
long long catalogCount(const ScratchDatabase& database, const std::string& viewAndCondition) {
    return queryNumber("SELECT COUNT(*) FROM " + SafeTableName(database.name) + ".sys." + viewAndCondition);
}

// The relationships, rules and descriptions of relations.accdb go straight into the database.
std::string convertRelations(const ScratchDatabase& database, const std::vector<std::pair<const char*, int>>& changes) {
    FixtureRun run(fixture::path("generated/relations.accdb"), "");
    transferDirectly(run, database.name);
    run.settings.section().set("datetimetype", "DATETIME2");
    run.settings.section().set("dropdatabase", 0);
    for (const auto& [key, value] : changes)
        run.settings.section().set(key, value);
    EXPECT_EQ(run.run(), RunResult::Completed) << run.report;
    return run.report;
}

} // namespace

// What the plans and the checker say, the server confirms: four foreign keys with their cascades, eight
// trusted CHECKs, six descriptions, and every table holding the rows sent. A second run into the same
// database drops the keys that refer to each table before the table, and goes through again.
TEST(SqlServer, relationsArriveAsKeysRulesAndDescriptions) {
    REQUIRE_SQL_SERVER();
    ScratchDatabase database;
    for (int run = 0; run < 2; ++run) {
        const std::string report = convertRelations(database, {});
        EXPECT_EQ(report.find("Error"), std::string::npos) << report;
        EXPECT_EQ(report.find("could not be"), std::string::npos) << report;
        EXPECT_NE(report.find("Record counts checked on the server: 6 tables, 6 hold the records sent\r\n"),
                  std::string::npos)
            << report;
        EXPECT_EQ(catalogCount(database, "foreign_keys"), 4);
        EXPECT_EQ(catalogCount(database, "foreign_keys WHERE name = N'CustomersOrders' AND "
                                         "delete_referential_action = 1 AND update_referential_action = 1"),
                  1);
        EXPECT_EQ(catalogCount(database, "foreign_keys WHERE name = N'StaffManager' AND delete_referential_action = 0"),
                  1);
        EXPECT_EQ(catalogCount(database, "check_constraints WHERE is_not_trusted = 0"), 8);
        EXPECT_EQ(catalogCount(database, "extended_properties WHERE name = N'MS_Description'"), 6);
    }
}

// Rows entered before a rule break it: the rule is kept WITH NOCHECK, as Access keeps it, and said so.
// A table that does not hold the rows sent is an error line of its own.
TEST(SqlServer, aRuleThatRowsBreakIsKeptUncheckedAndAWrongCountIsAnError) {
    REQUIRE_SQL_SERVER();
    ScratchDatabase database;
    convertRelations(database, {{"transfervalidationrules", 0}, {"transferrelationships", 0}});
    auto connection = OdbcConnection::open(serverConnectionString());
    connection->execute("USE " + SafeTableName(database.name));
    connection->execute("UPDATE [Customers] SET [Code] = N'zz' WHERE [CustomerID] = 1");

    FixtureRun source(fixture::path("generated/relations.accdb"), "");
    RunOptions options = ReadRunOptions(source.settings.section());
    options.transferRelationships = options.transferDescriptions = false;
    options.definition.dateTimeType = "DATETIME2";
    const TableSelection& selection = options.selection;
    std::string report;
    OdbcDestination direct(std::move(connection));
    CreateDatabaseObjects({*source.schema, selection, options, direct, report, source.progress},
                          {{"Customers", "Customers", 4, true}, {"Orders", "Orders", 3, true}});
    EXPECT_NE(report.find("Table: Customers\r\n- 3 check constraints\r\n- Error: the server holds 3 records of "
                          "Customers, but 4 were sent\r\n- validation rule Like \"[A-Z]#\" (CK_Customers_Code) "
                          "created WITH NOCHECK: rows of Customers break it, so SQL Server checks only rows added or "
                          "changed later\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Record counts checked on the server: 2 tables, 1 hold the records sent"), std::string::npos);
    EXPECT_EQ(catalogCount(database, "check_constraints WHERE is_not_trusted = 1"), 1);
}

// A dump whose table lost a row on the way stops sqlcmd -b at that table's count check, which names the
// table and both counts; no relationship is added after it.
TEST(SqlServer, aDumpStopsAtTheFirstTableThatDidNotArriveWhole) {
    REQUIRE_SQL_SERVER();
    ScratchDatabase database;
    FixtureRun run(fixture::path("generated/relations.accdb"), "");
    run.settings.section().set("destinationdatabase", database.name);
    run.settings.section().set("datetimetype", "DATETIME2");
    ASSERT_EQ(run.run(), RunResult::Completed) << run.report;
    const std::string lost = "INSERT INTO [Customers] VALUES (3, ";
    const std::size_t at = run.dump.find(lost);
    ASSERT_NE(at, std::string::npos);
    std::string dump = run.dump;
    dump.erase(at, dump.find("\r\n", at) + 2 - at);
    std::ofstream(run.folder.file("lost.sql"), std::ios::binary) << dump;
    std::string output;
    EXPECT_NE(runSqlcmd(run.folder.file("lost.sql"), output), 0);
    EXPECT_NE(output.find("Table Customers holds 2 rows, but 3 were written"), std::string::npos) << output;
    EXPECT_EQ(catalogCount(database, "foreign_keys"), 0);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, SqlServerFixture, ::testing::ValuesIn(everyFixture()), fixtureTestName);

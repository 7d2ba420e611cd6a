// Against a real SQL Server. Runs only when TABULON_TEST_MSSQL holds an ODBC connection string for
// one, for example
//   Driver={ODBC Driver 18 for SQL Server};Server=localhost;Uid=sa;Pwd=...;TrustServerCertificate=yes
// and is skipped otherwise (no server can run on the build machines). The whole-run test also needs
// a driver registered under the name "SQL Server" (see README), since that is the name the run
// connects with; it takes Server, Uid and Pwd (or Trusted_Connection) from the same string.
#include "FixtureFiles.h"
#include "OdbcQuery.h"
#include "RecordingProgress.h"
#include "RunSettings.h"
#include "TempFolder.h"
#include "engine/OdbcConnection.h"
#include "engine/SchemaDocument.h"
#include "engine/SchemaQueries.h"
#include "engine/SqlLiterals.h"
#include "lib/Convert.h"
#include "lib/Error.h"
#include "source/SchemaScanner.h"

#include <sql.h>
#include <sqlext.h>

#include <gtest/gtest.h>

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

// Converts every table of the fixture straight into the scratch database; returns the schema document.
std::unique_ptr<pugi::xml_document> convertDirectly(const std::string& relative, const ScratchDatabase& database,
                                                    std::vector<std::string>& tables) {
    const auto server = attributes(serverConnectionString());
    TempFolder folder;
    const std::string file = fixture::path(relative);
    RecordingProgress progress;
    const fixture::ScopedTemp temp(folder.path());
    auto schema = ScanSourceDatabase(file, "", "", "", progress);
    StringList selection;
    for (const pugi::xpath_node& table : schema->select_nodes("*/Tables/Table")) {
        tables.push_back(childText(table.node(), "Name"));
        selection.push_back(tables.back());
        for (const pugi::xml_node field : table.node().child("Fields").children("Field"))
            selection.push_back(tables.back() + "\\" + childText(field, "Name"));
    }

    RunSettings settings(file, "");
    settings.section().set("destinationmethod", "DIRECT");
    const bool trusted = server.count("trusted_connection") && toLowerAscii(server.at("trusted_connection")) == "yes";
    settings.section().set("destinationauthentication", trusted ? "Windows" : "SQL");
    settings.section().set("destinationserver", server.count("server") ? server.at("server") : "");
    settings.section().set("destinationusername", server.count("uid") ? server.at("uid") : "");
    settings.section().set("destinationpassword", server.count("pwd") ? server.at("pwd") : "");
    settings.section().set("destinationdatabase", database.name);
    settings.section().set("datetimetype", "DATETIME2"); // edge holds dates before 1753
    settings.section().set("ignorelargeblobs", 1);
    settings.section().set("sourcetables", selection);

    RunFlags flags;
    std::string report;
    ConversionContext context{progress, flags, schema.get(),
                              [](const SourceCredentials& credentials) { return AccessDatabase::open(credentials); }};
    EXPECT_EQ(MoveData2MySql(settings.settings(), report, context), 0) << report;
    EXPECT_EQ(report.find("Error"), std::string::npos) << report;
    return schema;
}

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
        EXPECT_EQ(queryNumber("SELECT COUNT(*) FROM [" + database.name + "].dbo." + SafeTableName(table)),
                  source->rowCount(table))
            << table;
}

// Each view returns the rows Access's query returns; the counts are worked out by hand from the tables.
TEST(SqlServer, viewsOfSavedQueriesReturnAccesssRows) {
    REQUIRE_SQL_SERVER();
    ScratchDatabase database;
    std::vector<std::string> tables;
    const auto schema = convertDirectly("generated/queries.accdb", database, tables);
    const auto plans = accesssql::planViews(savedQueriesOf(*schema),
                                            tableCatalogOf(*schema, [](const std::string&) { return true; }), {});
    auto connection = OdbcConnection::open(serverConnectionString());
    connection->execute("USE [" + database.name + "]");
    for (const auto& plan : plans) {
        if (plan.created()) {
            EXPECT_NO_THROW(connection->execute(plan.createSql)) << plan.createSql;
        }
    }

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

#include "engine/OdbcConnection.h"
#include "OdbcQuery.h"
#include "OdbcTestDrivers.h"
#include "engine/DestinationConnectionString.h"
#include "engine/RunOptions.h"
#include "lib/Error.h"

#include <sql.h>
#include <sqlext.h>

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

// The login as a run reads it from the settings.
DestinationLogin destination(const std::string& authentication, const std::string& server, const std::string& user,
                             const std::string& password) {
    Dictionary s;
    s.set("destinationauthentication", authentication);
    s.set("destinationserver", server);
    s.set("destinationusername", user);
    s.set("destinationpassword", password);
    return ReadRunOptions(s).login;
}

} // namespace

TEST(DestinationConnectionString, choosesTheAuthenticationAndQuotesValues) {
    struct Case {
        DestinationLogin login;
        const char* expected;
        const char* masked;
    } cases[] = {
        {destination("Windows", "srv\\SQLEXPRESS", "sa", "pw"),
         "Driver={SQL Server};Server=srv\\SQLEXPRESS;Database=;Trusted_Connection=Yes;",
         "Driver={SQL Server};Server=srv\\SQLEXPRESS;Database=;Trusted_Connection=Yes;"},
        {destination("WINDOWS", "s", "", ""), "Driver={SQL Server};Server=s;Database=;Trusted_Connection=Yes;",
         "Driver={SQL Server};Server=s;Database=;Trusted_Connection=Yes;"},
        {destination("SQL", "s,1433", "sa", "pw"), "Driver={SQL Server};Server=s,1433;Database=;Uid=sa;Pwd=pw;",
         "Driver={SQL Server};Server=s,1433;Database=;Uid=sa;Pwd=********;"},
        {destination("", "s", "sa", ""), "Driver={SQL Server};Server=s;Database=;Uid=sa;Pwd=;",
         "Driver={SQL Server};Server=s;Database=;Uid=sa;Pwd=;"},
        {destination("sql", "s", "sa", "a;Trusted_Connection=Yes"),
         "Driver={SQL Server};Server=s;Database=;Uid=sa;Pwd={a;Trusted_Connection=Yes};",
         "Driver={SQL Server};Server=s;Database=;Uid=sa;Pwd=********;"},
        {destination("sql", "s;x=1", "u}", "p}w{"),
         "Driver={SQL Server};Server={s;x=1};Database=;Uid={u}}};Pwd={p}}w{};",
         "Driver={SQL Server};Server={s;x=1};Database=;Uid={u}}};Pwd=********;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DestinationConnectionString(c.login), c.expected);
        EXPECT_EQ(DestinationConnectionString(c.login, true), c.masked);
    }
}

TEST(OdbcConnection, freeTdsOnAClosedPortFailsWithTheDriversDiagnostics) {
    REQUIRE_FREETDS();
    const std::string text = DestinationConnectionString(destination("SQL", "127.0.0.1,1", "sa", "pw"));
    try {
        OdbcConnection::open(text);
        ADD_FAILURE() << "connected to a closed port";
    } catch (const Error& e) {
        EXPECT_EQ(e.source(), "ODBC");
        EXPECT_NE(e.description().find("[08S01]"), std::string::npos) << e.description();
    }
}

TEST(OdbcConnection, anUnregisteredDriverIsError1004) {
    REQUIRE_FREETDS();
    try {
        OdbcConnection::open("Driver={No Such Driver};Server=x;");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), errc::MissingOdbcDriver);
        EXPECT_NE(e.description().find("No Such Driver"), std::string::npos) << e.description();
    }
}

TEST(OdbcConnection, executesStatementsAndReportsARejectedOneWithNumberAndMessage) {
    REQUIRE_SQLITE_ODBC();
    const std::string text = "Driver=SQLite3;Database=" + OdbcTestDrivers::instance().folder().file("exec.db") + ";";
    auto connection = OdbcConnection::open(text);
    connection->execute("CREATE TABLE [T] ([a] INT, [b] TEXT)");
    connection->execute("INSERT INTO [T] VALUES (1, 'O''Brien')");
    connection->execute("INSERT INTO [T] VALUES (2, NULL)");
    connection->execute("UPDATE [T] SET [a] = 3 WHERE [a] = 99"); // no row affected is no error
    EXPECT_EQ(queryNumber(text, "SELECT COUNT(*) FROM T"), 2);
    EXPECT_EQ(queryNumber(text, "SELECT COUNT(*) FROM T WHERE b = 'O''Brien'"), 1);
    try {
        connection->execute("INSERT INTO [Missing] VALUES (1)");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_NE(e.number(), 0);
        EXPECT_NE(e.description().find("no such table"), std::string::npos) << e.description();
        EXPECT_EQ(e.description().front(), '[');
    }
    connection->execute("INSERT INTO [T] VALUES (4, 'after the error')");
    EXPECT_EQ(queryNumber(text, "SELECT COUNT(*) FROM T"), 3);
}

TEST(OdbcConnection, quotedValuesKeepTheConnectionStringWhole) {
    REQUIRE_FREETDS();
    // The driver still gets as far as the (closed) server: nothing in the values broke the string.
    const std::string text = DestinationConnectionString(destination("SQL", "127.0.0.1,1", "u;x}", "p;Server=x}{"));
    try {
        OdbcConnection::open(text);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_NE(e.description().find("[08S01]"), std::string::npos) << e.description();
    }
}

TEST(OdbcConnection, readsANumberBackAndRaisesWhenThereIsNone) {
    REQUIRE_SQLITE_ODBC();
    const std::string text = "Driver=SQLite3;Database=" + OdbcTestDrivers::instance().folder().file("query.db") + ";";
    auto connection = OdbcConnection::open(text);
    connection->execute("CREATE TABLE [Q] ([a] INT)");
    connection->execute("INSERT INTO [Q] VALUES (5000000000)");
    connection->execute("INSERT INTO [Q] VALUES (NULL)");
    EXPECT_EQ(connection->queryNumber("SELECT COUNT(*) FROM [Q]"), 2);
    EXPECT_EQ(connection->queryNumber("SELECT MAX([a]) FROM [Q]"), 5000000000LL);
    for (const char* query :
         {"SELECT [a] FROM [Q] WHERE [a] IS NULL", "SELECT [a] FROM [Q] WHERE 0", "SELECT COUNT_BIG(*) FROM [Q]"}) {
        try {
            connection->queryNumber(query);
            ADD_FAILURE() << query;
        } catch (const Error& e) {
            EXPECT_FALSE(e.description().empty()) << query;
        }
    }
    // A failed query leaves the statement ready for the next.
    EXPECT_EQ(connection->queryNumber("SELECT COUNT(*) FROM [Q] WHERE [a] IS NULL"), 1);
}

#include "engine/accesssql/ViewPlan.h"

#include <gtest/gtest.h>

#include <map>

using namespace tabulon::accesssql;

namespace {

TableCatalog shop() {
    TableCatalog c;
    const auto T = ValueType::Text, N = ValueType::Number, D = ValueType::Date, B = ValueType::Boolean;
    c.addTable("Customers", {{"CustomerID", N}, {"CompanyName", T}, {"City", T}, {"Country", T}, {"IsActive", B}});
    c.addTable("Orders", {{"OrderID", N}, {"CustomerID", N}, {"OrderDate", D}, {"Freight", N}, {"Paid", B}});
    c.addTable("OrderLines", {{"LineID", N}, {"OrderID", N}, {"Quantity", N}, {"UnitPrice", N}});
    c.addTable("Products", {{"ProductID", N}, {"UnitPrice", N}});
    return c;
}

std::vector<ViewPlan> plan(std::vector<QuerySource> queries, const std::string& prefix = "") {
    return planViews(queries, shop(), ViewOptions{prefix});
}

// The view or function text of one select query (or its reason when it is left out).
std::string translated(const std::string& sql, const std::string& prefix = "") {
    const auto plans = plan({{"q", "select", sql}}, prefix);
    return plans.front().created() ? plans.front().createSql : "left out: " + plans.front().reason;
}

struct Case {
    const char* access;
    const char* tsql;
};

void expectViews(std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(translated(c.access), std::string("CREATE VIEW [q]\r\nAS\r\n") + c.tsql) << c.access;
}

} // namespace

TEST(ViewTranslator, joinsAliasesAndNesting) {
    expectViews({
        {"SELECT c.CustomerID, c.CompanyName AS [Company Name], o.OrderID FROM Customers AS c INNER JOIN Orders AS o "
         "ON c.CustomerID = o.CustomerID;",
         "SELECT [c].[CustomerID],\r\n       [c].[CompanyName] AS [Company Name],\r\n       [o].[OrderID]\r\n"
         "FROM [Customers] AS [c] INNER JOIN [Orders] AS [o] ON [c].[CustomerID] = [o].[CustomerID]"},
        // Access's nested parentheses: the earlier join is the deeper one.
        {"SELECT Orders.OrderID FROM Customers LEFT JOIN (Orders INNER JOIN OrderLines ON Orders.OrderID = "
         "OrderLines.OrderID) ON Customers.CustomerID = Orders.CustomerID",
         "SELECT [Orders].[OrderID]\r\nFROM [Customers] LEFT JOIN ([Orders] INNER JOIN [OrderLines] ON "
         "[Orders].[OrderID] = [OrderLines].[OrderID]) ON [Customers].[CustomerID] = [Orders].[CustomerID]"},
        {"SELECT Customers.City FROM Customers RIGHT JOIN Orders ON (Customers.CustomerID = Orders.CustomerID) AND "
         "(Orders.Paid = True)",
         "SELECT [Customers].[City]\r\nFROM [Customers] RIGHT JOIN [Orders] ON [Customers].[CustomerID] = "
         "[Orders].[CustomerID] AND [Orders].[Paid] = 1"},
    });
}

TEST(ViewTranslator, tablePrefixKeepsTheQualifiedNames) {
    EXPECT_EQ(translated("SELECT Orders.OrderID, c.City FROM Orders, Customers AS c", "acc_"),
              "CREATE VIEW [q]\r\nAS\r\nSELECT [Orders].[OrderID],\r\n       [c].[City]\r\n"
              "FROM [acc_Orders] AS [Orders], [acc_Customers] AS [c]");
}

TEST(ViewTranslator, orderTopAndDistinct) {
    expectViews({
        // A view has no order: ORDER BY without TOP is dropped.
        {"SELECT Customers.City FROM Customers ORDER BY Customers.City",
         "SELECT [Customers].[City]\r\nFROM [Customers]"},
        // Access's TOP includes the rows that tie with the last one.
        {"SELECT TOP 5 Products.ProductID FROM Products ORDER BY Products.UnitPrice DESC",
         "SELECT TOP (5) WITH TIES [Products].[ProductID]\r\nFROM [Products]\r\nORDER BY [Products].[UnitPrice] DESC"},
        {"SELECT TOP 10 PERCENT Orders.OrderID FROM Orders ORDER BY Orders.Freight DESC",
         "SELECT TOP (10) PERCENT WITH TIES [Orders].[OrderID]\r\nFROM [Orders]\r\nORDER BY [Orders].[Freight] DESC"},
        {"SELECT TOP 3 Orders.OrderID FROM Orders", "SELECT TOP (3) [Orders].[OrderID]\r\nFROM [Orders]"},
        {"SELECT DISTINCT Customers.Country FROM Customers",
         "SELECT DISTINCT [Customers].[Country]\r\nFROM [Customers]"},
        // DISTINCTROW over one table changes nothing.
        {"SELECT DISTINCTROW Customers.Country FROM Customers", "SELECT [Customers].[Country]\r\nFROM [Customers]"},
    });
    const auto plans = plan({{"q", "select", "SELECT Customers.City FROM Customers ORDER BY City"}});
    ASSERT_EQ(plans.front().notes.size(), 1u);
    EXPECT_EQ(plans.front().notes.front(), "its ORDER BY is dropped: a view has no order");
}

TEST(ViewTranslator, groupingSubqueriesAndUnions) {
    expectViews({
        {"SELECT Customers.CompanyName, Count(Orders.OrderID) AS OrderCount FROM Customers INNER JOIN Orders ON "
         "Customers.CustomerID = Orders.CustomerID GROUP BY Customers.CompanyName HAVING "
         "(((Count(Orders.OrderID))>=2))",
         "SELECT [Customers].[CompanyName],\r\n       COUNT([Orders].[OrderID]) AS [OrderCount]\r\nFROM [Customers] "
         "INNER JOIN [Orders] ON [Customers].[CustomerID] = [Orders].[CustomerID]\r\nGROUP BY "
         "[Customers].[CompanyName]\r\nHAVING COUNT([Orders].[OrderID]) >= 2"},
        {"SELECT Customers.CustomerID FROM Customers WHERE Customers.CustomerID In (SELECT Orders.CustomerID FROM "
         "Orders) "
         "AND Exists (SELECT * FROM Orders AS o2 WHERE o2.CustomerID = Customers.CustomerID AND o2.Paid = False)",
         "SELECT [Customers].[CustomerID]\r\nFROM [Customers]\r\nWHERE [Customers].[CustomerID] IN (SELECT "
         "[Orders].[CustomerID]\r\nFROM [Orders]) AND EXISTS (SELECT *\r\nFROM [Orders] AS [o2]\r\nWHERE "
         "[o2].[CustomerID] = [Customers].[CustomerID] AND [o2].[Paid] = 0)"},
        // The traditional bracket form of a subquery in FROM.
        {"SELECT t.n FROM [SELECT Orders.CustomerID, Count(*) AS n FROM Orders GROUP BY Orders.CustomerID]. AS t",
         "SELECT [t].[n]\r\nFROM (SELECT [Orders].[CustomerID],\r\n       COUNT(*) AS [n]\r\nFROM [Orders]\r\nGROUP BY "
         "[Orders].[CustomerID]) AS [t]"},
        {"SELECT Customers.City FROM Customers UNION SELECT Customers.Country FROM Customers ORDER BY City",
         "SELECT [Customers].[City]\r\nFROM [Customers]\r\nUNION SELECT [Customers].[Country]\r\nFROM [Customers]"},
        {"SELECT City, \"C\" AS Kind FROM Customers UNION ALL SELECT Country, \"X\" FROM Customers",
         "SELECT [City],\r\n       N'C' AS [Kind]\r\nFROM [Customers]\r\nUNION ALL SELECT [Country],\r\n       N'X'\r\n"
         "FROM [Customers]"},
        // Access lets one column use another's alias; SQL Server needs the expression itself.
        {"SELECT Orders.Freight*2 AS Twice, Twice+1 AS More FROM Orders",
         "SELECT [Orders].[Freight] * 2 AS [Twice],\r\n       ([Orders].[Freight] * 2) + 1 AS [More]\r\nFROM [Orders]"},
        {"SELECT Orders.Freight*2 FROM Orders", "SELECT [Orders].[Freight] * 2 AS [Expr1000]\r\nFROM [Orders]"},
    });
}

TEST(ViewTranslator, twoColumnsOfOneNameAreNamedAfterTheirInputs) {
    expectViews({
        // SQL Server refuses a view with two columns named CustomerID; Access calls them after their tables.
        {"SELECT Customers.*, Orders.OrderID, Orders.CustomerID FROM Customers INNER JOIN Orders ON "
         "Customers.CustomerID = Orders.CustomerID",
         "SELECT [Customers].[CustomerID] AS [Customers.CustomerID],\r\n       [Customers].[CompanyName],\r\n       "
         "[Customers].[City],\r\n       [Customers].[Country],\r\n       [Customers].[IsActive],\r\n       "
         "[Orders].[OrderID],\r\n       [Orders].[CustomerID] AS [Orders.CustomerID]\r\nFROM [Customers] INNER JOIN "
         "[Orders] ON [Customers].[CustomerID] = [Orders].[CustomerID]"},
        {"SELECT * FROM Customers", "SELECT *\r\nFROM [Customers]"},
        {"SELECT Orders.OrderID, OrderLines.OrderID FROM Orders, OrderLines",
         "SELECT [Orders].[OrderID] AS [Orders.OrderID],\r\n       [OrderLines].[OrderID] AS [OrderLines.OrderID]\r\n"
         "FROM [Orders], [OrderLines]"},
    });
}

TEST(ViewTranslator, crosstabWithHeadingsBecomesConditionalAggregates) {
    EXPECT_EQ(translated("TRANSFORM Sum(OrderLines.Quantity) AS Units SELECT Orders.CustomerID FROM Orders INNER JOIN "
                         "OrderLines ON Orders.OrderID = OrderLines.OrderID GROUP BY Orders.CustomerID PIVOT "
                         "Format([OrderDate],\"mmm\") In (\"Jan\",\"Feb\")"),
              "CREATE VIEW [q]\r\nAS\r\nSELECT [Orders].[CustomerID],\r\n"
              "       SUM(CASE WHEN FORMAT([OrderDate], N'MMM', 'en-US') = N'Jan' THEN [OrderLines].[Quantity] END) AS "
              "[Jan],\r\n       SUM(CASE WHEN FORMAT([OrderDate], N'MMM', 'en-US') = N'Feb' THEN "
              "[OrderLines].[Quantity] END) AS [Feb]\r\nFROM [Orders] INNER JOIN [OrderLines] ON [Orders].[OrderID] = "
              "[OrderLines].[OrderID]\r\nGROUP BY [Orders].[CustomerID]");
}

TEST(ViewTranslator, parametersMakeInlineFunctions) {
    EXPECT_EQ(translated("PARAMETERS [Enter year] Short; SELECT Orders.OrderID FROM Orders WHERE "
                         "Year([Orders].[OrderDate])=[Enter year]"),
              "CREATE FUNCTION [q] (@Enter_year SMALLINT)\r\nRETURNS TABLE\r\nAS\r\nRETURN\r\nSELECT "
              "[Orders].[OrderID]\r\nFROM [Orders]\r\nWHERE YEAR([Orders].[OrderDate]) = @Enter_year");
    // A name that is no field of the inputs is a parameter Access asks for.
    const auto plans =
        plan({{"q", "select", "SELECT Orders.OrderID FROM Orders WHERE Orders.Freight>=[Minimum freight]"}});
    EXPECT_EQ(plans.front().createSql, "CREATE FUNCTION [q] (@Minimum_freight NVARCHAR(255))\r\nRETURNS "
                                       "TABLE\r\nAS\r\nRETURN\r\nSELECT [Orders].[OrderID]\r\nFROM [Orders]\r\nWHERE "
                                       "[Orders].[Freight] >= @Minimum_freight");
    ASSERT_EQ(plans.front().notes.size(), 1u);
    EXPECT_EQ(plans.front().notes.front(),
              "the parameter [Minimum freight] is not declared: it is typed NVARCHAR(255)");
}

TEST(ViewTranslator, viewsOnViewsComeInDependencyOrder) {
    const auto plans = plan({
        {"top", "select", "SELECT mid.n FROM mid WHERE mid.n > 1"},
        {"mid", "select", "SELECT base.CustomerID AS n FROM base"},
        {"base", "select", "SELECT Customers.CustomerID FROM Customers"},
        {"broken", "select", "SELECT First(Customers.City) AS f FROM Customers"},
        {"onBroken", "select", "SELECT broken.f FROM broken"},
    });
    ASSERT_EQ(plans.size(), 5u);
    EXPECT_EQ(plans[0].name, "base");
    EXPECT_EQ(plans[1].name, "mid");
    EXPECT_EQ(plans[2].name, "top");
    EXPECT_EQ(plans[2].dependsOn, std::vector<std::string>{"mid"});
    EXPECT_EQ(plans[3].reason, "First(Customers.City): First and Last have no SQL Server counterpart");
    EXPECT_EQ(plans[4].reason, "it reads the query broken, which is left out");
}

TEST(ViewTranslator, leavesOutWhatNoViewCanExpress) {
    const Case cases[] = {
        {"SELECT DISTINCTROW Customers.City FROM Customers INNER JOIN Orders ON Customers.CustomerID = "
         "Orders.CustomerID",
         "DISTINCTROW: DISTINCTROW over a join has no SQL Server counterpart"},
        {"SELECT Customers.City FROM Customers WHERE Customers.City = [Forms]![Pick]![cboCity]",
         "[Forms]![Pick]![cboCity]: a form or report reference"},
        {"SELECT DLookup(\"City\",\"Customers\") AS x FROM Orders", "DLookup(\"City\",\"Customers\"): a domain"},
        {"TRANSFORM Count(*) AS n SELECT Customers.Country FROM Customers GROUP BY Customers.Country PIVOT "
         "Customers.City",
         "PIVOT Customers.City: a crosstab without fixed column headings"},
        {"SELECT Nowhere.x FROM Nowhere", "Nowhere: neither a converted table nor a saved query"},
        {"SELECT FROM WHERE", "its Access SQL cannot be read: expected an operand"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(translated(c.access).rfind(std::string("left out: ") + c.tsql, 0), 0u) << translated(c.access);
    const auto plans = plan({{"a", "append", "INSERT INTO x SELECT 1;"}, {"p", "pass-through", "exec sp"}});
    EXPECT_EQ(plans[0].reason, "an append query: it changes data and is no view");
    EXPECT_EQ(plans[1].reason, "a pass-through query: its SQL is another server's own");
}

// A table moved without some of its fields: a query naming one, qualified or not, would be refused by
// the server or would ask for it as a parameter; it is left out instead.
TEST(ViewTranslator, aFieldLeftBehindLeavesTheQueryOut) {
    TableCatalog catalog = shop();
    catalog.addFieldLeftBehind("Products", "ProductName");
    const auto plans = planViews({{"qualified", "select", "SELECT Products.ProductName FROM Products"},
                                  {"bare", "select", "SELECT ProductName FROM Products"},
                                  {"other", "select", "SELECT UnitPrice FROM Products WHERE UnitPrice > Minimum"},
                                  {"unknown", "select", "SELECT Products.Colour FROM Products"},
                                  {"noFrom", "select", "SELECT Products.UnitPrice"}},
                                 catalog, {});
    std::map<std::string, std::string> reasons;
    for (const ViewPlan& p : plans)
        reasons[p.name] = p.reason;
    EXPECT_EQ(reasons["qualified"], "Products.ProductName: a field that the run does not move");
    EXPECT_EQ(reasons["bare"], "ProductName: a field that the run does not move");
    EXPECT_EQ(reasons["other"], ""); // Minimum is a parameter, as in Access
    EXPECT_EQ(reasons["unknown"], "Products.Colour: a field that the table does not have");
    EXPECT_EQ(reasons["noFrom"], "Products.UnitPrice: it names a table or alias that the query does not read");
}

#include "TestFiles.h"
#include "source/AccessDatabase.h"

#include <gtest/gtest.h>

#include <map>

using namespace tabulon;
using tabulon::test::accessFile;
using tabulon::test::generatedFile;

namespace {

std::map<std::string, SavedQuery> queriesOf(const std::string& file, int* skipped = nullptr) {
    const auto database = AccessDatabase::open({file, "", "", ""});
    const SavedQueries saved = database->savedQueries();
    if (skipped)
        *skipped = saved.skippedHidden;
    std::map<std::string, SavedQuery> byName;
    for (const auto& q : saved.queries)
        byName[q.name] = q;
    return byName;
}

struct Expected {
    const char* name;
    const char* kind;
    const char* sql;
};

void expectTexts(const std::string& file, std::initializer_list<Expected> cases) {
    const auto queries = queriesOf(file);
    for (const Expected& c : cases) {
        ASSERT_TRUE(queries.count(c.name)) << c.name;
        const SavedQuery& q = queries.at(c.name);
        EXPECT_EQ(q.kind, c.kind) << c.name;
        EXPECT_EQ(q.problem, "") << c.name;
        EXPECT_EQ(q.sql, c.sql) << c.name;
    }
}

QueryRow row(int attribute, int order, const char* name1 = "", const char* name2 = "", const char* expression = "",
             int flag = 0) {
    const std::string counter{0, 0, 0, static_cast<char>(order)};
    return QueryRow{attribute, counter, name1, name2, expression, flag, 0};
}

} // namespace

TEST(SavedQueries, rebuildsJoinsAliasesAndOrderAsAccessShowsThem) {
    expectTexts(
        generatedFile("queries.accdb"),
        {
            {"qryCustomerOrders", "select",
             "SELECT c.CustomerID, c.CompanyName AS [Company Name], o.OrderID, o.OrderDate AS [Order Date], "
             "o.Freight\r\nFROM Customers AS c INNER JOIN Orders AS o ON c.CustomerID = o.CustomerID\r\nORDER "
             "BY c.CompanyName, o.OrderDate DESC;"},
            // Three joins in row order: the earlier join ends up deeper.
            {"qryOrderDetails", "select",
             "SELECT Customers.CompanyName, Orders.OrderID, Orders.OrderDate, Products.ProductName, "
             "OrderLines.Quantity, OrderLines.UnitPrice, "
             "[OrderLines].[Quantity]*[OrderLines].[UnitPrice]*(1-[OrderLines].[Discount]) AS [Line "
             "Total]\r\nFROM ((Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID) INNER "
             "JOIN OrderLines ON Orders.OrderID = OrderLines.OrderID) INNER JOIN Products ON "
             "OrderLines.ProductID = Products.ProductID\r\nORDER BY Orders.OrderID, Products.ProductName;"},
            // A later join that takes an earlier one as its right side.
            {"qryCustomerLineCounts", "select",
             "SELECT Customers.CustomerID, Customers.CompanyName, Count(OrderLines.LineID) AS LineCount, "
             "Sum(OrderLines.Quantity) AS Units\r\nFROM Customers LEFT JOIN (Orders INNER JOIN OrderLines ON "
             "Orders.OrderID = OrderLines.OrderID) ON Customers.CustomerID = Orders.CustomerID\r\nGROUP BY "
             "Customers.CustomerID, Customers.CompanyName;"},
            {"qryOrdersByYear", "select",
             "PARAMETERS [Enter year] Short;\r\nSELECT Orders.OrderID, Orders.CustomerID, Orders.OrderDate, "
             "Orders.Freight\r\nFROM Orders\r\nWHERE (((Year([Orders].[OrderDate]))=[Enter year]))\r\nORDER BY "
             "Orders.OrderDate;"},
            {"qryTop10PctFreight", "select",
             "SELECT TOP 10 PERCENT Orders.OrderID, Orders.Freight\r\nFROM Orders\r\nORDER BY Orders.Freight "
             "DESC;"},
            {"qryRepeatCustomers", "select",
             "SELECT Customers.CompanyName, t.OrderCount\r\nFROM Customers INNER JOIN (SELECT "
             "Orders.CustomerID, Count(*) AS OrderCount FROM Orders GROUP BY Orders.CustomerID) AS t ON "
             "Customers.CustomerID = t.CustomerID\r\nWHERE (((t.OrderCount)>=3))\r\nORDER BY t.OrderCount DESC, "
             "Customers.CompanyName;"},
            {"qryBestCustomers", "select",
             "SELECT *\r\nFROM qryCustomerRevenue\r\nWHERE (((qryCustomerRevenue.Revenue)>=1000))\r\nORDER BY "
             "qryCustomerRevenue.Revenue DESC;"},
            {"qryMonthlySales2024", "crosstab",
             "TRANSFORM Sum([OrderLines].[Quantity]*[OrderLines].[UnitPrice]) AS Sales\r\nSELECT "
             "Products.Category, Sum([OrderLines].[Quantity]*[OrderLines].[UnitPrice]) AS [Total "
             "Sales]\r\nFROM Products INNER JOIN (Orders INNER JOIN OrderLines ON Orders.OrderID = "
             "OrderLines.OrderID) ON Products.ProductID = OrderLines.ProductID\r\nWHERE "
             "(((Year([OrderDate]))=2024))\r\nGROUP BY Products.Category\r\nPIVOT Format([OrderDate],\"mmm\") In "
             "(\"Jan\",\"Feb\",\"Mar\",\"Apr\",\"May\",\"Jun\",\"Jul\",\"Aug\",\"Sep\",\"Oct\",\"Nov\",\"Dec\");"},
        });
}

TEST(SavedQueries, rebuildsActionQueries) {
    expectTexts(generatedFile("queries.accdb"),
                {
                    {"qryAppendOldOrders", "append",
                     "INSERT INTO OrderArchive (OrderID, CustomerID, OrderDate, Freight)\r\nSELECT Orders.OrderID, "
                     "Orders.CustomerID, Orders.OrderDate, Orders.Freight\r\nFROM Orders\r\nWHERE "
                     "(((Orders.OrderDate)<#1/1/2024#));"},
                    {"qryUpdateBeveragePrices", "update",
                     "UPDATE Products\r\nSET Products.UnitPrice = [UnitPrice]*1.05\r\nWHERE "
                     "(((Products.Category)=\"Beverages\") AND ((Products.Discontinued)=False));"},
                    {"qryDeleteEmptyLines", "delete",
                     "DELETE OrderLines.*\r\nFROM OrderLines\r\nWHERE (((OrderLines.Quantity)=0));"},
                    {"qryMakeCustomerTotals", "make-table",
                     "SELECT Customers.CustomerID, Customers.CompanyName, Sum(Orders.Freight) AS TotalFreight INTO "
                     "CustomerTotals\r\nFROM Customers INNER JOIN Orders ON Customers.CustomerID = "
                     "Orders.CustomerID\r\nGROUP BY Customers.CustomerID, Customers.CompanyName;"},
                });
}

TEST(SavedQueries, readsEveryQueryOfTheGeneratedFile) {
    int skipped = -1;
    const auto queries = queriesOf(generatedFile("queries.accdb"), &skipped);
    EXPECT_EQ(queries.size(), 29u);
    EXPECT_EQ(skipped, 0);
    for (const auto& [name, q] : queries) {
        EXPECT_EQ(q.problem, "") << name;
        EXPECT_EQ(q.sql.back(), ';') << name;
    }
}

TEST(SavedQueries, rebuildsTheQueriesAccessWrote) {
    expectTexts(
        accessFile("a97_queries.mdb"),
        {
            // Two conditions of one join: Access shows the later one first.
            {"SelectQuery", "select",
             "SELECT DISTINCT Table1.*, Table2.col1, Table2.col2, Table3.col3\r\nFROM (Table1 LEFT JOIN Table3 "
             "ON Table1.col1 = Table3.col1) INNER JOIN Table2 ON (Table3.col1 = Table2.col2) AND (Table3.col1 = "
             "Table2.col1)\r\nWHERE (((Table2.col2)=\"foo\" Or (Table2.col2) In (\"buzz\",\"bazz\")))\r\nORDER BY "
             "Table2.col1;"},
            {"UnionQuery", "union",
             "Select Table1.col1, Table1.col2\r\nwhere Table1.col1 = \"foo\"\r\nUNION\r\nSelect Table2.col1, "
             "Table2.col2\r\nUNION ALL Select Table3.col1, Table3.col2\r\nwhere Table3.col3 > \"blah\";"},
            {"DataDefinitionQuery", "data-definition", "CREATE TABLE Table5 (col1 CHAR, col2 CHAR);"},
        });
    expectTexts(
        accessFile("a2000_crosstab.mdb"),
        {{"q_trim", "crosstab",
          "TRANSFORM Sum(t_pivot.[c_val]) AS Sum_Value\r\nSELECT t_pivot.[c_cod], Sum(t_pivot.[c_val]) AS "
          "Total_Value\r\nFROM t_pivot\r\nGROUP BY t_pivot.[c_cod]\r\nPIVOT \"Trim \" & Format([c_dt],\"q\");"}});
    expectTexts(accessFile("a2007_queries_odd_names.accdb"),
                {{"queryWithParameters", "select",
                  "PARAMETERS a DateTime, [b \"] Text(255);\r\nSELECT [table 1].[text1], [a] Is Null AS Espr1, [b \"] "
                  "Is Null AS Espr2, True AS Espr22\r\nFROM [table 1];"}});
}

TEST(SavedQueries, skipsAndCountsTheQueriesOfFormsAndControls) {
    int skipped = -1;
    const auto queries = queriesOf(accessFile("a2007_odbc_linked_hidden.accdb"), &skipped);
    EXPECT_EQ(skipped, 56);
    EXPECT_TRUE(queries.empty());
}

TEST(SavedQueries, rebuildsFromRowsInAnyStoredOrder) {
    // Rows as one Access file stores them: the join and ORDER BY before the start row, the
    // columns out of their order.
    std::vector<QueryRow> rows = {row(11, 1, "D", "", "t.b"),
                                  row(7, 1, "t", "u", "t.a = u.a", 2),
                                  row(6, 2, "", "", "u.c"),
                                  row(0, 0),
                                  row(5, 2, "U"),
                                  row(6, 1, "", "", "t.b"),
                                  row(5, 1, "T", "t"),
                                  row(255, 0)};
    rows[4].name2 = "u";
    const SavedQuery q = rebuildQuery("q", 0, rows);
    EXPECT_EQ(q.kind, "select");
    EXPECT_EQ(q.sql, "SELECT t.b, u.c\r\nFROM T AS t LEFT JOIN U AS u ON t.a = u.a\r\nORDER BY t.b DESC;");
}

TEST(SavedQueries, reportsWhatCannotBeRebuilt) {
    EXPECT_EQ(rebuildQuery("empty", 0, {}).problem, "the query has no stored definition");
    EXPECT_EQ(rebuildQuery("odd", 0, {row(1, 1, "", "", "", 12)}).problem,
              "the query type 12 is not one Access writes");
    const SavedQuery memo = rebuildQuery("memo", 0, {row(2, 1, "p", "", "", 12), row(5, 1, "T")});
    EXPECT_EQ(memo.problem, "the parameter p has the unknown type code 12");
    std::vector<QueryRow> joins{row(5, 1, "T0")};
    for (int i = 1; i <= 1001; ++i)
        joins.push_back(QueryRow{
            7, {0, 0, char(i >> 8), char(i & 0xFF)}, "T" + std::to_string(i - 1), "T" + std::to_string(i), "x", 1, 0});
    EXPECT_EQ(rebuildQuery("deep", 0, joins).problem, "the query has more than 1000 joins");
    EXPECT_FALSE(isUserQuery("~sq_fOrders", 0x3));
    EXPECT_FALSE(isUserQuery("Owned", 0x2));
    EXPECT_TRUE(isUserQuery("Hidden by the user", 0x8));
}

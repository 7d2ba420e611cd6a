// The saved queries of real Access files, read by the source layer and planned as views.
#include "FixtureFiles.h"
#include "engine/SavedQueryObjects.h"
#include "engine/SchemaQueries.h"
#include "source/SchemaScanner.h"

#include <gtest/gtest.h>

#include <map>

using namespace tabulon;
using namespace tabulon::accesssql;

namespace {

std::vector<ViewPlan> plansOf(const std::string& relative, const std::string& prefix = "") {
    const auto database = fixture::open(relative);
    const auto document = buildSchemaDocument(*database, readColumnSchema(*database), nullptr);
    return planViews(savedQueriesOf(*document), tableCatalogOf(*document, [](const std::string&) { return true; }),
                     ViewOptions{prefix});
}

std::map<std::string, ViewPlan> byName(const std::vector<ViewPlan>& plans) {
    std::map<std::string, ViewPlan> out;
    for (const auto& p : plans)
        out[p.name] = p;
    return out;
}

std::size_t positionOf(const std::vector<ViewPlan>& plans, const std::string& name) {
    for (std::size_t i = 0; i < plans.size(); ++i)
        if (plans[i].name == name)
            return i;
    return plans.size();
}

} // namespace

TEST(QueryViews, everySelectQueryOfTheGeneratedFileIsCreatedOrExplained) {
    const auto plans = plansOf("generated/queries.accdb");
    const auto queries = byName(plans);
    ASSERT_EQ(plans.size(), 29u);
    const std::map<std::string, std::string> leftOut = {
        {"qrySalesByCustomer", "First(Orders.ShipCity): First and Last have no SQL Server counterpart"},
        {"qryCustomersWithOrders", "DISTINCTROW: DISTINCTROW over a join has no SQL Server counterpart"},
        {"qryAppendOldOrders", "an append query: it changes data and is no view"},
        {"qryUpdateBeveragePrices", "an update query: it changes data and is no view"},
        {"qryDeleteEmptyLines", "a delete query: it changes data and is no view"},
        {"qryMakeCustomerTotals", "a make-table query: it creates a table and is no view"},
    };
    for (const auto& [name, plan] : queries) {
        auto it = leftOut.find(name);
        EXPECT_EQ(plan.reason, it == leftOut.end() ? "" : it->second) << name;
    }
    EXPECT_EQ(queries.at("qryOrdersByYear").objectType, "FUNCTION");
    EXPECT_EQ(queries.at("qryOrdersAboveFreight").objectType, "FUNCTION");
    EXPECT_EQ(queries.at("qryCustomerOrders").objectType, "VIEW");
    // Views on views follow the queries they read.
    EXPECT_LT(positionOf(plans, "Order Totals"), positionOf(plans, "qryCustomerRevenue"));
    EXPECT_LT(positionOf(plans, "qryCustomerRevenue"), positionOf(plans, "qryBestCustomers"));
    EXPECT_EQ(queries.at("qryBestCustomers").dependsOn, std::vector<std::string>{"qryCustomerRevenue"});
}

TEST(QueryViews, viewsOfTheGeneratedFileReadAsWrittenByHand) {
    const auto queries = byName(plansOf("generated/queries.accdb", "acc_"));
    EXPECT_EQ(queries.at("qryCustomerOrders").createSql,
              "CREATE VIEW [qryCustomerOrders]\r\nAS\r\nSELECT [c].[CustomerID],\r\n       [c].[CompanyName] AS "
              "[Company Name],\r\n       [o].[OrderID],\r\n       [o].[OrderDate] AS [Order Date],\r\n       "
              "[o].[Freight]\r\nFROM [acc_Customers] AS [c] INNER JOIN [acc_Orders] AS [o] ON [c].[CustomerID] = "
              "[o].[CustomerID]");
    EXPECT_EQ(queries.at("qryCustomerOrders").notes,
              std::vector<std::string>{"its ORDER BY is dropped: a view has no order"});
    EXPECT_EQ(queries.at("qryTop5Products").createSql,
              "CREATE VIEW [qryTop5Products]\r\nAS\r\nSELECT TOP (5) WITH TIES [Products].[ProductName],\r\n       "
              "[Products].[UnitPrice]\r\nFROM [acc_Products] AS [Products]\r\nORDER BY [Products].[UnitPrice] DESC");
    EXPECT_EQ(queries.at("qryOrdersAboveFreight").createSql,
              "CREATE FUNCTION [qryOrdersAboveFreight] (@Minimum_freight NVARCHAR(255))\r\nRETURNS "
              "TABLE\r\nAS\r\nRETURN\r\nSELECT [Orders].[OrderID],\r\n       [Orders].[ShipCity],\r\n       "
              "[Orders].[Freight]\r\nFROM [acc_Orders] AS [Orders]\r\nWHERE [Orders].[Freight] >= @Minimum_freight");
    EXPECT_EQ(queries.at("qryCitiesUnion").createSql,
              "CREATE VIEW [qryCitiesUnion]\r\nAS\r\nSELECT [Customers].[City],\r\n       [Customers].[Country],\r\n   "
              "    N'Customer' AS [Kind]\r\nFROM [acc_Customers] AS [Customers]\r\nWHERE [Customers].[City] IS NOT "
              "NULL\r\nUNION SELECT [Suppliers].[City],\r\n       [Suppliers].[Country],\r\n       N'Supplier'\r\nFROM "
              "[acc_Suppliers] AS [Suppliers]");
}

TEST(QueryViews, filesAccessWroteAreReadAndExplained) {
    for (const char* file : {"access/a97_queries.mdb", "access/a2007_queries_odd_names.accdb",
                             "access/a2000_crosstab.mdb", "access/a2007_odbc_linked_hidden.accdb"}) {
        for (const ViewPlan& plan : plansOf(file)) {
            EXPECT_FALSE(plan.created() && plan.createSql.empty()) << file << ": " << plan.name;
            EXPECT_FALSE(!plan.created() && plan.reason.empty()) << file << ": " << plan.name;
        }
    }
    // A union whose first SELECT has no FROM: Access would ask for Table1.col1 as a parameter.
    EXPECT_EQ(byName(plansOf("access/a97_queries.mdb")).at("UnionQuery").reason,
              "Table1.col1: it names a table or alias that the query does not read");
    const auto crosstabs = byName(plansOf("access/a2000_crosstab.mdb"));
    EXPECT_EQ(crosstabs.at("q_trim").reason,
              "PIVOT \"Trim \" & Format([c_dt],\"q\"): a crosstab without fixed column headings (PIVOT ... In (...))");
}

TEST(QueryViews, aQueryOverATableOrFieldLeftBehindIsLeftOut) {
    const auto database = fixture::open("generated/queries.accdb");
    const auto document = buildSchemaDocument(*database, readColumnSchema(*database), nullptr);
    StringList tables;
    for (pugi::xml_node table : document->child("AccessDatabase").child("Tables").children("Table"))
        if (std::string(table.child_value("Name")) != "Suppliers")
            tables.push_back(table.child_value("Name"));
    tables.push_back("Products\\ProductName"); // and not UnitPrice
    const auto planned = PlanSavedQueries(*document, TableSelection(Variant(tables)), "");
    const auto queries = byName(planned.plans);
    EXPECT_NE(queries.at("qryCitiesUnion").reason.find("Suppliers"), std::string::npos)
        << queries.at("qryCitiesUnion").reason;
    EXPECT_EQ(queries.at("qryTop5Products").reason, "Products.UnitPrice: a field that the run does not move")
        << queries.at("qryTop5Products").reason;
    EXPECT_TRUE(queries.at("qryCustomerOrders").created());
    EXPECT_EQ(planned.sources.size(), 29u);
}

// The CHECK constraints the validation rules of real Access files give, written out by hand.

#include "FixtureFiles.h"
#include "engine/TSqlStatements.h"
#include "source/SchemaScanner.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

// The statement of each constraint (with its validation text after "|" when it has one), then
// "table: note" per rule left out; every table and field selected.
std::vector<std::string> checksOf(const std::string& file, const std::string& prefix = "") {
    const auto database = fixture::open(file);
    const auto document = buildSchemaDocument(*database, nullptr, nullptr);
    StringList selected;
    for (const auto& table : document->select_nodes("/AccessDatabase/Tables/Table")) {
        const std::string name = table.node().child_value("Name");
        selected.push_back(name);
        for (const auto& field : table.node().select_nodes("Fields/Field"))
            selected.push_back(name + "\\" + field.node().child_value("Name"));
    }
    ConstraintNames names({});
    const CheckPlan plan = PlanChecks(*document, TableSelection(Variant(selected)), prefix, names);
    std::vector<std::string> lines;
    for (const CheckConstraint& check : plan.checks)
        lines.push_back(CheckStatement(check) + (check.validationText.empty() ? "" : " | " + check.validationText));
    for (const PlanNote& note : plan.notes)
        lines.push_back(note.sourceTable + ": " + note.line);
    return lines;
}

} // namespace

TEST(CheckStatements, nineRulesOfEveryKind) {
    EXPECT_EQ(
        checksOf("generated/relations.accdb"),
        (std::vector<std::string>{
            "ALTER TABLE [Customers] ADD CONSTRAINT [CK_Customers_Code] CHECK ([Code] LIKE N'[A-Z][0-9]')",
            "ALTER TABLE [Customers] ADD CONSTRAINT [CK_Customers_Status] CHECK ([Status] IN (N'A', N'B', N'C')) | "
            "Status is A, B or C",
            "ALTER TABLE [Customers] ADD CONSTRAINT [CK_Customers_Email] CHECK ([Email] IS NULL OR [Email] LIKE "
            "N'%@%.%')",
            "ALTER TABLE [OrderLines] ADD CONSTRAINT [CK_OrderLines_Product] CHECK ([Product] <> N'')",
            "ALTER TABLE [OrderLines] ADD CONSTRAINT [CK_OrderLines_Qty] CHECK ([Qty] BETWEEN 1 AND 1000)",
            "ALTER TABLE [Orders] ADD CONSTRAINT [CK_Orders_Total] CHECK ([Total] >= 0 AND [Total] < 1000000)",
            "ALTER TABLE [Orders] ADD CONSTRAINT [CK_Orders] CHECK ([ShipDate] >= [OrderDate] OR [ShipDate] IS NULL) | "
            "An order ships on or after its date",
            // Access's Len counts trailing blanks, SQL Server's LEN does not.
            "ALTER TABLE [Staff] ADD CONSTRAINT [CK_Staff_Name] CHECK ((LEN(CAST([Name] AS NVARCHAR(MAX)) + N'.') - "
            "1) > 1)",
            "CustomerNotes: - validation rule StrComp([Note],UCase([Note]),0)<>0 Or [Note] Is Null of field Note left "
            "out: StrComp([Note],UCase([Note]),0): \"StrComp\" is a VBA or user-defined function with no SQL Server "
            "counterpart",
        }));
}

TEST(CheckStatements, accessMadeRulesAndThePrefix) {
    // The rule does not start with an operator, so it is whole without its field, and never names it.
    EXPECT_EQ(
        checksOf("access/a2000_validation_required.mdb"),
        std::vector<std::string>{"t_like1: - validation rule CLng(\"a1\")>2 of field a1 left out: it names no field"});
    for (const char* file : {"generated/edge.accdb", "generated/edge.mdb"})
        EXPECT_EQ(checksOf(file, "x_"), std::vector<std::string>{"ALTER TABLE [x_Defaults] ADD CONSTRAINT "
                                                                 "[CK_x_Defaults_Amount] CHECK ([Amount] >= 0) | "
                                                                 "Amount must not be negative"})
            << file;
}

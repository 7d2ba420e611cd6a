#include "engine/CheckPlan.h"
#include "SchemaBuilder.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

// One table T (ID Long, Name Text, Born Date) whose rules the test sets.
class RuleTable {
public:
    RuleTable() {
        appendTable(m_doc.append_child("AccessDatabase").append_child("Tables"), "T",
                    {{"ID", "4", "4"}, {"Name", "10", "50"}, {"Born", "8", "8"}}, {});
    }
    RuleTable& fieldRule(const std::string& field, const std::string& rule) {
        const std::string path = "//Field[Name=\"" + field + "\"]";
        m_doc.select_node(path.c_str()).node().append_child("ValidationRule").text() = rule.c_str();
        return *this;
    }
    RuleTable& tableRule(const std::string& rule) {
        m_doc.select_node("//Table").node().append_child("ValidationRule").text() = rule.c_str();
        return *this;
    }
    CheckPlan plan(const StringList& selected = {"T"}) const {
        ConstraintNames names({"T", "CK_T_ID"});
        return PlanChecks(m_doc, TableSelection(Variant(selected)), "", names);
    }

private:
    pugi::xml_document m_doc;
};

std::vector<std::string> conditions(const CheckPlan& plan) {
    std::vector<std::string> out;
    for (const CheckConstraint& check : plan.checks)
        out.push_back(check.name + ": " + check.condition);
    for (const PlanNote& note : plan.notes)
        out.push_back(note.line);
    return out;
}

} // namespace

TEST(CheckPlan, impliedOperandsTypesAndNames) {
    const CheckPlan plan = RuleTable()
                               .fieldRule("ID", ">0 And Not 5")
                               .fieldRule("Name", "Like \"A*\" Or Is Null")
                               .fieldRule("Born", "<#2000-01-01#")
                               .tableRule("[Born] Is Not Null Or [Name]<>\"x\"")
                               .plan();
    EXPECT_EQ(conditions(plan), (std::vector<std::string>{
                                    // CK_T_ID is taken (by a table in this test): the name gets a number.
                                    "CK_T_ID_2: [ID] > 0 AND (NOT 5 <> 0)",
                                    "CK_T_Name: [Name] LIKE N'A%' OR [Name] IS NULL",
                                    "CK_T_Born: [Born] < CAST('2000-01-01T00:00:00' AS DATETIME)",
                                    "CK_T: [Born] IS NOT NULL OR [Name] <> N'x'",
                                }));
}

TEST(CheckPlan, rulesOverFieldsNotMovedOrUnreadableAreNamed) {
    RuleTable table;
    table.fieldRule("Born", ">#1900-01-01#").tableRule("[Born]>[Name]");
    // Born is not moved: its own rule goes with it, the table's rule cannot be kept.
    EXPECT_EQ(conditions(table.plan({"T", "T\\ID", "T\\Name"})),
              std::vector<std::string>{
                  "- validation rule [Born]>[Name] of the table left out: [Born]: the field Born is not moved"});
    EXPECT_TRUE(conditions(table.plan({"U"})).empty()); // the table itself is not moved

    const CheckPlan broken = RuleTable().fieldRule("ID", ">=").tableRule("[T].[ID] > 0").plan();
    ASSERT_EQ(broken.notes.size(), 2u);
    EXPECT_EQ(broken.notes[0].line.rfind("- validation rule >= of field ID left out: ", 0), 0u);
    EXPECT_EQ(broken.notes[1].line,
              "- validation rule [T].[ID] > 0 of the table left out: [T].[ID]: a rule refers only to fields of its "
              "own table");
    EXPECT_EQ(broken.notes[1].sourceTable, "T");
}

#include "engine/RelationshipPlan.h"
#include "SchemaBuilder.h"
#include "engine/CascadePaths.h"
#include "engine/ConstraintNames.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

struct RelationSpec {
    std::string name, table, referencedTable;
    std::vector<std::pair<std::string, std::string>> pairs;
    bool enforced = true, cascadeUpdate = false, cascadeDelete = false;
};

// A document of tables and relations as the scanner writes them.
class Schema {
public:
    Schema() {
        pugi::xml_node root = m_doc.append_child("AccessDatabase");
        m_tables = root.append_child("Tables");
        m_relations = root.append_child("Relations");
    }
    Schema& table(const std::string& name, const std::vector<FieldSpec>& fields,
                  const std::vector<IndexSpec>& indexes) {
        appendTable(m_tables, name, fields, indexes);
        return *this;
    }
    Schema& relation(const RelationSpec& given) {
        pugi::xml_node relation = m_relations.append_child("Relation");
        relation.append_child("Name").text() = given.name.c_str();
        relation.append_child("Table").text() = given.table.c_str();
        relation.append_child("ReferencedTable").text() = given.referencedTable.c_str();
        relation.append_child("Attributes").text() = given.enforced ? "0" : "2";
        relation.append_child("Enforced").text() = given.enforced ? "1" : "0";
        relation.append_child("CascadeUpdate").text() = given.cascadeUpdate ? "1" : "0";
        relation.append_child("CascadeDelete").text() = given.cascadeDelete ? "1" : "0";
        pugi::xml_node fields = relation.append_child("Fields");
        for (const auto& [column, referenced] : given.pairs) {
            pugi::xml_node field = fields.append_child("Field");
            field.append_child("Name").text() = column.c_str();
            field.append_child("ReferencedName").text() = referenced.c_str();
        }
        return *this;
    }
    const pugi::xml_document& document() const { return m_doc; }

private:
    pugi::xml_document m_doc;
    pugi::xml_node m_tables, m_relations;
};

RelationshipPlanOptions defaults() {
    RelationshipPlanOptions options;
    options.definition.dateTimeType = "DATETIME2";
    options.definition.transferAutonumbers = true;
    options.definition.transferIndexes = true;
    return options;
}

// Parent (ID autonumber primary key, Code text unique) and a table per child name with a Long ParentID.
Schema parentAndChildren(const std::vector<std::string>& children, const std::string& codeRequired = "1") {
    Schema schema;
    schema.table("Parent", {{"ID", "4", "4", "0", "", true}, {"Code", "10", "10", codeRequired}},
                 {{"PrimaryKey", {"ID"}, "1", "1"}, {"Code", {"Code"}, "0", "1"}});
    for (const std::string& child : children)
        schema.table(child, {{"ID", "4", "4", "0", "", true}, {"ParentID", "4", "4"}, {"Code", "10", "10"}},
                     {{"PrimaryKey", {"ID"}, "1", "1"}});
    return schema;
}

// The tables as listed, each with every field unless `fields` lists some.
RelationshipPlan plan(const Schema& schema, const std::vector<std::string>& tables,
                      const RelationshipPlanOptions& options = defaults(), const StringList& fields = {}) {
    StringList selected = fields;
    for (const std::string& table : tables) {
        selected.push_back(table);
        const std::string path = "/AccessDatabase/Tables/Table[Name=\"" + table + "\"]/Fields/Field/Name";
        for (const auto& name : schema.document().select_nodes(path.c_str()))
            if (fields.empty())
                selected.push_back(table + "\\" + name.node().text().get());
    }
    ConstraintNames names(tables);
    return PlanRelationships(schema.document(), TableSelection(Variant(selected)), options, names);
}

std::vector<std::string> notes(const RelationshipPlan& plan) {
    std::vector<std::string> lines;
    for (const PlanNote& note : plan.notes)
        lines.push_back(note.sourceTable + ": " + note.line);
    return lines;
}

} // namespace

TEST(CascadePaths, treesAndJoinsAreAllowed) {
    CascadePaths paths;
    EXPECT_EQ(paths.add("A", "B").conflict, CascadePaths::Conflict::None);
    EXPECT_EQ(paths.add("B", "C").conflict, CascadePaths::Conflict::None);
    EXPECT_EQ(paths.add("A", "D").conflict, CascadePaths::Conflict::None);
    // Two separate tables cascading into one: each change reaches it once.
    EXPECT_EQ(paths.add("X", "C").conflict, CascadePaths::Conflict::None);
}

TEST(CascadePaths, secondPathsAndCyclesAreRefused) {
    CascadePaths paths;
    paths.add("A", "B");
    paths.add("B", "C");
    const CascadePaths::Result shortcut = paths.add("A", "C");
    EXPECT_EQ(shortcut.conflict, CascadePaths::Conflict::SecondPath);
    EXPECT_EQ(shortcut.from, "A");
    EXPECT_EQ(shortcut.to, "C");
    // Joining below: D reaches C, then A would reach C through D as well.
    paths.add("D", "C");
    EXPECT_EQ(paths.add("A", "D").conflict, CascadePaths::Conflict::SecondPath);
    EXPECT_EQ(paths.add("C", "A").conflict, CascadePaths::Conflict::Cycle);
    EXPECT_EQ(paths.add("S", "S").conflict, CascadePaths::Conflict::Cycle);
    // A refused edge leaves nothing behind: B -> E is still the only way to E.
    EXPECT_EQ(paths.add("B", "E").conflict, CascadePaths::Conflict::None);
}

TEST(ConstraintNames, uniqueAmongTablesAndEachOtherWithoutCase) {
    ConstraintNames names({"Orders", "CustomersOrders"});
    EXPECT_EQ(names.claim("FK"), "FK");
    EXPECT_EQ(names.claim("fk"), "fk_2");
    EXPECT_EQ(names.claim("customersorders"), "customersorders_2");
    const std::string greek = std::string(70, 'a') + std::string(70, 'a'); // 140 characters
    EXPECT_EQ(names.claim(greek), std::string(128, 'a'));
    EXPECT_EQ(names.claim(greek), std::string(126, 'a') + "_2");
    // Characters outside the Basic Multilingual Plane take two of the 128 units.
    const std::string emoji = "\xF0\x9F\x98\x80";
    std::string many;
    for (int i = 0; i < 65; ++i)
        many += emoji;
    EXPECT_EQ(names.claim(many).size(), 64u * 4);
}

TEST(RelationshipPlan, keyWithCascadesInTheReferencedKeyOrder) {
    Schema schema;
    schema.table("Parent", {{"A", "4", "4"}, {"B", "10", "5"}}, {{"PrimaryKey", {"A", "B"}, "1", "1"}});
    schema.table("Child", {{"X", "10", "5"}, {"Y", "4", "4"}}, {});
    schema.relation({"ParentChild", "Child", "Parent", {{"X", "B"}, {"Y", "A"}}, true, true, true});
    RelationshipPlanOptions options = defaults();
    options.tablePrefix = "acc_";
    const RelationshipPlan result = plan(schema, {"Parent", "Child"}, options);
    ASSERT_EQ(result.keys.size(), 1u);
    const ForeignKey& key = result.keys[0];
    EXPECT_EQ(key.name, "acc_ParentChild");
    EXPECT_EQ(key.table, "acc_Child");
    EXPECT_EQ(key.referencedTable, "acc_Parent");
    EXPECT_EQ(key.sourceTable, "Child");
    EXPECT_EQ(key.columns, (std::vector<std::string>{"Y", "X"}));
    EXPECT_EQ(key.referencedColumns, (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(key.cascadeUpdate);
    EXPECT_TRUE(key.cascadeDelete);
    EXPECT_TRUE(result.notes.empty());
}

TEST(RelationshipPlan, unmovedTablesAndFieldsLeaveTheKeyOut) {
    Schema schema = parentAndChildren({"Child"});
    schema.relation({"ParentChild", "Child", "Parent", {{"ParentID", "ID"}}});
    EXPECT_EQ(notes(plan(schema, {"Child"})),
              std::vector<std::string>{"Child: - relationship ParentChild left out: the table Parent is not moved"});
    EXPECT_EQ(notes(plan(schema, {"Parent"})),
              std::vector<std::string>{"Parent: - relationship ParentChild left out: the table Child is not moved"});
    EXPECT_TRUE(notes(plan(schema, {"Other"})).empty()); // neither side moved: nothing to say
    EXPECT_EQ(
        notes(plan(schema, {"Parent", "Child"}, defaults(), {"Parent\\ID", "Child\\ID", "Child\\Code"})),
        std::vector<std::string>{"Child: - relationship ParentChild left out: the field Child.ParentID is not moved"});
    EXPECT_EQ(plan(schema, {"Parent", "Child"}).keys.size(), 1u);
}

TEST(RelationshipPlan, onlyEnforcedKeysOverAnUnfilteredKeyOfTheSameType) {
    Schema schema = parentAndChildren({"Loose", "ByCode", "Mixed"}, "0");
    schema.relation({"Loose", "Loose", "Parent", {{"ParentID", "ID"}}, false});
    schema.relation({"ByCode", "ByCode", "Parent", {{"Code", "Code"}}});
    schema.relation({"ByName", "Mixed", "Parent", {{"ParentID", "Code"}}});
    schema.relation({"Mixed", "Mixed", "Parent", {{"Code", "ID"}}});
    const RelationshipPlan result = plan(schema, {"Parent", "Loose", "ByCode", "Mixed"});
    EXPECT_TRUE(result.keys.empty());
    EXPECT_EQ(notes(result),
              (std::vector<std::string>{
                  "Loose: - relationship Loose left out: Access does not enforce it",
                  "ByCode: - relationship ByCode left out: the unique index Code of Parent allows NULLs, so it is "
                  "created with a filter, and SQL Server cannot refer to such an index",
                  "Mixed: - relationship ByName left out: the unique index Code of Parent allows NULLs, so it is "
                  "created with a filter, and SQL Server cannot refer to such an index",
                  "Mixed: - relationship Mixed left out: Mixed.Code (NVARCHAR(10)) and Parent.ID (INT) differ in "
                  "type, which SQL Server does not allow in a key",
              }));
    // A required Code makes the unique index plain, and the key can refer to it.
    Schema required = parentAndChildren({"ByCode"}, "1");
    required.relation({"ByCode", "ByCode", "Parent", {{"Code", "Code"}}});
    EXPECT_EQ(plan(required, {"Parent", "ByCode"}).keys.size(), 1u);
}

TEST(RelationshipPlan, noKeyToReferWhenIndexesAreNotCreated) {
    Schema schema = parentAndChildren({"Child"});
    schema.relation({"ParentChild", "Child", "Parent", {{"ParentID", "ID"}}});
    RelationshipPlanOptions options = defaults();
    options.definition.transferIndexes = false;
    EXPECT_EQ(notes(plan(schema, {"Parent", "Child"}, options)),
              std::vector<std::string>{"Child: - relationship ParentChild left out: Parent gets no primary key or "
                                       "unique index over (ID) for it to refer to"});
    Schema noKey;
    noKey.table("Parent", {{"ID", "4", "4"}}, {}).table("Child", {{"ParentID", "4", "4"}}, {});
    noKey.relation({"ParentChild", "Child", "Parent", {{"ParentID", "ID"}}});
    EXPECT_EQ(plan(noKey, {"Parent", "Child"}).notes.size(), 1u);
}

TEST(RelationshipPlan, cascadesSqlServerRefusesAreDropped) {
    Schema schema = parentAndChildren({"Middle", "Leaf"});
    schema.table("Self", {{"ID", "4", "4"}, {"ManagerID", "4", "4"}}, {{"PrimaryKey", {"ID"}, "1", "1"}});
    schema.relation({"ParentMiddle", "Middle", "Parent", {{"ParentID", "ID"}}, true, true, true});
    schema.relation({"MiddleLeaf", "Leaf", "Middle", {{"ParentID", "ID"}}, true, false, true});
    schema.relation({"ParentLeaf", "Leaf", "Parent", {{"Code", "Code"}}, true, true, true});
    schema.relation({"SelfManager", "Self", "Self", {{"ManagerID", "ID"}}, true, false, true});
    const RelationshipPlan result = plan(schema, {"Parent", "Middle", "Leaf", "Self"});
    ASSERT_EQ(result.keys.size(), 4u);
    EXPECT_TRUE(result.keys[0].cascadeUpdate && result.keys[0].cascadeDelete);
    EXPECT_TRUE(result.keys[1].cascadeDelete);
    // Deletes reach Leaf through Middle already; updates reach it only here.
    EXPECT_TRUE(result.keys[2].cascadeUpdate);
    EXPECT_FALSE(result.keys[2].cascadeDelete);
    EXPECT_FALSE(result.keys[3].cascadeDelete);
    EXPECT_EQ(notes(result),
              (std::vector<std::string>{
                  "Leaf: - relationship ParentLeaf is created without ON DELETE CASCADE: changes in Parent would "
                  "reach Leaf by a second cascade path, which SQL Server refuses",
                  "Self: - relationship SelfManager is created without ON DELETE CASCADE: it would cascade in a "
                  "cycle through Self, which SQL Server refuses",
              }));
}

TEST(RelationshipPlan, noCascadeIntoAnIdentityColumn) {
    Schema schema = parentAndChildren({});
    schema.table("Detail", {{"ID", "4", "4", "0", "", true}}, {{"PrimaryKey", {"ID"}, "1", "1"}});
    schema.relation({"OneToOne", "Detail", "Parent", {{"ID", "ID"}}, true, true, true});
    const RelationshipPlan result = plan(schema, {"Parent", "Detail"});
    ASSERT_EQ(result.keys.size(), 1u);
    EXPECT_FALSE(result.keys[0].cascadeUpdate || result.keys[0].cascadeDelete);
    EXPECT_EQ(result.notes.size(), 2u);
    EXPECT_NE(result.notes[0].line.find("without ON UPDATE CASCADE: its column Detail.ID is an identity column"),
              std::string::npos);
    // Without identity columns the cascades stay.
    RelationshipPlanOptions options = defaults();
    options.definition.transferAutonumbers = false;
    EXPECT_TRUE(plan(schema, {"Parent", "Detail"}, options).keys[0].cascadeDelete);
}

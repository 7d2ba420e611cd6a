// Relationships, validation rules and descriptions as the schema document carries them.

#include "TestFiles.h"
#include "source/AccessDatabase.h"
#include "source/SchemaScanner.h"

#include <gtest/gtest.h>

using namespace tabulon;
using tabulon::test::accessFile;
using tabulon::test::generatedFile;

namespace {

std::unique_ptr<pugi::xml_document> documentOf(const std::string& file) {
    const auto database = AccessDatabase::open({file, "", "", ""});
    return buildSchemaDocument(*database, nullptr, nullptr);
}

// "Name: Table(a, b) -> Referenced(x, y) E U D" with the flags that are set.
std::vector<std::string> relationLines(const pugi::xml_document& document) {
    std::vector<std::string> lines;
    for (const auto& node : document.select_nodes("/AccessDatabase/Relations/Relation")) {
        const pugi::xml_node relation = node.node();
        std::string columns, referenced;
        for (const pugi::xml_node field : relation.child("Fields").children("Field")) {
            columns += (columns.empty() ? "" : ", ") + std::string(field.child_value("Name"));
            referenced += (referenced.empty() ? "" : ", ") + std::string(field.child_value("ReferencedName"));
        }
        std::string line = std::string(relation.child_value("Name")) + ": " + relation.child_value("Table") + "(" +
                           columns + ") -> " + relation.child_value("ReferencedTable") + "(" + referenced + ")";
        for (const auto& [flag, letter] :
             {std::pair{"Enforced", " E"}, {"CascadeUpdate", " U"}, {"CascadeDelete", " D"}})
            if (std::string(relation.child_value(flag)) == "1")
                line += letter;
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> childNames(const pugi::xml_node& node) {
    std::vector<std::string> names;
    for (const auto& child : node.children())
        names.push_back(child.name());
    return names;
}

pugi::xml_node table(const pugi::xml_document& document, const std::string& name) {
    return document.select_node(("/AccessDatabase/Tables/Table[Name=\"" + name + "\"]").c_str()).node();
}

pugi::xml_node field(const pugi::xml_document& document, const std::string& tableName, const std::string& name) {
    return table(document, tableName).select_node(("Fields/Field[Name=\"" + name + "\"]").c_str()).node();
}

// A cursor over rows given in the test, in the column order readRelationships asks for.
class RowsCursor : public RowCursor {
public:
    explicit RowsCursor(std::vector<std::vector<Variant>> rows) : m_rows(std::move(rows)) {}
    std::size_t columnCount() const override { return relationshipColumns().size(); }
    const std::string& columnName(std::size_t column) const override { return relationshipColumns()[column]; }
    ProviderType columnType(std::size_t) const override { return ProviderType::VarWChar; }
    bool next() override { return ++m_row < m_rows.size(); }
    const Variant& value(std::size_t column) const override { return m_rows[m_row][column]; }

private:
    std::vector<std::vector<Variant>> m_rows;
    std::size_t m_row = static_cast<std::size_t>(-1);
};

std::vector<Variant> pairRow(const char* name, int count, int position, const char* column, const char* referenced) {
    return {Variant(name),    Variant(0),      Variant(count),    Variant(position),
            Variant("Child"), Variant(column), Variant("Parent"), Variant(referenced)};
}

} // namespace

TEST(Relations, everyKindInStorageOrderWithItsFlags) {
    const auto document = documentOf(generatedFile("relations.accdb"));
    EXPECT_EQ(relationLines(*document),
              (std::vector<std::string>{
                  "CustomersOrders: Orders(CustomerID) -> Customers(CustomerID) E U D",
                  "OrdersOrderLines: OrderLines(OrderID) -> Orders(OrderID) E D",
                  "CustomersOrderLines: OrderLines(CustomerID) -> Customers(CustomerID) E D",
                  "CustomersCustomerNotes: CustomerNotes(CustomerCode) -> Customers(Code) E U",
                  "StaffManager: Staff(ManagerID) -> Staff(StaffID) E D",
                  "CustomersLoose: Loose(CustomerID) -> Customers(CustomerID)",
              }));
    // Relations follows Tables (the saved queries come last), and the attribute word keeps every bit Access stored.
    EXPECT_EQ(childNames(document->child("AccessDatabase")),
              (std::vector<std::string>{"Tables", "Relations", "Queries"}));
    const pugi::xml_node first = document->select_node("/AccessDatabase/Relations/Relation").node();
    EXPECT_STREQ(first.child_value("Attributes"), "4352");
    EXPECT_TRUE(first.child("Attributes").attribute("Bit9"));
    EXPECT_TRUE(first.child("Attributes").attribute("Bit13"));
}

TEST(Relations, accessMadeFilesAndTwoColumnKeys) {
    // Access 97: two relationships from one table, the referenced side being the other tables.
    EXPECT_EQ(relationLines(*documentOf(accessFile("a97_relationships.mdb"))),
              (std::vector<std::string>{"Table3Table1: Table1(otherfk2) -> Table3(id) E U",
                                        "Table2Table1: Table1(otherfk1) -> Table2(id) E D"}));
    for (const char* file : {"edge.accdb", "edge.mdb"})
        EXPECT_EQ(relationLines(*documentOf(generatedFile(file))),
                  (std::vector<std::string>{
                      "CustomersOrders: Orders(CustomerID) -> Customers(CustomerID) E U D",
                      "OrdersOrder Details: Order Details(OrderID) -> Orders(OrderID) E D",
                      "RegionCodesRegionUsers: RegionUsers(Region, Code) -> RegionCodes(Region, Code) E",
                  }))
            << file;
    EXPECT_EQ(relationLines(*documentOf(accessFile("a2010_calc_composite_pk.accdb"))),
              std::vector<std::string>{"??###Tabella1: Tabella1(_eeeee£%) -> ??###(Πλήθος Αντιγράφων) E"});
}

TEST(Relations, onlyBetweenTablesOfTheDocument) {
    // Access's own navigation-pane tables relate to each other, and Table2 is linked: none of them is
    // in the document, so neither are their relationships.
    const auto linked = documentOf(accessFile("a2007_linked.accdb"));
    EXPECT_TRUE(linked->select_node("/AccessDatabase/Relations"));
    EXPECT_TRUE(relationLines(*linked).empty());
    EXPECT_TRUE(relationLines(*documentOf(accessFile("a97_basic_types.mdb"))).empty());
}

TEST(Relations, pairsInKeyOrderAndIncompleteKeysMarked) {
    RowsCursor cursor({pairRow("Two", 2, 1, "b", "y"), pairRow("One", 1, 0, "c", "z"), pairRow("Two", 2, 0, "a", "x"),
                       pairRow("Gap", 2, 1, "d", "w")});
    const std::vector<RelationshipInfo> relationships = readRelationships(cursor);
    ASSERT_EQ(relationships.size(), 3u);
    EXPECT_EQ(relationships[0].name, "Two");
    EXPECT_EQ(relationships[0].columns, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(relationships[0].referencedColumns, (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(relationships[0].complete);
    EXPECT_TRUE(relationships[1].complete);
    EXPECT_FALSE(relationships[2].complete); // position 0 of two is missing
}

TEST(Properties, rulesTextsAndDescriptionsOfTablesAndFields) {
    const auto document = documentOf(generatedFile("relations.accdb"));
    const pugi::xml_node status = field(*document, "Customers", "Status");
    EXPECT_STREQ(status.child_value("ValidationRule"), "In (\"A\",\"B\",\"C\")");
    EXPECT_STREQ(status.child_value("ValidationText"), "Status is A, B or C");
    EXPECT_STREQ(field(*document, "Customers", "Code").child_value("Description"), "Short code, unique");
    EXPECT_STREQ(field(*document, "Staff", "Name").child_value("ValidationRule"), "Len([Name])>1");
    const pugi::xml_node orders = table(*document, "Orders");
    EXPECT_STREQ(orders.child_value("ValidationRule"), "[ShipDate]>=[OrderDate] Or [ShipDate] Is Null");
    EXPECT_STREQ(orders.child_value("ValidationText"), "An order ships on or after its date");
    EXPECT_STREQ(table(*document, "Customers").child_value("Description"), "People and firms we sell to");
    // They come after everything readers already know, and only where set.
    EXPECT_EQ(childNames(orders), (std::vector<std::string>{"Name", "Attributes", "Indexes", "Fields", "ValidationRule",
                                                            "ValidationText"}));
    EXPECT_EQ(childNames(status), (std::vector<std::string>{"Name", "Required", "DefaultValue", "Size", "Scale", "Type",
                                                            "Attributes", "ValidationRule", "ValidationText"}));
    EXPECT_EQ(childNames(field(*document, "Customers", "Name")).size(), 7u);
}

TEST(Properties, accessMadeRulesAsStored) {
    EXPECT_STREQ(
        field(*documentOf(accessFile("a2000_validation_required.mdb")), "t_like1", "a1").child_value("ValidationRule"),
        "CLng(\"a1\")>2");
    const auto edge = documentOf(generatedFile("edge.accdb"));
    EXPECT_STREQ(field(*edge, "Defaults", "Amount").child_value("ValidationRule"), ">=0");
    EXPECT_STREQ(field(*edge, "Defaults", "Amount").child_value("ValidationText"), "Amount must not be negative");
}

// The table tree and the status list of the main window.
#include "WizardTestSupport.h"

#include "wizard/FormControls.h"
#include "wizard/StatusLog.h"
#include "wizard/TableTree.h"
#include "wizard/modWizard.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTreeWidget>

#include <pugixml.hpp>

using namespace tabulon;
using namespace tabulon::test;

namespace {
// A schema document as the scanner writes it, reduced to the names the tree reads.
std::unique_ptr<pugi::xml_document>
schemaOf(std::initializer_list<std::pair<const char*, std::vector<const char*>>> tables) {
    auto document = std::make_unique<pugi::xml_document>();
    pugi::xml_node list = document->append_child("AccessDatabase").append_child("Tables");
    for (const auto& [name, fields] : tables) {
        pugi::xml_node table = list.append_child("Table");
        table.append_child("Name").text().set(name);
        pugi::xml_node fieldList = table.append_child("Fields");
        for (const char* field : fields)
            fieldList.append_child("Field").append_child("Name").text().set(field);
    }
    return document;
}

QStringList checkedPaths(QTreeWidget* tree) {
    QStringList paths;
    for (const std::string& path : GetCheckedTablePaths(tree)->keys())
        paths << QString::fromStdString(path);
    return paths;
}
} // namespace

class TableTreeTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QCOMPARE(visibleTopLevelWindows(), 0); }

    void nodesCarryKeysImagesAndPaths();
    void everythingCheckedWithoutRememberedSelection();
    void rememberedTableWithoutFieldsChecksOnlyTheTable();
    void checkingANodeChangesNoOther();
    void selectAllAndNoneReachEveryNode();
    void statusLinesAreKeyedAndLogged();
    void progressBarFollowsItsKind();
};

void TableTreeTest::nodesCarryKeysImagesAndPaths() {
    QTreeWidget tree;
    tabletree::fill(&tree, *schemaOf({{"Orders", {"ID", "Name"}}, {"Customers", {"ID", "Name"}}}));
    QCOMPARE(tree.topLevelItemCount(), 2);
    QTreeWidgetItem* orders = tree.topLevelItem(0);
    QTreeWidgetItem* customerName = tree.topLevelItem(1)->child(1);
    QCOMPARE(tabletree::nodeKey(orders), std::string("TBLOrders"));
    QCOMPARE(tabletree::nodeKey(customerName), std::string("FLDCustomers\0Name", 17));
    QVERIFY(tabletree::nodeKey(customerName) != tabletree::nodeKey(orders->child(1)));
    QCOMPARE(tabletree::nodePath(orders), std::string("Orders"));
    QCOMPARE(tabletree::nodePath(customerName), std::string("Customers\\Name"));
    QVERIFY(!orders->icon(0).isNull());
    QVERIFY(!customerName->icon(0).isNull());
}

void TableTreeTest::everythingCheckedWithoutRememberedSelection() {
    WizardFixture fixture;
    fixture.state().currentSchema = schemaOf({{"Orders", {"ID", "Total"}}, {"Empty", {}}});
    FillTableTree(fixture.form());
    QCOMPARE(checkedPaths(fixture.form().controls().tvSourceTables),
             (QStringList{QStringLiteral("Orders"), QStringLiteral("Orders\\ID"), QStringLiteral("Orders\\Total"),
                          QStringLiteral("Empty")}));
}

void TableTreeTest::rememberedTableWithoutFieldsChecksOnlyTheTable() {
    WizardFixture fixture;
    fixture.state().currentSchema = schemaOf({{"Orders", {"ID", "Total"}}, {"Lines", {"ID"}}});
    fixture.form().selectedTables->set("Orders", "Orders");
    fixture.form().selectedTables->set("Lines\\ID", "Lines\\ID");
    FillTableTree(fixture.form());
    QCOMPARE(checkedPaths(fixture.form().controls().tvSourceTables),
             (QStringList{QStringLiteral("Orders"), QStringLiteral("Lines\\ID")}));
}

void TableTreeTest::checkingANodeChangesNoOther() {
    QTreeWidget tree;
    tabletree::fill(&tree, *schemaOf({{"Orders", {"ID", "Total"}}}));
    tree.topLevelItem(0)->setCheckState(0, Qt::Checked);
    QCOMPARE(checkedPaths(&tree), QStringList{QStringLiteral("Orders")});
    tree.topLevelItem(0)->child(1)->setCheckState(0, Qt::Checked);
    tree.topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    QCOMPARE(checkedPaths(&tree), QStringList{QStringLiteral("Orders\\Total")});
}

void TableTreeTest::selectAllAndNoneReachEveryNode() {
    WizardFixture fixture;
    fixture.state().currentSchema = schemaOf({{"A", {"x"}}, {"B", {"y", "z"}}});
    fixture.form().selectedTables->set("A", "A");
    fixture.form().rescanSource = false; // the tree comes from the document above, not from a scan
    std::string page = "DESTINATION";
    ShowSelectTablesPage(fixture.form(), page, true);
    FillTableTree(fixture.form());
    QTreeWidget* tree = fixture.form().controls().tvSourceTables;
    fixture.click("cmdSelectAll");
    QCOMPARE(checkedPaths(tree).size(), 5);
    fixture.click("cmdSelectNone");
    QVERIFY(checkedPaths(tree).isEmpty());
    fixture.click("cmdExpandAll");
    QVERIFY(tree->topLevelItem(1)->isExpanded());
    fixture.click("cmdCollapseAll");
    QVERIFY(!tree->topLevelItem(1)->isExpanded());
}

void TableTreeTest::statusLinesAreKeyedAndLogged() {
    WizardFixture fixture;
    std::vector<std::string> logged;
    fixture.form().setLogWriter([&logged](const std::string& text) { logged.push_back(text); });
    StatusLog& status = fixture.form().statusLog();
    QTreeWidget* list = fixture.form().controls().lvStatusLog;
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Status Log"));
    QCOMPARE(list->columnCount(), 1);
    status.addStatusLine("Connecting to source database");
    status.addStatusLine("Scanning table structures");
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(1)->data(0, Qt::UserRole).toString(), QStringLiteral("K2"));
    QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("Scanning table structures"));
    QCOMPARE(logged, (std::vector<std::string>{"Connecting to source database", "Scanning table structures"}));
    status.clear();
    status.addStatusLine("again");
    QCOMPARE(list->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("K1"));
}

void TableTreeTest::progressBarFollowsItsKind() {
    WizardFixture fixture;
    StatusLog& status = fixture.form().statusLog();
    QProgressBar* bar = fixture.form().controls().pbStatus;
    QLabel* caption = fixture.form().controls().lblStatusHigh;
    status.startProgress("progress", 0, 0);
    QVERIFY(!bar->isHidden());
    QCOMPARE(bar->maximum(), 1);
    QCOMPARE(bar->value(), 0);
    status.startProgress("PROGRESS", 5, 30);
    QCOMPARE(bar->minimum(), 5);
    QCOMPARE(bar->maximum(), 30);
    QCOMPARE(bar->value(), 5);
    status.setProgress("Orders: 20 of 30", 20);
    QCOMPARE(caption->text(), QStringLiteral("Orders: 20 of 30"));
    QCOMPARE(bar->value(), 20);
    status.startProgress("", 0, 10);
    QVERIFY(bar->isHidden());
    QCOMPARE(caption->text(), QStringLiteral("Orders: 20 of 30"));
}

QTEST_MAIN(TableTreeTest)
#include "TableTreeTest.moc"

#include "wizard/TableTree.h"

#include "wizard/Pictures.h"

#include <QTreeWidget>

#include <functional>

namespace tabulon {

namespace {
constexpr int kKeyRole = Qt::UserRole;

QTreeWidgetItem* makeNode(const std::string& key, const std::string& text, const QIcon& image) {
    auto* node = new QTreeWidgetItem(QStringList{QString::fromStdString(text)});
    node->setData(0, kKeyRole, QString::fromStdString(key));
    node->setIcon(0, image);
    node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    node->setCheckState(0, Qt::Unchecked);
    return node;
}

// Visits every node in node order: each table, then its fields.
void forEachNode(const QTreeWidget* tree, const std::function<void(QTreeWidgetItem*)>& visit) {
    for (int t = 0; t < tree->topLevelItemCount(); ++t) {
        QTreeWidgetItem* table = tree->topLevelItem(t);
        visit(table);
        for (int f = 0; f < table->childCount(); ++f)
            visit(table->child(f));
    }
}
} // namespace

namespace tabletree {

std::string tableKey(const std::string& table) {
    return "TBL" + table;
}

std::string fieldKey(const std::string& table, const std::string& field) {
    std::string key = "FLD" + table;
    key.push_back('\0');
    return key + field;
}

std::string nodeKey(const QTreeWidgetItem* node) {
    return node->data(0, kKeyRole).toString().toStdString();
}

std::string nodePath(const QTreeWidgetItem* node) {
    const std::string text = node->text(0).toStdString();
    if (node->parent() == nullptr)
        return text;
    return node->parent()->text(0).toStdString() + "\\" + text;
}

void fill(QTreeWidget* tree, const pugi::xml_document& schema) {
    tree->clear();
    const QIcon tableImage = pictures::table();
    const QIcon fieldImage = pictures::field();
    QList<QTreeWidgetItem*> tables;
    for (const pugi::xpath_node& tableNode : schema.select_nodes("/AccessDatabase/Tables/Table")) {
        const std::string tableName = tableNode.node().child("Name").text().get();
        QTreeWidgetItem* table = makeNode(tableKey(tableName), tableName, tableImage);
        for (const pugi::xpath_node& fieldNode : tableNode.node().select_nodes("Fields/Field")) {
            const std::string fieldName = fieldNode.node().child("Name").text().get();
            table->addChild(makeNode(fieldKey(tableName, fieldName), fieldName, fieldImage));
        }
        tables.append(table);
    }
    tree->addTopLevelItems(tables);
}

} // namespace tabletree

void CheckAllTableNodes(QTreeWidget* tree, bool checked) {
    forEachNode(tree,
                [checked](QTreeWidgetItem* node) { node->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked); });
}

void CheckTableNodes(QTreeWidget* tree, const Dictionary& selection) {
    forEachNode(tree, [&selection](QTreeWidgetItem* node) {
        node->setCheckState(0, selection.contains(tabletree::nodePath(node)) ? Qt::Checked : Qt::Unchecked);
    });
}

DictionaryPtr GetCheckedTablePaths(const QTreeWidget* tree) {
    DictionaryPtr paths = Dictionary::create();
    forEachNode(tree, [&paths](QTreeWidgetItem* node) {
        if (node->checkState(0) == Qt::Checked) {
            const std::string path = tabletree::nodePath(node);
            paths->set(path, path);
        }
    });
    return paths;
}

} // namespace tabulon

#pragma once

#include "lib/Dictionary.h"

#include <pugixml.hpp>

#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace tabulon {

// The table tree: one checkable node per table, one child per field. Node keys ("TBL" + table,
// "FLD" + table + NUL + field) are kept in the item data; a node's path is its text, preceded for a
// field by its table's text and a backslash. Checking a node changes no other node.
namespace tabletree {

std::string tableKey(const std::string& table);
std::string fieldKey(const std::string& table, const std::string& field);
std::string nodeKey(const QTreeWidgetItem* node);
std::string nodePath(const QTreeWidgetItem* node);

// Replaces the nodes by the tables and fields of the schema document, in document order.
void fill(QTreeWidget* tree, const pugi::xml_document& schema);

} // namespace tabletree

// Checks, or unchecks, every node, tables and fields.
void CheckAllTableNodes(QTreeWidget* tree, bool checked);
// Checks each node exactly when its path is a key of `selection`.
void CheckTableNodes(QTreeWidget* tree, const Dictionary& selection);
// The paths of the checked nodes in node order, each mapped to itself.
DictionaryPtr GetCheckedTablePaths(const QTreeWidget* tree);

} // namespace tabulon

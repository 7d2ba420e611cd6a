#pragma once

#include "lib/Variant.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace tabulon {

// The tables and fields chosen for a run (setting `sourcetables`): a table is listed by its name,
// a field by the table name, "\" and the field name. Compared exactly, letter case included.
class TableSelection {
public:
    explicit TableSelection(const Variant& sourcetables);
    TableSelection() : TableSelection(Variant()) {} // no list: every test of a path raises

    // True when the path is listed. Raises error 13 (type mismatch) when the setting is no list.
    bool contains(const std::string& path) const;
    static std::string fieldPath(const std::string& table, const std::string& field) { return table + "\\" + field; }

    // The listed table names (entries without "\\", the empty one aside) that are not among `tables`,
    // in list order. Empty when the setting is no list.
    std::vector<std::string> tablesNotIn(const std::vector<std::string>& tables) const;

private:
    bool m_isList;
    std::unordered_set<std::string> m_paths;
    std::vector<std::string> m_tables; // the table entries, in list order
};

} // namespace tabulon

#pragma once

#include "lib/Variant.h"

#include <string>
#include <unordered_set>

namespace tabulon {

// The tables and fields chosen for a run (setting `sourcetables`): a table is listed by its name,
// a field by the table name, "\" and the field name. Compared exactly, letter case included.
class TableSelection {
public:
    explicit TableSelection(const Variant& sourcetables);

    // True when the path is listed. Raises error 13 (type mismatch) when the setting is no list.
    bool contains(const std::string& path) const;
    static std::string fieldPath(const std::string& table, const std::string& field) { return table + "\\" + field; }

private:
    bool m_isList;
    std::unordered_set<std::string> m_paths;
};

} // namespace tabulon

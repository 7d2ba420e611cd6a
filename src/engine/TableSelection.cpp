#include "TableSelection.h"

#include "lib/Error.h"

namespace tabulon {

TableSelection::TableSelection(const Variant& sourcetables) : m_isList(sourcetables.isList()) {
    if (!m_isList)
        return;
    for (const std::string& path : sourcetables.list())
        if (m_paths.insert(path).second && !path.empty() && path.find('\\') == std::string::npos)
            m_tables.push_back(path);
}

bool TableSelection::contains(const std::string& path) const {
    if (!m_isList)
        throw Error(errc::TypeMismatch, "Verdix.modMySql.InList",
                    "Type mismatch: the setting 'sourcetables' holds no list of tables and fields");
    return m_paths.count(path) != 0;
}

std::vector<std::string> TableSelection::tablesNotIn(const std::vector<std::string>& tables) const {
    const std::unordered_set<std::string> present(tables.begin(), tables.end());
    std::vector<std::string> missing;
    for (const std::string& table : m_tables)
        if (!present.count(table))
            missing.push_back(table);
    return missing;
}

} // namespace tabulon

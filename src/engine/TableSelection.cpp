#include "TableSelection.h"

#include "lib/Error.h"

namespace tabulon {

TableSelection::TableSelection(const Variant& sourcetables) : m_isList(sourcetables.isList()) {
    if (m_isList)
        m_paths.insert(sourcetables.list().begin(), sourcetables.list().end());
}

bool TableSelection::contains(const std::string& path) const {
    if (!m_isList)
        throw Error(errc::TypeMismatch, "Verdix.modMySql.InList",
                    "Type mismatch: the setting 'sourcetables' holds no list of tables and fields");
    return m_paths.count(path) != 0;
}

} // namespace tabulon

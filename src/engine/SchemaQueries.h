#pragma once

#include "TableSelection.h"
#include "accesssql/ViewPlan.h"

#include <functional>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace tabulon {

// The saved queries of a schema document (its Queries element), in document order.
std::vector<accesssql::QuerySource> savedQueriesOf(const pugi::xml_document& schema);

// The number of form, report and control queries the scanner skipped.
int skippedHiddenQueriesOf(const pugi::xml_document& schema);

// The tables of the document that `converted` accepts, with their columns and value types.
accesssql::TableCatalog tableCatalogOf(const pugi::xml_document& schema,
                                       const std::function<bool(const std::string& table)>& converted);

// The tables of the selection with the columns the run gives them: the listed fields, or all of a
// table listed without fields.
accesssql::TableCatalog tableCatalogOf(const pugi::xml_document& schema, const TableSelection& selection);

} // namespace tabulon

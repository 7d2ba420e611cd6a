#pragma once

#include "AccessDatabase.h"
#include "Catalog.h"

#include <vector>

namespace tabulon {

class PageFile;

// The DAO attribute word of a catalog table: system, hidden, linked and ODBC-linked bits. Names starting
// "MSys" count as system tables and names starting "~" (Access's temporary tables) as hidden, as in DAO.
long daoTableAttributes(const CatalogEntry& entry);

// Builds the DAO-style description of every catalog table (fields with their properties, indexes), sorted
// by name without regard to letter case.
std::vector<TableInfo> describeTables(PageFile& file, const std::vector<CatalogEntry>& catalog,
                                      std::uint16_t textCodePage);

} // namespace tabulon

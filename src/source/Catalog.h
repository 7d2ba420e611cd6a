#pragma once

#include "lib/Variant.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tabulon {

class PageFile;

// MSysObjects object types that are tables.
namespace objecttype {
constexpr int LocalTable = 1;
constexpr int OdbcLinkedTable = 4;
constexpr int Query = 5;
constexpr int LinkedTable = 6;
} // namespace objecttype

// One table of the catalog (MSysObjects). Connect may hold an ODBC password: never log it.
struct CatalogEntry {
    std::int32_t id = 0;
    std::string name;
    int type = 0;
    std::uint32_t flags = 0;
    std::string database;
    std::string connect;
    std::string foreignName;
    Bytes properties; // LvProp

    // The table definition page of a local table: the low 24 bits of its object id.
    std::uint32_t definitionPage() const { return static_cast<std::uint32_t>(id) & 0x00FFFFFF; }
};

// Reads every table, linked table and ODBC-linked table of the catalog, in storage order.
std::vector<CatalogEntry> readCatalog(PageFile& file, std::uint16_t textCodePage);
// Reads the catalog entries whose object type `acceptType` accepts, in storage order.
std::vector<CatalogEntry> readCatalogEntries(PageFile& file, std::uint16_t textCodePage,
                                             const std::function<bool(int)>& acceptType);

} // namespace tabulon

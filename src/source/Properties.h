#pragma once

#include "lib/Variant.h"

#include <cstdint>
#include <map>
#include <string>

namespace tabulon {

class CodePageDecoder;

// Property values as text: Yes/No properties read "1" or "0", numbers in decimal, texts as stored.
using PropertyMap = std::map<std::string, std::string>;

// The properties stored with a table (the LvProp value of its catalog row): the table's own and one map
// per column, keyed by the column name as stored there.
struct TableProperties {
    PropertyMap table;
    std::map<std::string, PropertyMap> columns;

    // The column's map, matched exactly or else without regard to ASCII letter case; null when absent.
    const PropertyMap* column(const std::string& name) const;
};

// Parses a property value ("MR2" or, in Access 97, "KKD" format). Damaged or unknown parts are skipped:
// properties describe the data, they are never needed to read it.
TableProperties parseTableProperties(const Bytes& value, bool jet3, CodePageDecoder& codePage);

} // namespace tabulon

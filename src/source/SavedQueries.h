#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tabulon {

struct QueryParameter {
    std::string name; // as declared, without brackets
    std::string type; // the Access SQL type: "DateTime", "Text(255)", "Short", ...
};

// A saved query of the database, its Access SQL rebuilt from the stored rows.
struct SavedQuery {
    std::string name;
    // "select", "union", "crosstab", "make-table", "append", "update", "delete", "data-definition",
    // "pass-through" or "unknown".
    std::string kind;
    bool hidden = false; // hidden by the user; still a real query that others may read
    std::string sql;     // the Access SQL text, ending in ";" (data-definition and pass-through: as typed)
    std::vector<QueryParameter> parameters;
    std::string problem; // why the text could not be rebuilt; the text is then empty
};

struct SavedQueries {
    std::vector<SavedQuery> queries; // by name, as Access lists them
    // Queries owned by forms, reports and controls ("~sq_..."), clipboard leftovers and other system
    // queries: never converted, only counted.
    int skippedHidden = 0;
};

// One row of the stored query definitions (MSysQueries).
struct QueryRow {
    int attribute = 0;
    std::string order; // the 4-byte big-endian counter, compared as bytes
    std::string name1;
    std::string name2;
    std::string expression;
    int flag = 0;
    long lvExtra = 0;
};

// Rebuilds a query's Access SQL from its rows (in any order). `objectFlags` is the catalog's Flags
// word, which gives the type when the rows carry no type row.
SavedQuery rebuildQuery(const std::string& name, std::uint32_t objectFlags, std::vector<QueryRow> rows);

// Whether the catalog entry is a query the user made: not "~..." and without the system bit.
bool isUserQuery(const std::string& name, std::uint32_t objectFlags);

} // namespace tabulon

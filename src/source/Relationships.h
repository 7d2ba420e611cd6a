#pragma once

#include <string>
#include <vector>

namespace tabulon {

class RowCursor;

// Bits of a relationship's attribute word (MSysRelationships.grbit, DAO's Relation.Attributes).
namespace relattr {
constexpr long Unique = 0x1;
constexpr long DontEnforce = 0x2;
constexpr long UpdateCascade = 0x100;
constexpr long DeleteCascade = 0x1000;
} // namespace relattr

// One relationship: the referencing (foreign) table and its columns refer to the referenced table's
// columns, pair by pair in key order.
struct RelationshipInfo {
    std::string name;
    std::string table;
    std::string referencedTable;
    std::vector<std::string> columns;
    std::vector<std::string> referencedColumns;
    long attributes = 0;
    // False when the stored column rows do not number 0 to count - 1 exactly once each.
    bool complete = true;

    bool enforced() const { return (attributes & relattr::DontEnforce) == 0; }
    bool cascadeUpdate() const { return (attributes & relattr::UpdateCascade) != 0; }
    bool cascadeDelete() const { return (attributes & relattr::DeleteCascade) != 0; }
};

// The columns of MSysRelationships a cursor must deliver to readRelationships, in this order.
const std::vector<std::string>& relationshipColumns();

// Groups the rows of MSysRelationships (one per column pair) into relationships, in the order their first
// row is stored, each with its pairs ordered by their position in the key.
std::vector<RelationshipInfo> readRelationships(RowCursor& cursor);

} // namespace tabulon

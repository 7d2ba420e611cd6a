#include "Relationships.h"

#include "lib/Convert.h"
#include "lib/RowSource.h"

#include <algorithm>
#include <map>

namespace tabulon {

namespace {

enum { Name, Attributes, ColumnCount, ColumnIndex, Object, Column, ReferencedObject, ReferencedColumn };

std::string textOf(const Variant& value) {
    return value.isText() ? value.text() : std::string();
}

struct Pair {
    long position;
    std::string column;
    std::string referencedColumn;
};

struct Pending {
    RelationshipInfo info;
    long declaredCount = 0;
    std::vector<Pair> pairs;
};

// Puts the pairs in key order and checks that each position 0 .. count - 1 occurs exactly once.
RelationshipInfo finish(Pending pending) {
    std::sort(pending.pairs.begin(), pending.pairs.end(),
              [](const Pair& a, const Pair& b) { return a.position < b.position; });
    RelationshipInfo info = std::move(pending.info);
    info.complete = static_cast<long>(pending.pairs.size()) == pending.declaredCount;
    for (std::size_t i = 0; i < pending.pairs.size(); ++i) {
        info.complete = info.complete && pending.pairs[i].position == static_cast<long>(i);
        info.columns.push_back(pending.pairs[i].column);
        info.referencedColumns.push_back(pending.pairs[i].referencedColumn);
    }
    return info;
}

} // namespace

const std::vector<std::string>& relationshipColumns() {
    static const std::vector<std::string> columns{
        "szRelationship",    "grbit", "ccolumn", "icolumn", "szObject", "szColumn", "szReferencedObject",
        "szReferencedColumn"};
    return columns;
}

std::vector<RelationshipInfo> readRelationships(RowCursor& cursor) {
    std::vector<Pending> pending;
    std::map<std::string, std::size_t> byName;
    while (cursor.next()) {
        const std::string name = textOf(cursor.value(Name));
        auto [found, added] = byName.emplace(name, pending.size());
        if (added) {
            Pending relationship;
            relationship.info.name = name;
            relationship.info.table = textOf(cursor.value(Object));
            relationship.info.referencedTable = textOf(cursor.value(ReferencedObject));
            relationship.info.attributes = static_cast<long>(toInteger(cursor.value(Attributes)));
            relationship.declaredCount = static_cast<long>(toInteger(cursor.value(ColumnCount)));
            pending.push_back(std::move(relationship));
        }
        pending[found->second].pairs.push_back({static_cast<long>(toInteger(cursor.value(ColumnIndex))),
                                                textOf(cursor.value(Column)), textOf(cursor.value(ReferencedColumn))});
    }
    std::vector<RelationshipInfo> relationships;
    for (auto& relationship : pending)
        relationships.push_back(finish(std::move(relationship)));
    return relationships;
}

} // namespace tabulon

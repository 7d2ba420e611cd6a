#include "RelationshipPlan.h"

#include "CascadePaths.h"
#include "SchemaDocument.h"
#include "lib/Convert.h"

#include <algorithm>
#include <map>
#include <optional>

namespace tabulon {

namespace {

struct Relation {
    std::string name;
    std::string table;
    std::string referencedTable;
    std::vector<std::string> columns;
    std::vector<std::string> referencedColumns;
    bool enforced = false;
    bool cascadeUpdate = false;
    bool cascadeDelete = false;
};

Relation readRelation(const pugi::xml_node& node) {
    Relation relation;
    relation.name = childText(node, "Name");
    relation.table = childText(node, "Table");
    relation.referencedTable = childText(node, "ReferencedTable");
    relation.enforced = childText(node, "Enforced") == "1";
    relation.cascadeUpdate = childText(node, "CascadeUpdate") == "1";
    relation.cascadeDelete = childText(node, "CascadeDelete") == "1";
    for (const pugi::xml_node field : node.child("Fields").children("Field")) {
        relation.columns.push_back(childText(field, "Name"));
        relation.referencedColumns.push_back(childText(field, "ReferencedName"));
    }
    return relation;
}

std::string columnList(const std::vector<std::string>& columns) {
    std::string text;
    for (const std::string& column : columns)
        text += (text.empty() ? "" : ", ") + column;
    return text;
}

class Planner {
public:
    Planner(const pugi::xml_document& schema, const TableSelection& selection, const RelationshipPlanOptions& options,
            ConstraintNames& names)
        : m_selection(selection), m_options(options), m_names(names) {
        for (const pugi::xpath_node& table : schema.select_nodes("/AccessDatabase/Tables/Table"))
            m_tables.emplace(childText(table.node(), "Name"), table.node());
    }

    RelationshipPlan plan(const pugi::xml_document& schema) {
        for (const pugi::xpath_node& node : schema.select_nodes("/AccessDatabase/Relations/Relation"))
            planOne(readRelation(node.node()));
        return std::move(m_plan);
    }

private:
    bool moved(const std::string& table) const { return m_tables.count(table) && m_selection.contains(table); }

    void note(const Relation& relation, const std::string& text) {
        const std::string& table = moved(relation.table) ? relation.table : relation.referencedTable;
        m_plan.notes.push_back({table, "- relationship " + relation.name + " " + text});
    }

    void planOne(Relation relation);
    std::optional<std::string> unmovedPart(const Relation& relation) const;
    std::optional<std::string> matchReferencedKey(Relation& relation) const;
    std::optional<std::string> typeMismatch(const Relation& relation) const;
    std::string columnType(const std::string& table, const std::string& field) const;
    void dropCascades(ForeignKey& key, const Relation& relation);

    const TableSelection& m_selection;
    const RelationshipPlanOptions& m_options;
    ConstraintNames& m_names;
    std::map<std::string, pugi::xml_node> m_tables;
    CascadePaths m_deletes;
    CascadePaths m_updates;
    RelationshipPlan m_plan;
};

void Planner::planOne(Relation relation) {
    if (!moved(relation.table) && !moved(relation.referencedTable))
        return;
    std::optional<std::string> reason;
    if (!relation.enforced)
        reason = "left out: Access does not enforce it";
    else if (!(reason = unmovedPart(relation)) && !(reason = matchReferencedKey(relation)))
        reason = typeMismatch(relation);
    if (reason) {
        note(relation, *reason);
        return;
    }
    ForeignKey key;
    key.relationship = relation.name;
    key.name = m_names.claim(m_options.tablePrefix + relation.name);
    key.sourceTable = relation.table;
    key.table = m_options.tablePrefix + relation.table;
    key.referencedTable = m_options.tablePrefix + relation.referencedTable;
    key.columns = relation.columns;
    key.referencedColumns = relation.referencedColumns;
    dropCascades(key, relation);
    m_plan.keys.push_back(std::move(key));
}

std::optional<std::string> Planner::unmovedPart(const Relation& relation) const {
    for (const std::string* table : {&relation.referencedTable, &relation.table})
        if (!moved(*table))
            return "left out: the table " + *table + " is not moved";
    const auto definedNames = [&](const std::string& table) {
        std::vector<std::string> names;
        for (const pugi::xml_node& field : DefinedFields(m_tables.at(table), table, m_selection))
            names.push_back(childText(field, "Name"));
        return names;
    };
    for (const auto& [table, columns] : {std::pair{&relation.table, &relation.columns},
                                         std::pair{&relation.referencedTable, &relation.referencedColumns}}) {
        const std::vector<std::string> defined = definedNames(*table);
        for (const std::string& column : *columns)
            if (std::find(defined.begin(), defined.end(), column) == defined.end())
                return "left out: the field " + *table + "." + column + " is not moved";
    }
    return std::nullopt;
}

// SQL Server refers only to a primary key or unfiltered unique index over exactly the referenced
// columns. The pairs are put in that key's order.
std::optional<std::string> Planner::matchReferencedKey(Relation& relation) const {
    const std::string& parent = relation.referencedTable;
    std::vector<std::string> wanted = relation.referencedColumns;
    std::sort(wanted.begin(), wanted.end());
    std::optional<std::string> filtered;
    for (const CarriedIndex& index : CarriedIndexes(m_tables.at(parent), parent, m_selection, m_options.definition)) {
        std::vector<std::string> fields = index.fields;
        std::sort(fields.begin(), fields.end());
        if (!index.unique || fields != wanted)
            continue;
        if (index.filtered) {
            filtered = "left out: the unique index " + index.name + " of " + parent +
                       " allows NULLs, so it is created with a filter, and SQL Server cannot refer to such an index";
            continue;
        }
        std::vector<std::string> columns;
        for (const std::string& field : index.fields) {
            const auto at = std::find(relation.referencedColumns.begin(), relation.referencedColumns.end(), field);
            columns.push_back(relation.columns[static_cast<std::size_t>(at - relation.referencedColumns.begin())]);
        }
        relation.columns = columns;
        relation.referencedColumns = index.fields;
        return std::nullopt;
    }
    if (filtered)
        return filtered;
    return "left out: " + parent + " gets no primary key or unique index over (" +
           columnList(relation.referencedColumns) + ") for it to refer to";
}

std::string Planner::columnType(const std::string& table, const std::string& field) const {
    for (const pugi::xml_node candidate : m_tables.at(table).child("Fields").children("Field"))
        if (childText(candidate, "Name") == field)
            return MapColumnType(accessTypeOf(toInteger(Variant(childText(candidate, "Type")))),
                                 toInteger(Variant(childText(candidate, "Size"))),
                                 toInteger(Variant(childText(candidate, "Scale"))), m_options.definition)
                .text;
    return std::string();
}

std::optional<std::string> Planner::typeMismatch(const Relation& relation) const {
    for (std::size_t i = 0; i < relation.columns.size(); ++i) {
        const std::string type = columnType(relation.table, relation.columns[i]);
        const std::string referencedType = columnType(relation.referencedTable, relation.referencedColumns[i]);
        if (type != referencedType)
            return "left out: " + relation.table + "." + relation.columns[i] + " (" + type + ") and " +
                   relation.referencedTable + "." + relation.referencedColumns[i] + " (" + referencedType +
                   ") differ in type, which SQL Server does not allow in a key";
    }
    return std::nullopt;
}

std::string cascadeConflict(const CascadePaths::Result& result) {
    if (result.conflict == CascadePaths::Conflict::Cycle)
        return "it would cascade in a cycle through " + result.from;
    return "changes in " + result.from + " would reach " + result.to + " by a second cascade path";
}

// SQL Server cascades into no identity column, and along no cycle or second path; the first
// relationship in document order keeps its cascade, a later one that conflicts loses it.
void Planner::dropCascades(ForeignKey& key, const Relation& relation) {
    const std::string identity =
        DefineColumns(m_tables.at(relation.table), relation.table, m_selection, m_options.definition).identityColumn;
    const bool toIdentity =
        !identity.empty() && std::find(key.columns.begin(), key.columns.end(), identity) != key.columns.end();
    for (auto [wanted, cascade, paths, clause] :
         {std::tuple{relation.cascadeUpdate, &key.cascadeUpdate, &m_updates, "ON UPDATE CASCADE"},
          std::tuple{relation.cascadeDelete, &key.cascadeDelete, &m_deletes, "ON DELETE CASCADE"}}) {
        if (!wanted)
            continue;
        std::string conflict;
        if (toIdentity)
            conflict = "its column " + relation.table + "." + identity + " is an identity column";
        else if (const auto result = paths->add(relation.referencedTable, relation.table);
                 result.conflict != CascadePaths::Conflict::None)
            conflict = cascadeConflict(result);
        *cascade = conflict.empty();
        if (!*cascade)
            note(relation,
                 std::string("is created without ") + clause + ": " + conflict + ", which SQL Server refuses");
    }
}

} // namespace

RelationshipPlan PlanRelationships(const pugi::xml_document& schema, const TableSelection& selection,
                                   const RelationshipPlanOptions& options, ConstraintNames& names) {
    return Planner(schema, selection, options, names).plan(schema);
}

} // namespace tabulon

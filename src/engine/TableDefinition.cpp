#include "TableDefinition.h"

#include "DefaultValue.h"
#include "SchemaDocument.h"
#include "SqlLiterals.h"
#include "TSqlStatements.h"
#include "lib/Convert.h"
#include "lib/Error.h"

#include <cmath>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

namespace tabulon {

namespace {

AccessType strictType(const std::string& text) {
    double number;
    if (!parseNumericText(text, number) || std::fabs(number) > 2147483647.0)
        throw Error(errc::TypeMismatch, "Verdix.modMySql.GetCreateTable",
                    "Type mismatch: the field type '" + text + "' is not a number");
    return accessTypeOf(static_cast<long long>(std::nearbyint(number)));
}

// Names of the fields that belong to a primary key, by the index's Primary text "1".
std::unordered_set<std::string> primaryKeyFields(const pugi::xml_node& table) {
    std::unordered_set<std::string> names;
    for (const pugi::xml_node index : table.child("Indexes").children("Index"))
        if (std::string(index.child("Primary").text().get()) == "1")
            for (const pugi::xml_node field : index.child("Fields").children("Field"))
                names.insert(field.child("Name").text().get());
    return names;
}

// `identity` comes in true while the table may still get its identity column, and goes out true
// when this column is it.
std::string columnDefinition(const pugi::xml_node& field, bool notNull, const TableDefinitionOptions& options,
                             bool& identity, std::vector<std::string>& notes) {
    const std::string name = childText(field, "Name");
    const AccessType accessType = strictType(childText(field, "Type"));
    const ColumnType type = MapColumnType(accessType, toInteger(Variant(childText(field, "Size"))),
                                          toInteger(Variant(childText(field, "Scale"))), options);
    if (type.unknown)
        notes.push_back("- column " + name + " has an unknown type; its stored bytes were copied");
    std::string defaultClause;
    if (options.transferDefaultValues) {
        const DefaultValue value =
            TranslateDefault(childText(field, "DefaultValue"),
                             {name, accessType, type.text, options.unicode, DateColumnOf(accessType, options)});
        defaultClause = value.clause;
        if (!value.note.empty())
            notes.push_back(value.note);
    }
    // Access sets the auto-number bit on complex (attachment and multi-valued) columns too; SQL Server
    // takes IDENTITY only on an integer column, and on one column of a table.
    identity = identity && options.transferAutonumbers && field.child("Attributes").attribute("Bit5") &&
               MappingOf(accessType).identity;
    return ColumnDefinitionText(name, type.text, notNull, defaultClause, identity);
}

// The fields of a table by name, and which of them become columns.
struct TableFields {
    std::unordered_map<std::string, pugi::xml_node> byName;
    std::unordered_set<std::string> defined;
};

TableFields tableFields(const pugi::xml_node& table, const std::string& sourceName, const TableSelection& selection) {
    TableFields fields;
    for (const pugi::xml_node field : table.child("Fields").children("Field"))
        fields.byName.emplace(childText(field, "Name"), field);
    for (const pugi::xml_node& field : DefinedFields(table, sourceName, selection))
        fields.defined.insert(childText(field, "Name"));
    return fields;
}

// Whether every key field becomes a column (a table listed without fields moves them all) and can be
// a key column. A listed key field that the table lacks is an error.
bool indexIsCarried(const pugi::xml_node& index, const std::string& sourceName, const TableSelection& selection,
                    const TableFields& fields) {
    for (const pugi::xml_node key : index.child("Fields").children("Field")) {
        const std::string name = childText(key, "Name");
        const auto field = fields.byName.find(name);
        if (field == fields.byName.end()) {
            if (selection.contains(TableSelection::fieldPath(sourceName, name)))
                throw Error(errc::General, "Verdix.modMySql.GetCreateTable",
                            "The index '" + childText(index, "Name") + "' of table '" + sourceName +
                                "' names the field '" + name + "', which the table does not have");
            return false;
        }
        if (!fields.defined.count(name) || !MappingOf(strictType(childText(field->second, "Type"))).indexable)
            return false;
    }
    return true;
}

} // namespace

std::vector<pugi::xml_node> DefinedFields(const pugi::xml_node& table, const std::string& sourceName,
                                          const TableSelection& selection) {
    std::vector<pugi::xml_node> all, listed;
    for (const pugi::xml_node field : table.child("Fields").children("Field")) {
        all.push_back(field);
        if (selection.contains(TableSelection::fieldPath(sourceName, childText(field, "Name"))))
            listed.push_back(field);
    }
    return listed.empty() ? all : listed;
}

TableColumns DefineColumns(const pugi::xml_node& table, const std::string& sourceName, const TableSelection& selection,
                           const TableDefinitionOptions& options) {
    const std::unordered_set<std::string> keyFields = primaryKeyFields(table);
    TableColumns columns;
    const auto fields = table.child("Fields").children("Field");
    columns.required.assign(static_cast<std::size_t>(std::distance(fields.begin(), fields.end())), false);
    std::size_t slot = 0;
    for (const pugi::xml_node& field : DefinedFields(table, sourceName, selection)) {
        const std::string name = childText(field, "Name");
        const bool required = toBooleanOr(Variant(childText(field, "Required")), false);
        bool identity = columns.identityColumn.empty();
        columns.definitions.push_back(
            columnDefinition(field, required || keyFields.count(name), options, identity, columns.notes));
        if (identity)
            columns.identityColumn = name;
        columns.required[slot++] = required;
        columns.dateColumns.push_back(DateColumnOf(strictType(childText(field, "Type")), options));
    }
    return columns;
}

TableIndexes DefineIndexes(const pugi::xml_node& table, const std::string& sourceName,
                           const std::string& destinationName, const TableSelection& selection,
                           const TableDefinitionOptions& options) {
    TableIndexes indexes;
    for (const CarriedIndex& index : CarriedIndexes(table, sourceName, selection, options)) {
        if (index.primary)
            indexes.primaryKeys.push_back(PrimaryKeyClause(index.fields));
        else
            indexes.secondary.push_back(CreateIndexStatement(index, destinationName));
    }
    return indexes;
}

std::vector<CarriedIndex> CarriedIndexes(const pugi::xml_node& table, const std::string& sourceName,
                                         const TableSelection& selection, const TableDefinitionOptions& options) {
    std::vector<CarriedIndex> carried;
    if (!options.transferIndexes || options.storageEngine == "brighthouse")
        return carried;
    const TableFields fields = tableFields(table, sourceName, selection);
    const std::unordered_set<std::string> keyFields = primaryKeyFields(table);
    for (const pugi::xml_node index : table.child("Indexes").children("Index")) {
        if (childText(index, "Foreign") != "0" || !indexIsCarried(index, sourceName, selection, fields))
            continue;
        CarriedIndex entry;
        entry.name = childText(index, "Name");
        entry.primary = toBoolean(Variant(childText(index, "Primary")));
        entry.unique = entry.primary || toBoolean(Variant(childText(index, "Unique")));
        for (const pugi::xml_node key : index.child("Fields").children("Field")) {
            entry.fields.push_back(childText(key, "Name"));
            const pugi::xml_node field = fields.byName.at(entry.fields.back());
            const bool notNull =
                keyFields.count(entry.fields.back()) || toBooleanOr(Variant(childText(field, "Required")), false);
            if (entry.unique && !entry.primary && !notNull)
                entry.nullableFields.push_back(entry.fields.back());
        }
        entry.filtered = !entry.nullableFields.empty();
        carried.push_back(std::move(entry));
    }
    return carried;
}

} // namespace tabulon

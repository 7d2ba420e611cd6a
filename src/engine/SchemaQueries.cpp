#include "SchemaQueries.h"

#include "TableDefinition.h"

#include <algorithm>

namespace tabulon {

namespace {

accesssql::ValueType valueTypeOf(int daoType) {
    using accesssql::ValueType;
    switch (daoType) {
    case 1:
        return ValueType::Boolean;
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 16:
    case 20:
        return ValueType::Number;
    case 8:
        return ValueType::Date;
    case 10:
    case 12:
        return ValueType::Text;
    default:
        return ValueType::Unknown;
    }
}

template <class Fields> std::vector<accesssql::ColumnInfo> columnsOf(const Fields& fields) {
    std::vector<accesssql::ColumnInfo> columns;
    for (const pugi::xml_node& field : fields)
        columns.push_back({field.child_value("Name"), valueTypeOf(field.child("Type").text().as_int())});
    return columns;
}

} // namespace

std::vector<accesssql::QuerySource> savedQueriesOf(const pugi::xml_document& schema) {
    std::vector<accesssql::QuerySource> queries;
    for (pugi::xml_node q : schema.child("AccessDatabase").child("Queries").children("Query")) {
        accesssql::QuerySource source;
        source.name = q.child_value("Name");
        source.kind = q.child_value("Kind");
        source.sql = q.child_value("Sql");
        source.hidden = std::string(q.child_value("Hidden")) == "1";
        source.problem = q.child_value("Problem");
        queries.push_back(std::move(source));
    }
    return queries;
}

int skippedHiddenQueriesOf(const pugi::xml_document& schema) {
    return schema.child("AccessDatabase").child("Queries").child("SkippedHidden").text().as_int();
}

accesssql::TableCatalog tableCatalogOf(const pugi::xml_document& schema,
                                       const std::function<bool(const std::string& table)>& converted) {
    accesssql::TableCatalog catalog;
    for (pugi::xml_node table : schema.child("AccessDatabase").child("Tables").children("Table")) {
        const std::string name = table.child_value("Name");
        if (converted(name))
            catalog.addTable(name, columnsOf(table.child("Fields").children("Field")));
    }
    return catalog;
}

accesssql::TableCatalog tableCatalogOf(const pugi::xml_document& schema, const TableSelection& selection) {
    accesssql::TableCatalog catalog;
    for (pugi::xml_node table : schema.child("AccessDatabase").child("Tables").children("Table")) {
        const std::string name = table.child_value("Name");
        if (!selection.contains(name))
            continue;
        const std::vector<pugi::xml_node> moved = DefinedFields(table, name, selection);
        catalog.addTable(name, columnsOf(moved));
        for (pugi::xml_node field : table.child("Fields").children("Field"))
            if (std::find(moved.begin(), moved.end(), field) == moved.end())
                catalog.addFieldLeftBehind(name, field.child_value("Name"));
    }
    return catalog;
}

} // namespace tabulon

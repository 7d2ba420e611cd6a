#include "SchemaReader.h"

#include "ComplexColumns.h"
#include "PageFile.h"
#include "Properties.h"
#include "TextCodec.h"
#include "lib/Convert.h"

#include <algorithm>

namespace tabulon {

namespace {

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && toLowerAscii(text.substr(0, prefix.size())) == toLowerAscii(prefix);
}

bool isTrueProperty(const PropertyMap* map, const char* name) {
    if (!map)
        return false;
    const auto it = map->find(name);
    return it != map->end() && it->second == "1";
}

std::string propertyText(const PropertyMap* map, const char* name) {
    if (!map)
        return {};
    const auto it = map->find(name);
    return it == map->end() ? std::string() : it->second;
}

FieldInfo describeField(const ColumnDefinition& column, const TableProperties& properties, bool jet3,
                        const ComplexColumnMap& complex) {
    FieldInfo field;
    field.name = column.name;
    field.column = column;
    if (column.type == jettype::Complex) {
        const auto it = complex.find(column.complexId);
        field.complex = it == complex.end() ? ComplexKind::Unknown : it->second.kind;
        if (it != complex.end()) {
            field.flatTablePage = it->second.flatTablePage;
            field.complexTypePage = it->second.typeTablePage;
        }
    }
    field.type = storageTypesOf(column, field.complex).access;
    field.size = daoSizeOf(column, jet3);
    field.attributes = daoAttributesOf(column);
    const PropertyMap* map = properties.column(column.name);
    field.required = isTrueProperty(map, "Required");
    field.defaultValue = propertyText(map, "DefaultValue");
    field.calculated = column.isCalculated();
    field.expression = propertyText(map, "Expression");
    field.validationRule = propertyText(map, "ValidationRule");
    field.validationText = propertyText(map, "ValidationText");
    field.description = propertyText(map, "Description");
    if (column.type == jettype::Currency) {
        field.precision = 19;
        field.scale = 4;
    } else if (column.type == jettype::Numeric) {
        field.precision = column.precision;
        field.scale = column.scale;
    }
    return field;
}

// Relationship indexes exist on both sides; the referenced side's copy (related type 1) is hidden in DAO.
bool isHiddenRelationshipIndex(const LogicalIndex& index) {
    return index.indexType == 2 && index.relatedTableType == 1;
}

std::vector<IndexInfo> describeIndexes(const TableDefinition& definition) {
    std::vector<IndexInfo> indexes;
    for (const auto& logical : definition.logicalIndexes) {
        if (isHiddenRelationshipIndex(logical))
            continue;
        IndexInfo index;
        index.name = logical.name;
        index.primary = logical.indexType == 1;
        index.foreign = logical.indexType == 2;
        if (logical.physicalIndex >= 0 &&
            static_cast<std::size_t>(logical.physicalIndex) < definition.physicalIndexes.size()) {
            const PhysicalIndex& physical = definition.physicalIndexes[logical.physicalIndex];
            index.unique = (physical.flags & 0x01) != 0 || index.primary;
            index.ignoreNulls = (physical.flags & 0x02) != 0;
            for (const std::uint16_t number : physical.columnNumbers)
                if (const ColumnDefinition* column = definition.findColumn(number))
                    index.fields.push_back(column->name);
        }
        indexes.push_back(std::move(index));
    }
    return indexes;
}

// A calculated column's definition carries a storage type of its own; its values have the type of its
// ResultType property (a storage type code).
void applyResultTypes(TableDefinition& definition, const TableProperties& properties) {
    for (auto& column : definition.columns) {
        if (!column.isCalculated())
            continue;
        const std::string resultType = propertyText(properties.column(column.name), "ResultType");
        const std::int64_t type = toInteger(Variant(resultType));
        if (type > 0 && type < 0x100)
            column.type = static_cast<std::uint8_t>(type);
        if (column.type == jettype::Numeric && column.precision == 0) {
            // Each value carries its own scale; this type holds any of them with up to 10 decimals.
            column.precision = 28;
            column.scale = 10;
        }
    }
}

void describeLocalTable(PageFile& file, const CatalogEntry& entry, TableInfo& table, CodePageDecoder& codePage,
                        const ComplexColumnMap& complex) {
    TableDefinition stored = readTableDefinition(file, entry.definitionPage());
    const TableProperties properties = parseTableProperties(entry.properties, file.isJet3(), codePage);
    applyResultTypes(stored, properties);
    auto definition = std::make_shared<const TableDefinition>(std::move(stored));
    for (const auto& column : definition->columns) {
        FieldInfo field = describeField(column, properties, file.isJet3(), complex);
        if (field.complex != ComplexKind::VersionHistory) // an append-only memo's hidden history
            table.fields.push_back(std::move(field));
    }
    table.indexes = describeIndexes(*definition);
    table.validationRule = propertyText(&properties.table, "ValidationRule");
    table.validationText = propertyText(&properties.table, "ValidationText");
    table.description = propertyText(&properties.table, "Description");
    table.definition = std::move(definition);
}

} // namespace

long daoTableAttributes(const CatalogEntry& entry) {
    std::uint32_t word = entry.flags & 0x80000002u;
    if (entry.flags & 0x9u)
        word |= daoattr::HiddenObject; // 0x1 hidden by the engine, 0x8 hidden in Access's window
    if (entry.type == objecttype::LinkedTable)
        word |= daoattr::AttachedTable;
    if (entry.type == objecttype::OdbcLinkedTable)
        word |= daoattr::AttachedODBC;
    if (startsWithNoCase(entry.name, "MSys"))
        word |= 0x80000002u;
    if (startsWithNoCase(entry.name, "~"))
        word |= daoattr::HiddenObject;
    return static_cast<long>(static_cast<std::int32_t>(word));
}

std::vector<TableInfo> describeTables(PageFile& file, const std::vector<CatalogEntry>& catalog,
                                      std::uint16_t textCodePage) {
    CodePageDecoder codePage(textCodePage);
    const ComplexColumnMap complex = readComplexColumns(file, catalog, textCodePage);
    std::vector<TableInfo> tables;
    for (const auto& entry : catalog) {
        TableInfo table;
        table.name = entry.name;
        table.attributes = daoTableAttributes(entry);
        table.objectType = entry.type;
        table.linkedDatabase = entry.database;
        table.foreignName = entry.foreignName;
        if (entry.type == objecttype::LocalTable)
            describeLocalTable(file, entry, table, codePage, complex);
        tables.push_back(std::move(table));
    }
    std::stable_sort(tables.begin(), tables.end(), [](const TableInfo& a, const TableInfo& b) {
        return toLowerAscii(a.name) < toLowerAscii(b.name);
    });
    return tables;
}

} // namespace tabulon

#include "TableCursor.h"

#include "AccessDatabase.h"
#include "ByteOrder.h"
#include "lib/Convert.h"
#include "lib/Error.h"

namespace tabulon {

namespace {

const Variant& nullValue() {
    static const Variant value = Variant::null();
    return value;
}

} // namespace

std::vector<CursorColumn> columnsByName(const TableDefinition& definition, const std::vector<std::string>& names,
                                        const std::string& tableName) {
    std::vector<CursorColumn> columns;
    for (const auto& name : names) {
        const ColumnDefinition* found = nullptr;
        for (const auto& column : definition.columns)
            if (column.name == name)
                found = &column;
        for (const auto& column : definition.columns)
            if (!found && toLowerAscii(column.name) == toLowerAscii(name))
                found = &column;
        if (!found)
            throw Error(errc::AccessItemNotFound, "Tabulon.Source.TableCursor",
                        "The field '" + name + "' does not exist in the table '" + tableName + "'.");
        CursorColumn column;
        column.definition = found;
        const StorageTypes types = storageTypesOf(*found, ComplexKind::None);
        column.kind = types.kind;
        column.providerType = types.provider;
        columns.push_back(std::move(column));
    }
    return columns;
}

TableCursor::TableCursor(std::unique_ptr<PageFile> file, std::shared_ptr<const TableDefinition> definition,
                         std::vector<CursorColumn> columns, std::uint16_t textCodePage)
    : m_file(std::move(file)), m_definition(std::move(definition)), m_columns(std::move(columns)),
      m_scan(*m_file, *m_definition), m_cracker(m_file->isJet3()), m_decoder(*m_file, textCodePage),
      m_values(m_columns.size()), m_current(m_columns.size(), &nullValue()) {}

const std::string& TableCursor::columnName(std::size_t column) const {
    return m_columns.at(column).definition->name;
}

ProviderType TableCursor::columnType(std::size_t column) const {
    return m_columns.at(column).providerType;
}

bool TableCursor::next() {
    if (!m_scan.next())
        return false;
    if (!m_cracker.prepare(m_scan.row(), m_scan.rowSize(), m_definition->variableColumnCount > 0))
        m_file->damaged("a row of the table at page " + std::to_string(m_definition->page) + " is not valid");
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        CursorColumn& column = m_columns[i];
        FieldBytes field;
        if (!m_cracker.field(*column.definition, field))
            m_file->damaged("the column '" + column.definition->name + "' of a row runs past the row");
        if (field.isNull) {
            m_current[i] = &nullValue();
            continue;
        }
        if (column.complex) {
            if (field.size < 4)
                m_file->damaged("the key of the complex column '" + column.definition->name + "' is too short");
            column.complex->fill(static_cast<std::int32_t>(jet::le32(field.data)), m_values[i]);
        } else {
            m_decoder.decode(*column.definition, column.kind, field, m_values[i]);
        }
        m_current[i] = &m_values[i];
    }
    return true;
}

} // namespace tabulon

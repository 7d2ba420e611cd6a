#pragma once

#include "DataPage.h"
#include "PageFile.h"
#include "RowCracker.h"
#include "TypeCodes.h"
#include "ValueDecoder.h"
#include "lib/RowSource.h"

#include <memory>
#include <string>
#include <vector>

namespace tabulon {

// The values of a complex column (attachments, multi-valued fields) for one parent row.
class ComplexValues {
public:
    virtual ~ComplexValues() = default;
    // Sets `out` to the values whose parent key is `key` (a List of texts or a Dictionary of file data).
    virtual void fill(std::int32_t key, Variant& out) = 0;
};

struct CursorColumn {
    const ColumnDefinition* definition = nullptr;
    ValueKind kind = ValueKind::Unknown;
    ProviderType providerType = ProviderType::Empty;
    std::unique_ptr<ComplexValues> complex;
};

// Cursor columns for the named columns of a definition (ASCII letter case ignored); raises 3265 naming the
// column and `tableName` when one does not exist.
std::vector<CursorColumn> columnsByName(const TableDefinition& definition, const std::vector<std::string>& names,
                                        const std::string& tableName);

// The forward-only cursor over one local table. Owns its own page file (libmdb handle), so cursors on the
// same database never disturb each other.
class TableCursor : public RowCursor {
public:
    TableCursor(std::unique_ptr<PageFile> file, std::shared_ptr<const TableDefinition> definition,
                std::vector<CursorColumn> columns, std::uint16_t textCodePage);

    std::size_t columnCount() const override { return m_columns.size(); }
    const std::string& columnName(std::size_t column) const override;
    ProviderType columnType(std::size_t column) const override;
    bool next() override;
    const Variant& value(std::size_t column) const override { return *m_current[column]; }

private:
    std::unique_ptr<PageFile> m_file;
    std::shared_ptr<const TableDefinition> m_definition;
    std::vector<CursorColumn> m_columns;
    TableScan m_scan;
    RowCracker m_cracker;
    ValueDecoder m_decoder;
    std::vector<Variant> m_values;
    std::vector<const Variant*> m_current;
};

} // namespace tabulon

#pragma once

#include "TableDefinition.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tabulon {

// Where one column's bytes lie in a row.
struct FieldBytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    bool isNull = true;
    bool bit = false; // the null-mask bit; a Yes/No column's value
};

// Splits rows of one table into their columns (fixed area, variable-length offset table, null mask).
class RowCracker {
public:
    explicit RowCracker(bool jet3) : m_jet3(jet3) {}

    // Locates `column` in the row; false when the row's own offsets contradict its size (a damaged row).
    // prepare() must be called once per row first.
    bool prepare(const std::uint8_t* row, std::size_t size, bool tableHasVariableColumns);
    bool field(const ColumnDefinition& column, FieldBytes& out) const;

private:
    bool prepareJet3Offsets(std::size_t maskSize);

    bool m_jet3;
    const std::uint8_t* m_row = nullptr;
    std::size_t m_size = 0;
    std::size_t m_columnCount = 0;
    const std::uint8_t* m_nullMask = nullptr;
    std::size_t m_fixedStart = 0;
    std::size_t m_variableCount = 0;
    std::vector<std::size_t> m_offsets; // m_variableCount + 1 entries
};

} // namespace tabulon

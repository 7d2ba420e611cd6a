#include "RowCracker.h"

#include "ByteOrder.h"

namespace tabulon {

bool RowCracker::prepare(const std::uint8_t* row, std::size_t size, bool tableHasVariableColumns) {
    m_row = row;
    m_size = size;
    m_fixedStart = m_jet3 ? 1 : 2;
    if (size < m_fixedStart)
        return false;
    m_columnCount = m_jet3 ? row[0] : jet::le16(row);
    const std::size_t maskSize = (m_columnCount + 7) / 8;
    if (maskSize + m_fixedStart > size)
        return false;
    m_nullMask = row + size - maskSize;
    m_variableCount = 0;
    m_offsets.clear();
    if (!tableHasVariableColumns)
        return true;
    if (m_jet3)
        return prepareJet3Offsets(maskSize);
    if (maskSize + 2 + m_fixedStart > size)
        return false;
    m_variableCount = jet::le16(row + size - maskSize - 2);
    const std::size_t tableEnd = size - maskSize - 2;
    if (2 * (m_variableCount + 1) > tableEnd)
        return false;
    m_offsets.resize(m_variableCount + 1);
    for (std::size_t i = 0; i <= m_variableCount; ++i)
        m_offsets[i] = jet::le16(row + tableEnd - 2 - 2 * i);
    return true;
}

// Jet3 keeps one-byte offsets; rows over 256 bytes add a "jump table" of the column numbers at which the
// offsets pass another multiple of 256.
bool RowCracker::prepareJet3Offsets(std::size_t maskSize) {
    const std::size_t rowEnd = m_size - 1; // inclusive, as the format counts
    if (maskSize + 1 > rowEnd)
        return false;
    m_variableCount = m_row[rowEnd - maskSize];
    std::size_t jumps = rowEnd / 256;
    if (maskSize + jumps + 1 > rowEnd)
        return false;
    const std::size_t columnPointer = rowEnd - maskSize - jumps - 1;
    if (columnPointer < m_variableCount)
        return false;
    if ((columnPointer - m_variableCount) / 256 < jumps)
        --jumps; // the last jump is only a placeholder
    m_offsets.resize(m_variableCount + 1);
    std::size_t used = 0;
    for (std::size_t i = 0; i <= m_variableCount; ++i) {
        while (used < jumps && i == m_row[rowEnd - maskSize - used - 1])
            ++used;
        m_offsets[i] = m_row[columnPointer - i] + used * 256;
    }
    return true;
}

bool RowCracker::field(const ColumnDefinition& column, FieldBytes& out) const {
    out = FieldBytes{};
    if (column.number >= m_columnCount)
        return true; // a column added after the row was written
    out.bit = (m_nullMask[column.number / 8] >> (column.number % 8)) & 1;
    out.isNull = !out.bit;
    if (column.type == jettype::Boolean && !column.isCalculated()) {
        out.isNull = false;
        return true;
    }
    if (out.isNull)
        return true;
    if (column.isFixed()) {
        const std::size_t start = m_fixedStart + column.fixedOffset;
        const std::size_t end = start + column.length;
        if (end > static_cast<std::size_t>(m_nullMask - m_row))
            return false;
        out.data = m_row + start;
        out.size = column.length;
        return true;
    }
    if (column.varIndex >= m_variableCount) {
        out.isNull = true;
        return true;
    }
    const std::size_t start = m_offsets[column.varIndex];
    const std::size_t end = m_offsets[column.varIndex + 1];
    if (start > end || end > m_size)
        return false;
    out.data = m_row + start;
    out.size = end - start;
    return true;
}

} // namespace tabulon

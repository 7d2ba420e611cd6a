#pragma once

#include "TableDefinition.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tabulon {

class PageFile;

// Flags in the high bits of a row offset: 0x4000 alone is a pointer to a row moved to another page;
// 0x8000 marks a deleted row or the moved row itself (reached only through its pointer).
namespace rowflag {
constexpr std::uint16_t Pointer = 0x4000;
constexpr std::uint16_t Deleted = 0x8000;
constexpr std::uint16_t OffsetMask = 0x1FFF;
} // namespace rowflag

struct RowSlot {
    std::size_t start = 0;
    std::size_t end = 0; // exclusive
    std::uint16_t flags = 0;
};

// Reads row `row` of a data page; false when the page has no such row or its offsets are inconsistent.
bool findRow(const std::uint8_t* page, std::size_t pageSize, bool jet3, unsigned row, RowSlot& slot);
unsigned rowCountOf(const std::uint8_t* page, bool jet3);

// Copies the bytes of the row at `pointer` (page << 8 | row) into `out`; raises 3343 (damaged) when it
// does not exist. Used for usage maps and long values.
void readPointedRow(PageFile& file, std::uint32_t pointer, std::vector<std::uint8_t>& pageBuffer,
                    const std::uint8_t*& row, std::size_t& size);
// The same, keeping the page in `pageBuffer` between calls: `loadedPage` names the page it holds
// (0xFFFFFFFF for none), so consecutive rows of one page cost one read.
void readPointedRowCached(PageFile& file, std::uint32_t pointer, std::vector<std::uint8_t>& pageBuffer,
                          std::uint32_t& loadedPage, const std::uint8_t*& row, std::size_t& size);

// The data pages of one table in ascending order, from its usage map (inline bitmap or map pages).
class UsageMap {
public:
    UsageMap(PageFile& file, std::uint32_t pointer);
    // The next page marked in the map, or 0 when there is none.
    std::uint32_t next();

private:
    std::uint32_t scanInline();
    std::uint32_t scanReference();

    PageFile& m_file;
    std::vector<std::uint8_t> m_map;
    std::vector<std::uint8_t> m_mapPage;
    std::uint32_t m_mapPageLoaded = 0xFFFFFFFF;
    std::uint64_t m_position = 0; // next bit to test
};

// Walks the live rows of one table, in storage order; a moved row is returned where its pointer stands.
class TableScan {
public:
    TableScan(PageFile& file, const TableDefinition& definition);

    // Moves to the next live row; false at the end. With `followPointers` false, a pointer row is
    // counted as a row but not read (enough for counting).
    bool next(bool followPointers = true);
    const std::uint8_t* row() const { return m_row; }
    std::size_t rowSize() const { return m_rowSize; }
    // Where the current row is stored (page << 8 | row), after following a pointer.
    std::uint32_t location() const { return m_location; }

private:
    bool loadNextPage();
    void followPointer(std::uint32_t pointer);

    PageFile& m_file;
    std::uint32_t m_tablePage;
    bool m_jet3;
    UsageMap m_pages;
    std::vector<std::uint8_t> m_page;
    std::vector<std::uint8_t> m_moved;
    std::uint32_t m_pageNumber = 0;
    std::uint32_t m_location = 0;
    unsigned m_rowIndex = 0;
    unsigned m_rowCount = 0;
    bool m_havePage = false;
    const std::uint8_t* m_row = nullptr;
    std::size_t m_rowSize = 0;
};

} // namespace tabulon

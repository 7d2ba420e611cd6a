#include "DataPage.h"

#include "ByteOrder.h"
#include "PageFile.h"

namespace tabulon {

namespace {

constexpr std::uint8_t kDataPage = 0x01;
constexpr int kMaxPointerHops = 8;

std::size_t rowTableOffset(bool jet3) {
    return jet3 ? 8 : 12;
}

} // namespace

unsigned rowCountOf(const std::uint8_t* page, bool jet3) {
    return jet::le16(page + rowTableOffset(jet3));
}

bool findRow(const std::uint8_t* page, std::size_t pageSize, bool jet3, unsigned row, RowSlot& slot) {
    const std::size_t table = rowTableOffset(jet3) + 2;
    const unsigned count = rowCountOf(page, jet3);
    if (row >= count || table + 2 * static_cast<std::size_t>(count) > pageSize)
        return false;
    const std::uint16_t raw = jet::le16(page + table + 2 * row);
    slot.flags = raw & 0xE000;
    slot.start = raw & rowflag::OffsetMask;
    slot.end = row == 0 ? pageSize : (jet::le16(page + table + 2 * (row - 1)) & rowflag::OffsetMask);
    return slot.start >= table + 2 * static_cast<std::size_t>(count) && slot.start <= slot.end && slot.end <= pageSize;
}

void readPointedRow(PageFile& file, std::uint32_t pointer, std::vector<std::uint8_t>& pageBuffer,
                    const std::uint8_t*& row, std::size_t& size) {
    std::uint32_t none = 0xFFFFFFFF;
    readPointedRowCached(file, pointer, pageBuffer, none, row, size);
}

void readPointedRowCached(PageFile& file, std::uint32_t pointer, std::vector<std::uint8_t>& pageBuffer,
                          std::uint32_t& loadedPage, const std::uint8_t*& row, std::size_t& size) {
    const std::uint32_t page = pointer >> 8;
    if (page != loadedPage || pageBuffer.size() != file.pageSize()) {
        pageBuffer.resize(file.pageSize());
        loadedPage = 0xFFFFFFFF;
        file.read(page, pageBuffer.data());
        loadedPage = page;
    }
    RowSlot slot;
    if (pageBuffer[0] != kDataPage || !findRow(pageBuffer.data(), file.pageSize(), file.isJet3(), pointer & 0xFF, slot))
        file.damaged("row " + std::to_string(pointer & 0xFF) + " of page " + std::to_string(page) + " does not exist");
    row = pageBuffer.data() + slot.start;
    size = slot.end - slot.start;
}

UsageMap::UsageMap(PageFile& file, std::uint32_t pointer) : m_file(file) {
    std::vector<std::uint8_t> page;
    const std::uint8_t* row = nullptr;
    std::size_t size = 0;
    readPointedRow(file, pointer, page, row, size);
    m_map.assign(row, row + size);
    if (m_map.empty() || (m_map[0] == 0 && m_map.size() < 5) || m_map[0] > 1)
        file.damaged("the page map of a table is not valid");
}

std::uint32_t UsageMap::next() {
    return m_map[0] == 0 ? scanInline() : scanReference();
}

std::uint32_t UsageMap::scanInline() {
    const std::uint32_t first = jet::le32(&m_map[1]);
    const std::uint64_t bits = (m_map.size() - 5) * 8;
    while (m_position < bits) {
        const std::uint64_t bit = m_position++;
        if (m_map[5 + bit / 8] & (1u << (bit % 8)))
            return first + static_cast<std::uint32_t>(bit);
    }
    return 0;
}

std::uint32_t UsageMap::scanReference() {
    const std::size_t pageSize = m_file.pageSize();
    const std::uint64_t bitsPerPage = (pageSize - 4) * 8;
    const std::uint64_t mapPages = (m_map.size() - 1) / 4;
    while (m_position < mapPages * bitsPerPage) {
        const std::uint64_t index = m_position / bitsPerPage;
        const std::uint32_t mapPage = jet::le32(&m_map[1 + 4 * index]);
        if (mapPage == 0) {
            m_position = (index + 1) * bitsPerPage;
            continue;
        }
        if (mapPage != m_mapPageLoaded) {
            m_mapPage.resize(pageSize);
            m_file.read(mapPage, m_mapPage.data());
            m_mapPageLoaded = mapPage;
        }
        const std::uint64_t bit = m_position % bitsPerPage;
        const std::uint8_t byte = m_mapPage[4 + bit / 8];
        if (bit % 8 == 0 && byte == 0) {
            m_position += 8;
            continue;
        }
        ++m_position;
        if (byte & (1u << (bit % 8)))
            return static_cast<std::uint32_t>(index * bitsPerPage + bit);
    }
    return 0;
}

TableScan::TableScan(PageFile& file, const TableDefinition& definition)
    : m_file(file), m_tablePage(definition.page), m_jet3(file.isJet3()), m_pages(file, definition.usageMap),
      m_page(file.pageSize()) {}

bool TableScan::loadNextPage() {
    for (;;) {
        const std::uint32_t page = m_pages.next();
        if (page == 0)
            return false;
        m_file.read(page, m_page.data());
        // A map bit may name a page that was freed and reused: only data pages of this table count.
        if (m_page[0] != kDataPage || jet::le32(&m_page[4]) != m_tablePage)
            continue;
        m_pageNumber = page;
        m_rowIndex = 0;
        m_rowCount = rowCountOf(m_page.data(), m_jet3);
        return true;
    }
}

bool TableScan::next(bool followPointers) {
    for (;;) {
        if (!m_havePage || m_rowIndex >= m_rowCount) {
            m_havePage = loadNextPage();
            if (!m_havePage)
                return false;
            continue;
        }
        RowSlot slot;
        if (!findRow(m_page.data(), m_page.size(), m_jet3, m_rowIndex++, slot))
            m_file.damaged("a row offset of a data page is not valid");
        if (slot.flags & rowflag::Deleted)
            continue;
        if (slot.flags & rowflag::Pointer) {
            if (followPointers) {
                if (slot.end - slot.start < 4)
                    m_file.damaged("a moved-row pointer is too short");
                followPointer(jet::le32(m_page.data() + slot.start));
            }
            return true;
        }
        m_row = m_page.data() + slot.start;
        m_rowSize = slot.end - slot.start;
        m_location = (m_pageNumber << 8) | (m_rowIndex - 1);
        return true;
    }
}

void TableScan::followPointer(std::uint32_t pointer) {
    for (int hop = 0; hop < kMaxPointerHops; ++hop) {
        const std::uint32_t page = pointer >> 8;
        m_moved.resize(m_file.pageSize());
        m_file.read(page, m_moved.data());
        RowSlot slot;
        if (m_moved[0] != kDataPage || !findRow(m_moved.data(), m_moved.size(), m_jet3, pointer & 0xFF, slot))
            m_file.damaged("a moved row cannot be found");
        if ((slot.flags & rowflag::Pointer) && !(slot.flags & rowflag::Deleted)) {
            if (slot.end - slot.start < 4)
                m_file.damaged("a moved-row pointer is too short");
            pointer = jet::le32(m_moved.data() + slot.start);
            continue;
        }
        m_row = m_moved.data() + slot.start;
        m_rowSize = slot.end - slot.start;
        m_location = pointer;
        return;
    }
    m_file.damaged("moved-row pointers form a loop");
}

} // namespace tabulon

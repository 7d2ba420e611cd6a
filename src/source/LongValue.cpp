#include "LongValue.h"

#include "ByteOrder.h"
#include "DataPage.h"
#include "PageFile.h"

namespace tabulon {

namespace {

constexpr std::size_t kHeaderSize = 12;
constexpr std::uint32_t kInline = 0x80000000;
constexpr std::uint32_t kSingleRow = 0x40000000;
constexpr std::uint32_t kLengthMask = 0x3FFFFFFF;

} // namespace

void LongValueReader::read(const std::uint8_t* field, std::size_t size, std::vector<std::uint8_t>& out) {
    out.clear();
    if (size < kHeaderSize)
        m_file.damaged("a long value header is too short");
    const std::uint32_t raw = jet::le32(field);
    const std::size_t length = raw & kLengthMask;
    if (length > m_file.header().fileSize)
        m_file.damaged("a long value is longer than the file");
    if (raw & kInline) {
        if (length > size - kHeaderSize)
            m_file.damaged("an inline long value runs past its row");
        out.assign(field + kHeaderSize, field + kHeaderSize + length);
        return;
    }
    const std::uint32_t pointer = jet::le32(field + 4);
    if (raw & kSingleRow) {
        const std::uint8_t* row = nullptr;
        std::size_t rowSize = 0;
        readPointedRowCached(m_file, pointer, m_page, m_loadedPage, row, rowSize);
        if (length > rowSize)
            m_file.damaged("a long value is shorter than its header says");
        out.assign(row, row + length);
        return;
    }
    readChain(pointer, length, out);
}

void LongValueReader::readChain(std::uint32_t pointer, std::size_t length, std::vector<std::uint8_t>& out) {
    out.reserve(length);
    while (out.size() < length) {
        if (pointer == 0)
            m_file.damaged("a long value ends before its length");
        const std::uint8_t* row = nullptr;
        std::size_t rowSize = 0;
        readPointedRowCached(m_file, pointer, m_page, m_loadedPage, row, rowSize);
        if (rowSize <= 4)
            m_file.damaged("a long value page holds no data");
        pointer = jet::le32(row);
        const std::size_t take = std::min(rowSize - 4, length - out.size());
        out.insert(out.end(), row + 4, row + 4 + take);
    }
}

} // namespace tabulon

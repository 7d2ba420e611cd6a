#include "TableDefinition.h"

#include "ByteOrder.h"
#include "ObjectNames.h"
#include "PageFile.h"
#include "TextCodec.h"

#include <algorithm>
#include <set>

namespace tabulon {

namespace {

// Offsets of the two layouts: Jet3 (Access 97) and Jet4 and later.
struct Layout {
    std::size_t rowCount, variableColumns, columnCount, indexCount, realIndexCount, usageMap, realIndexStart;
    std::size_t realIndexEntry, columnEntry, columnNumber, varIndex, flags, fixedOffset, length;
    std::size_t physicalIndexEntry, physicalSkip, flagsSkip, logicalIndexEntry, logicalSkip;
};

constexpr Layout kJet3{12, 23, 25, 27, 31, 35, 43, 8, 18, 1, 3, 13, 14, 16, 39, 0, 0, 20, 0};
constexpr Layout kJet4{16, 43, 45, 47, 51, 55, 63, 12, 25, 5, 7, 15, 21, 23, 52, 4, 4, 28, 4};

constexpr std::size_t kMaxDefinitionPages = 512;

// Bounds-checked reads over the concatenated definition.
class Reader {
public:
    Reader(const std::vector<std::uint8_t>& data, PageFile& file) : m_data(data), m_file(file) {}

    const std::uint8_t* at(std::size_t pos, std::size_t length) const {
        if (pos > m_data.size() || length > m_data.size() - pos)
            m_file.damaged("a table definition runs past its end");
        return m_data.data() + pos;
    }
    std::uint8_t u8(std::size_t pos) const { return *at(pos, 1); }
    std::uint16_t u16(std::size_t pos) const { return jet::le16(at(pos, 2)); }
    std::uint32_t u32(std::size_t pos) const { return jet::le32(at(pos, 4)); }

private:
    const std::vector<std::uint8_t>& m_data;
    PageFile& m_file;
};

std::vector<std::uint8_t> readDefinitionPages(PageFile& file, std::uint32_t page) {
    const std::size_t size = file.pageSize();
    std::vector<std::uint8_t> buffer(size);
    std::vector<std::uint8_t> data;
    std::set<std::uint32_t> seen;
    bool first = true;
    while (page != 0 || first) {
        if (!seen.insert(page).second || seen.size() > kMaxDefinitionPages)
            file.damaged("the table definition at page " + std::to_string(page) + " loops");
        file.read(page, buffer.data());
        if (buffer[0] != 0x02)
            file.damaged("page " + std::to_string(page) + " is not a table definition");
        data.insert(data.end(), buffer.begin() + (first ? 0 : 8), buffer.end());
        page = jet::le32(&buffer[4]);
        first = false;
    }
    return data;
}

class NameReader {
public:
    NameReader(const Reader& reader, bool jet3, std::uint16_t codePage)
        : m_reader(reader), m_jet3(jet3), m_decoder(codePage) {}

    std::string next(std::size_t& pos) {
        std::string name;
        if (m_jet3) {
            const std::size_t length = m_reader.u8(pos);
            m_decoder.decode(m_reader.at(pos + 1, length), length, name);
            pos += 1 + length;
        } else {
            const std::size_t length = m_reader.u16(pos);
            appendUtf16LeAsUtf8(m_reader.at(pos + 2, length), length, name);
            pos += 2 + length;
        }
        return name;
    }

private:
    const Reader& m_reader;
    bool m_jet3;
    CodePageDecoder m_decoder;
};

ColumnDefinition readColumn(const Reader& r, std::size_t pos, const Layout& l, bool jet3) {
    ColumnDefinition c;
    c.type = r.u8(pos);
    c.number = r.u16(pos + l.columnNumber);
    c.varIndex = r.u16(pos + l.varIndex);
    c.flags = r.u8(pos + l.flags);
    c.fixedOffset = r.u16(pos + l.fixedOffset);
    c.length = r.u16(pos + l.length);
    if (!jet3) {
        c.extraFlags = r.u8(pos + 16);
        c.precision = r.u8(pos + 11);
        c.scale = r.u8(pos + 12);
        c.complexId = r.u32(pos + 11);
    }
    return c;
}

PhysicalIndex readPhysicalIndex(const Reader& r, std::size_t pos, const Layout& l) {
    PhysicalIndex index;
    pos += l.physicalSkip;
    for (int slot = 0; slot < 10; ++slot, pos += 3) {
        const std::uint16_t number = r.u16(pos);
        if (number != 0xFFFF)
            index.columnNumbers.push_back(number);
    }
    pos += 8 + l.flagsSkip; // usage map pointer and first index page
    index.flags = r.u8(pos);
    return index;
}

LogicalIndex readLogicalIndex(const Reader& r, std::size_t pos, const Layout& l) {
    LogicalIndex index;
    pos += l.logicalSkip;
    index.physicalIndex = static_cast<std::int32_t>(r.u32(pos + 4));
    index.relatedTableType = r.u8(pos + 8);
    index.indexType = r.u8(pos + 19);
    return index;
}

} // namespace

const ColumnDefinition* TableDefinition::findColumn(std::uint16_t number) const {
    for (const auto& column : columns)
        if (column.number == number)
            return &column;
    return nullptr;
}

TableDefinition readTableDefinition(PageFile& file, std::uint32_t page) {
    const std::vector<std::uint8_t> data = readDefinitionPages(file, page);
    const bool jet3 = file.isJet3();
    const Layout& l = jet3 ? kJet3 : kJet4;
    const Reader r(data, file);

    TableDefinition def;
    def.page = page;
    def.storedRowCount = r.u32(l.rowCount);
    def.variableColumnCount = r.u16(l.variableColumns);
    const std::size_t columnCount = r.u16(l.columnCount);
    const std::size_t indexCount = r.u32(l.indexCount);
    const std::size_t realIndexCount = r.u32(l.realIndexCount);
    if (indexCount > 1000 || realIndexCount > 1000)
        file.damaged("the table definition at page " + std::to_string(page) + " lists too many indexes");
    def.usageMap = r.u32(l.usageMap);

    std::size_t pos = l.realIndexStart + realIndexCount * l.realIndexEntry;
    for (std::size_t i = 0; i < columnCount; ++i, pos += l.columnEntry)
        def.columns.push_back(readColumn(r, pos, l, jet3));
    NameReader names(r, jet3, file.header().codePage);
    for (auto& column : def.columns) {
        column.name = names.next(pos);
        if (holdsControlCharacter(column.name))
            file.damaged("the table definition at page " + std::to_string(page) + " names a column '" +
                         nameForMessage(column.name) + "' with a control character, which no Access name holds");
    }
    for (std::size_t i = 0; i < realIndexCount; ++i, pos += l.physicalIndexEntry)
        def.physicalIndexes.push_back(readPhysicalIndex(r, pos, l));
    for (std::size_t i = 0; i < indexCount; ++i, pos += l.logicalIndexEntry)
        def.logicalIndexes.push_back(readLogicalIndex(r, pos, l));
    for (auto& index : def.logicalIndexes)
        index.name = names.next(pos);

    std::stable_sort(def.columns.begin(), def.columns.end(),
                     [](const ColumnDefinition& a, const ColumnDefinition& b) { return a.number < b.number; });
    return def;
}

} // namespace tabulon

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tabulon {

class PageFile;

// Storage types of the Access file format (the type byte of a column definition).
namespace jettype {
constexpr std::uint8_t Boolean = 0x01;
constexpr std::uint8_t Byte = 0x02;
constexpr std::uint8_t Integer = 0x03;
constexpr std::uint8_t Long = 0x04;
constexpr std::uint8_t Currency = 0x05;
constexpr std::uint8_t Single = 0x06;
constexpr std::uint8_t Double = 0x07;
constexpr std::uint8_t DateTime = 0x08;
constexpr std::uint8_t Binary = 0x09;
constexpr std::uint8_t Text = 0x0A;
constexpr std::uint8_t Ole = 0x0B;
constexpr std::uint8_t Memo = 0x0C;
constexpr std::uint8_t Guid = 0x0F;
constexpr std::uint8_t Numeric = 0x10;
constexpr std::uint8_t Complex = 0x12;
constexpr std::uint8_t BigInt = 0x13;
constexpr std::uint8_t ExtendedDateTime = 0x14;
} // namespace jettype

// One column as the table definition stores it.
struct ColumnDefinition {
    std::string name;
    std::uint8_t type = 0;
    std::uint16_t number = 0;      // position in the row's null mask (deleted columns keep theirs)
    std::uint16_t varIndex = 0;    // slot in the row's variable-length offset table
    std::uint16_t fixedOffset = 0; // offset in the row's fixed-length area
    std::uint16_t length = 0;      // bytes (0 for memo and OLE)
    std::uint8_t flags = 0;        // 0x01 fixed, 0x02 updatable, 0x04 auto-increment, 0x40 GUID-auto, 0x80 hyperlink
    std::uint8_t extraFlags = 0;   // Jet4+: 0x01 compressed unicode, 0xC0 calculated
    std::uint8_t precision = 0;    // Jet4+ Decimal
    std::uint8_t scale = 0;        // Jet4+ Decimal
    std::uint32_t complexId = 0;   // ACE complex columns

    bool isFixed() const { return (flags & 0x01) != 0; }
    bool isAutoIncrement() const { return (flags & 0x04) != 0; }
    bool isCalculated() const { return (extraFlags & 0xC0) != 0; }
    bool isLongValue() const { return type == jettype::Memo || type == jettype::Ole; }
};

struct PhysicalIndex {
    std::vector<std::uint16_t> columnNumbers; // key order; column `number`s
    std::uint8_t flags = 0;                   // 0x01 unique, 0x02 ignore nulls, 0x08 required
};

struct LogicalIndex {
    std::string name;
    std::int32_t physicalIndex = 0; // position in TableDefinition::physicalIndexes
    std::uint8_t relatedTableType = 0;
    std::uint8_t indexType = 0; // 1 primary key, 2 relationship
};

// A table definition (TDEF) page chain, parsed with every offset checked against its length.
struct TableDefinition {
    std::uint32_t page = 0;
    std::uint32_t storedRowCount = 0; // may be stale: only for progress
    std::uint16_t variableColumnCount = 0;
    std::uint32_t usageMap = 0;            // row pointer (page << 8 | row) of the data page map
    std::vector<ColumnDefinition> columns; // ordered by `number`
    std::vector<PhysicalIndex> physicalIndexes;
    std::vector<LogicalIndex> logicalIndexes;

    const ColumnDefinition* findColumn(std::uint16_t number) const;
};

// Reads the table definition that starts at `page`. Raises 3343 (damaged) when the page is not a table
// definition or its contents run past their length.
TableDefinition readTableDefinition(PageFile& file, std::uint32_t page);

} // namespace tabulon

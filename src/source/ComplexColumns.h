#pragma once

#include "Catalog.h"
#include "TableCursor.h"
#include "TypeCodes.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace tabulon {

class PageFile;
struct FieldInfo;

struct ComplexColumnInfo {
    ComplexKind kind = ComplexKind::Unknown;
    std::uint32_t flatTablePage = 0; // the hidden table f_<GUID>_<column> holding the values
    std::uint32_t typeTablePage = 0; // MSysComplexType_<kind>, which names the value columns
};

// Complex column id (from the column definition) -> what MSysComplexColumns says about it.
using ComplexColumnMap = std::map<std::uint32_t, ComplexColumnInfo>;

// Reads MSysComplexColumns; empty for files without complex columns (all but ACE).
ComplexColumnMap readComplexColumns(PageFile& file, const std::vector<CatalogEntry>& catalog,
                                    std::uint16_t textCodePage);

// The values of one complex column, read from its flat table: the flat table is scanned once for its
// keys and row positions; the values themselves are read when a row asks for them.
std::unique_ptr<ComplexValues> openComplexValues(const PageFile& file, const FieldInfo& field,
                                                 std::uint16_t textCodePage);

// An attachment's FileData: a type word (0 raw, 1 deflated), the length, then the content with its own
// header; returns the file's bytes.
void decodeAttachmentData(const Bytes& stored, Bytes& out);

} // namespace tabulon

#pragma once

#include "LongValue.h"
#include "RowCracker.h"
#include "TextCodec.h"
#include "TypeCodes.h"
#include "lib/Variant.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tabulon {

class PageFile;

// Turns the bytes of one field into its exact value, reusing the text and byte buffers of `out` so that
// the record path does not allocate once the buffers have grown.
class ValueDecoder {
public:
    ValueDecoder(PageFile& file, std::uint16_t textCodePage);

    // `field` is not null. Complex columns are not handled here (their value lives in another table).
    void decode(const ColumnDefinition& column, ValueKind kind, const FieldBytes& field, Variant& out);

    // Decoding of plain bytes of a given kind, as stored in a row or inside a calculated value.
    void decodeBytes(ValueKind kind, const ColumnDefinition& column, const std::uint8_t* data, std::size_t size,
                     Variant& out);

private:
    void decodeCalculated(const ColumnDefinition& column, ValueKind kind, const FieldBytes& field, Variant& out);
    void decodeText(const std::uint8_t* data, std::size_t size, Variant& out);
    [[noreturn]] void tooShort(const ColumnDefinition& column) const;

    PageFile& m_file;
    LongValueReader m_longValues;
    CodePageDecoder m_codePage;
    bool m_jet3;
    std::vector<std::uint8_t> m_scratch;
};

// The text form of a GUID: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, the first three groups little-endian.
void formatGuid(const std::uint8_t* bytes, std::string& out);
// Access Decimal: sign byte, then four little-endian 32-bit words, most significant first.
Decimal decodeDecimal(const std::uint8_t* bytes, std::uint8_t scale);

} // namespace tabulon

#include "ValueDecoder.h"

#include "ByteOrder.h"
#include "PageFile.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace tabulon {

namespace {

// A calculated value: 16 bytes, a 32-bit length, then the result bytes.
constexpr std::size_t kCalculatedLengthOffset = 16;
constexpr std::size_t kCalculatedDataOffset = 20;
constexpr std::size_t kExtendedDateSize = 42;

std::size_t fixedSizeOf(ValueKind kind) {
    switch (kind) {
    case ValueKind::Byte:
        return 1;
    case ValueKind::Integer:
        return 2;
    case ValueKind::Long:
    case ValueKind::Single:
        return 4;
    case ValueKind::BigInt:
    case ValueKind::Currency:
    case ValueKind::Double:
    case ValueKind::DateTime:
        return 8;
    case ValueKind::Guid:
        return 16;
    case ValueKind::Decimal:
        return 17;
    case ValueKind::ExtendedDateTime:
        return kExtendedDateSize;
    default:
        return 0;
    }
}

bool parseDigits(const char* begin, const char* end, std::int64_t& out) {
    const auto result = std::from_chars(begin, end, out);
    return result.ec == std::errc() && result.ptr == end;
}

// Date/Time Extended: ASCII "days:ticks:7", days since 0001-01-01 and 100-ns ticks into the day.
bool decodeExtendedDate(const std::uint8_t* data, std::size_t size, DateTime& out) {
    const char* text = reinterpret_cast<const char*>(data);
    const char* end = text + size;
    const char* firstColon = std::find(text, end, ':');
    if (firstColon == end)
        return false;
    const char* secondColon = std::find(firstColon + 1, end, ':');
    std::int64_t days = 0;
    std::int64_t ticks = 0;
    if (!parseDigits(text, firstColon, days) || !parseDigits(firstColon + 1, secondColon, ticks))
        return false;
    if (days < 0 || days > 3'652'059 || ticks < 0 || ticks >= DateTime::kTicksPerDay)
        return false;
    out.ticks = days * DateTime::kTicksPerDay + ticks;
    return true;
}

} // namespace

void formatGuid(const std::uint8_t* b, std::string& out) {
    static const char hex[] = "0123456789ABCDEF";
    static const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    out.clear();
    out.push_back('{');
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out.push_back('-');
        out.push_back(hex[b[order[i]] >> 4]);
        out.push_back(hex[b[order[i]] & 0x0F]);
    }
    out.push_back('}');
}

Decimal decodeDecimal(const std::uint8_t* bytes, std::uint8_t scale) {
    Decimal d;
    d.negative = (bytes[0] & 0x80) != 0;
    d.high = (static_cast<std::uint64_t>(jet::le32(bytes + 1)) << 32) | jet::le32(bytes + 5);
    d.low = (static_cast<std::uint64_t>(jet::le32(bytes + 9)) << 32) | jet::le32(bytes + 13);
    d.scale = scale;
    return d;
}

ValueDecoder::ValueDecoder(PageFile& file, std::uint16_t textCodePage)
    : m_file(file), m_longValues(file), m_codePage(textCodePage), m_jet3(file.isJet3()) {}

void ValueDecoder::tooShort(const ColumnDefinition& column) const {
    m_file.damaged("a value of the column '" + column.name + "' is shorter than its type");
}

void ValueDecoder::decodeText(const std::uint8_t* data, std::size_t size, Variant& out) {
    if (m_jet3)
        m_codePage.decode(data, size, out.assignText());
    else
        decodeJetText(data, size, out.assignText());
}

void ValueDecoder::decode(const ColumnDefinition& column, ValueKind kind, const FieldBytes& field, Variant& out) {
    if (kind == ValueKind::Boolean && !column.isCalculated()) {
        out = field.bit;
        return;
    }
    if (column.isCalculated()) {
        decodeCalculated(column, kind, field, out);
        return;
    }
    switch (kind) {
    case ValueKind::Memo:
        m_longValues.read(field.data, field.size, m_scratch);
        decodeText(m_scratch.data(), m_scratch.size(), out);
        return;
    case ValueKind::Ole:
        m_longValues.read(field.data, field.size, out.assignBytes());
        return;
    default:
        decodeBytes(kind, column, field.data, field.size, out);
    }
}

void ValueDecoder::decodeCalculated(const ColumnDefinition& column, ValueKind kind, const FieldBytes& field,
                                    Variant& out) {
    const std::uint8_t* data = field.data;
    std::size_t size = field.size;
    if (column.isLongValue()) {
        m_longValues.read(field.data, field.size, m_scratch);
        data = m_scratch.data();
        size = m_scratch.size();
    }
    const bool hasResult = size >= kCalculatedDataOffset;
    if (hasResult) {
        const std::size_t length = jet::le32(data + kCalculatedLengthOffset);
        size = std::min(length, size - kCalculatedDataOffset);
        data += kCalculatedDataOffset;
    }
    if (size == 0) {
        // A stored text result of length 0 is a zero-length text; nothing stored at all is no result.
        if (hasResult && (kind == ValueKind::Text || kind == ValueKind::Memo))
            out.assignText().clear();
        else
            out.setNull();
        return;
    }
    switch (kind) {
    case ValueKind::Boolean:
        out = size > 0 && data[0] != 0;
        return;
    case ValueKind::Memo:
    case ValueKind::Text:
        decodeText(data, size, out);
        return;
    case ValueKind::Decimal: {
        // The result is an OLE DECIMAL: 2 reserved bytes, scale, sign, high 32 bits, low 64 bits.
        if (size < 16)
            tooShort(column);
        Decimal d;
        d.scale = data[2];
        d.negative = (data[3] & 0x80) != 0;
        d.high = jet::le32(data + 4);
        d.low = jet::le64(data + 8);
        out = d;
        return;
    }
    default:
        decodeBytes(kind, column, data, size, out);
    }
}

void ValueDecoder::decodeBytes(ValueKind kind, const ColumnDefinition& column, const std::uint8_t* data,
                               std::size_t size, Variant& out) {
    if (size < fixedSizeOf(kind))
        tooShort(column);
    switch (kind) {
    case ValueKind::Boolean:
        out = size > 0 && data[0] != 0;
        return;
    case ValueKind::Byte:
        out = static_cast<long long>(data[0]);
        return;
    case ValueKind::Integer:
        out = static_cast<long long>(static_cast<std::int16_t>(jet::le16(data)));
        return;
    case ValueKind::Long:
        out = static_cast<long long>(static_cast<std::int32_t>(jet::le32(data)));
        return;
    case ValueKind::BigInt:
        out = static_cast<long long>(jet::le64(data));
        return;
    case ValueKind::Currency:
        out = Decimal::fromScaledInteger(static_cast<std::int64_t>(jet::le64(data)), 4);
        return;
    case ValueKind::Single:
        out = jet::leFloat(data);
        return;
    case ValueKind::Double:
        out = jet::leDouble(data);
        return;
    case ValueKind::DateTime:
        out = DateTime::fromOleDate(jet::leDouble(data));
        return;
    case ValueKind::ExtendedDateTime: {
        DateTime value;
        if (!decodeExtendedDate(data, size, value))
            m_file.damaged("a Date/Time Extended value of the column '" + column.name + "' is not valid");
        out = value;
        return;
    }
    case ValueKind::Decimal:
        out = decodeDecimal(data, column.scale);
        return;
    case ValueKind::Guid:
        formatGuid(data, out.assignText());
        return;
    case ValueKind::Text:
    case ValueKind::Memo:
        decodeText(data, size, out);
        return;
    default:
        out.assignBytes().assign(data, data + size);
        return;
    }
}

} // namespace tabulon

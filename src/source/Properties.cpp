#include "Properties.h"

#include "ByteOrder.h"
#include "TextCodec.h"
#include "lib/Convert.h"
#include "lib/DateTime.h"

#include <cstring>
#include <vector>

namespace tabulon {

namespace {

constexpr std::uint16_t kNamesChunk = 0x80;

class PropertyParser {
public:
    PropertyParser(const Bytes& data, bool jet3, CodePageDecoder& codePage)
        : m_data(data), m_jet3(jet3), m_codePage(codePage) {}

    TableProperties parse() {
        TableProperties result;
        if (m_data.size() < 4 ||
            (std::memcmp(m_data.data(), "MR2", 4) != 0 && std::memcmp(m_data.data(), "KKD", 4) != 0))
            return result;
        std::size_t pos = 4;
        while (fits(pos, 6)) {
            const std::size_t length = jet::le32(&m_data[pos]);
            const std::uint16_t type = jet::le16(&m_data[pos + 4]);
            if (length < 6 || !fits(pos, length))
                break;
            if (type == kNamesChunk)
                readNames(pos + 6, pos + length);
            else if (type == 0x00 || type == 0x01)
                readBlock(pos + 6, pos + length, type, result);
            pos += length;
        }
        return result;
    }

private:
    bool fits(std::size_t pos, std::size_t length) const {
        return pos <= m_data.size() && length <= m_data.size() - pos;
    }

    std::string text(std::size_t pos, std::size_t length) {
        std::string out;
        if (m_jet3)
            m_codePage.decode(&m_data[pos], length, out);
        else
            decodeJetText(&m_data[pos], length, out);
        return out;
    }

    void readNames(std::size_t pos, std::size_t end) {
        while (pos + 2 <= end) {
            const std::size_t length = jet::le16(&m_data[pos]);
            if (pos + 2 + length > end)
                return;
            m_names.push_back(text(pos + 2, length));
            pos += 2 + length;
        }
    }

    void readBlock(std::size_t pos, std::size_t end, std::uint16_t type, TableProperties& result) {
        if (pos + 4 > end)
            return;
        const std::size_t headerLength = jet::le32(&m_data[pos]);
        if (headerLength < 4 || pos + headerLength > end)
            return;
        std::string name;
        if (headerLength > 6) {
            const std::size_t nameLength = jet::le16(&m_data[pos + 4]);
            if (6 + nameLength <= headerLength)
                name = text(pos + 6, nameLength);
        }
        PropertyMap& map = type == 0x00 ? result.table : result.columns[name];
        for (pos += headerLength; pos + 8 <= end;) {
            const std::size_t length = jet::le16(&m_data[pos]);
            if (length < 8 || pos + length > end)
                return;
            const std::uint8_t dataType = m_data[pos + 3];
            const std::size_t nameIndex = jet::le16(&m_data[pos + 4]);
            const std::size_t size = jet::le16(&m_data[pos + 6]);
            if (nameIndex < m_names.size() && 8 + size <= length)
                map[m_names[nameIndex]] = value(dataType, pos + 8, size);
            pos += length;
        }
    }

    std::string value(std::uint8_t type, std::size_t pos, std::size_t size) {
        const std::uint8_t* p = &m_data[pos];
        switch (type) {
        case 0x01:
            return size > 0 && p[0] ? "1" : "0";
        case 0x02:
            return size >= 1 ? integerText(p[0]) : "";
        case 0x03:
            return size >= 2 ? integerText(static_cast<std::int16_t>(jet::le16(p))) : "";
        case 0x04:
            return size >= 4 ? integerText(static_cast<std::int32_t>(jet::le32(p))) : "";
        case 0x07:
            return size >= 8 ? doubleText(jet::leDouble(p)) : "";
        case 0x08:
            return size >= 8 ? DateTime::fromOleDate(jet::leDouble(p)).toIsoSeconds() : "";
        case 0x0A:
        case 0x0C:
            return text(pos, size);
        default:
            return std::string(reinterpret_cast<const char*>(p), size);
        }
    }

    const Bytes& m_data;
    bool m_jet3;
    CodePageDecoder& m_codePage;
    std::vector<std::string> m_names;
};

} // namespace

const PropertyMap* TableProperties::column(const std::string& name) const {
    const auto exact = columns.find(name);
    if (exact != columns.end())
        return &exact->second;
    const std::string lower = toLowerAscii(name);
    for (const auto& [key, map] : columns)
        if (toLowerAscii(key) == lower)
            return &map;
    return nullptr;
}

TableProperties parseTableProperties(const Bytes& value, bool jet3, CodePageDecoder& codePage) {
    return PropertyParser(value, jet3, codePage).parse();
}

} // namespace tabulon

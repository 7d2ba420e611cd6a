#include "JsonRows.h"

#include "lib/Dictionary.h"

#include <charconv>
#include <cmath>

namespace tabulon {

namespace {

template <typename Number> void appendFloat(Number value, std::string& out) {
    if (std::isnan(value)) {
        out += "\"NaN\"";
    } else if (std::isinf(value)) {
        out += value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    } else {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, result.ptr);
    }
}

void appendHex(const Bytes& bytes, std::string& out) {
    static const char digits[] = "0123456789ABCDEF";
    out += "\"0x";
    for (const std::uint8_t b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0x0F]);
    }
    out.push_back('"');
}

} // namespace

void appendJsonString(const std::string& text, std::string& out) {
    static const char digits[] = "0123456789abcdef";
    out.push_back('"');
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                out += "\\u00";
                out.push_back(digits[u >> 4]);
                out.push_back(digits[u & 0x0F]);
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
}

void appendJsonValue(const Variant& value, std::string& out) {
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        out += "null";
        break;
    case Variant::Type::Boolean:
        out += value.boolean() ? "true" : "false";
        break;
    case Variant::Type::Integer:
        out += std::to_string(value.integer());
        break;
    case Variant::Type::Single:
        appendFloat(value.single(), out);
        break;
    case Variant::Type::Double:
        appendFloat(value.real(), out);
        break;
    case Variant::Type::Decimal:
        appendJsonString(value.decimal().toString(), out);
        break;
    case Variant::Type::DateTime:
        appendJsonString(value.dateTime().toIsoMilliseconds(), out);
        break;
    case Variant::Type::Text:
        appendJsonString(value.text(), out);
        break;
    case Variant::Type::Bytes:
        appendHex(value.bytes(), out);
        break;
    case Variant::Type::List: {
        out.push_back('[');
        for (std::size_t i = 0; i < value.list().size(); ++i) {
            if (i > 0)
                out.push_back(',');
            appendJsonString(value.list()[i], out);
        }
        out.push_back(']');
        break;
    }
    case Variant::Type::Dictionary: {
        out.push_back('{');
        bool first = true;
        if (value.dictionary()) {
            for (const auto& [key, item] : value.dictionary()->entries()) {
                if (!first)
                    out.push_back(',');
                first = false;
                appendJsonString(key, out);
                out.push_back(':');
                appendJsonValue(item, out);
            }
        }
        out.push_back('}');
        break;
    }
    }
}

std::size_t writeJsonRows(RowCursor& cursor, std::ostream& out) {
    std::string line;
    std::size_t rows = 0;
    while (cursor.next()) {
        line.clear();
        line.push_back('[');
        for (std::size_t i = 0; i < cursor.columnCount(); ++i) {
            if (i > 0)
                line.push_back(',');
            appendJsonValue(cursor.value(i), line);
        }
        line += "]\n";
        out << line;
        ++rows;
    }
    return rows;
}

} // namespace tabulon

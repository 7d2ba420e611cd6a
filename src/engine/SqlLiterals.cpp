#include "SqlLiterals.h"

#include "lib/Convert.h"
#include "lib/Error.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tabulon {

namespace {

constexpr std::size_t kMaxNonMaxUnicodeLength = 4000; // NVARCHAR(n) holds at most 4000 UTF-16 units
constexpr std::size_t kMaxNonMaxPlainLength = 8000;   // VARCHAR(n) at most 8000 bytes

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 32;
}

std::size_t findControl(std::string_view text, std::size_t from) {
    const auto it = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), isControl);
    return static_cast<std::size_t>(it - text.begin());
}

// The length SQL Server gives the text: UTF-16 units for N literals, bytes otherwise (an upper bound
// of the bytes in any server code page).
std::size_t serverLength(std::string_view text, bool unicode) {
    if (!unicode)
        return text.size();
    std::size_t units = 0;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        units += (c & 0xC0) != 0x80;
        units += c >= 0xF0; // a four-byte sequence is a surrogate pair
    }
    return units;
}

void appendQuotedRun(std::string& out, std::string_view run, bool unicode) {
    if (unicode)
        out += 'N';
    out += '\'';
    std::size_t start = 0;
    for (std::size_t quote; (quote = run.find('\'', start)) != std::string_view::npos; start = quote + 1) {
        out.append(run.substr(start, quote + 1 - start));
        out += '\'';
    }
    out.append(run.substr(start));
    out += '\'';
}

template <typename Integer> void appendInteger(std::string& out, Integer value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendPadded(std::string& out, int value, int width) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (auto length = result.ptr - buffer; length < width; ++length)
        out += '0';
    out.append(buffer, result.ptr);
}

// Writes the shortest round-trip digits either plainly or with an exponent, the way the classic
// runtime switches: plain from 1E-04 up to (not including) 1E+15, or 1E+07 for single precision.
void appendFloating(std::string& out, double value, bool single) {
    char buffer[64];
    const auto result =
        single ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value), std::chars_format::scientific)
               : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    if (text.front() == '-') {
        out += '-';
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (c != '.')
            digits += c;
    int exponent = 0;
    std::string_view expText = text.substr(e + 1);
    if (expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

    const int maxPlainExponent = single ? 6 : 14;
    const auto count = static_cast<int>(digits.size());
    if (exponent < -4 || exponent > maxPlainExponent) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        appendPadded(out, std::abs(exponent), 2);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const int integerDigits = exponent + 1;
        out.append(digits, 0, static_cast<std::size_t>(std::min(integerDigits, count)));
        if (count < integerDigits)
            out.append(static_cast<std::size_t>(integerDigits - count), '0');
        if (count > integerDigits) {
            out += '.';
            out.append(digits, static_cast<std::size_t>(integerDigits));
        }
    }
}

bool appendFloatingOrNull(std::string& out, double value, bool single) {
    if (!std::isfinite(value)) {
        out += "NULL";
        return false;
    }
    appendFloating(out, value, single);
    return true;
}

std::string joinItems(const StringList& items) {
    std::size_t size = 0;
    for (const auto& item : items)
        size += item.size() + 2;
    std::string joined;
    joined.reserve(size);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            joined += "; ";
        joined += items[i];
    }
    return joined;
}

} // namespace

void appendSafeText(std::string& out, std::string_view text, bool unicode) {
    std::size_t pos = findControl(text, 0);
    const bool split = pos < text.size();
    const bool toMax =
        split && serverLength(text, unicode) > (unicode ? kMaxNonMaxUnicodeLength : kMaxNonMaxPlainLength);
    out.reserve(out.size() + text.size() + 8);
    if (toMax)
        out += unicode ? "CONVERT(NVARCHAR(MAX), " : "CONVERT(VARCHAR(MAX), ";
    appendQuotedRun(out, text.substr(0, pos), unicode);
    if (toMax)
        out += ')';
    while (pos < text.size()) {
        out += "+CHAR(";
        appendInteger(out, static_cast<unsigned>(static_cast<unsigned char>(text[pos])));
        out += ')';
        const std::size_t next = findControl(text, ++pos);
        if (next > pos) {
            out += '+';
            appendQuotedRun(out, text.substr(pos, next - pos), unicode);
        }
        pos = next;
    }
}

void appendSafeString(std::string& out, const Variant& value, bool unicode) {
    switch (value.type()) {
    case Variant::Type::Null:
    case Variant::Type::Bytes:
    case Variant::Type::Dictionary:
        out += "NULL";
        return;
    case Variant::Type::Text:
        appendSafeText(out, value.text(), unicode);
        return;
    case Variant::Type::List:
        appendSafeText(out, joinItems(value.list()), unicode);
        return;
    default:
        appendSafeText(out, toText(value), unicode);
        return;
    }
}

std::string SafeString(const Variant& value, bool unicode) {
    std::string out;
    appendSafeString(out, value, unicode);
    return out;
}

bool appendSafeNumber(std::string& out, const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Boolean:
        out += value.boolean() ? "-1" : "0";
        return true;
    case Variant::Type::Integer:
        appendInteger(out, value.integer());
        return true;
    case Variant::Type::Single:
        return appendFloatingOrNull(out, value.single(), true);
    case Variant::Type::Double:
        return appendFloatingOrNull(out, value.real(), false);
    case Variant::Type::Decimal:
        out += value.decimal().toShortString();
        return true;
    case Variant::Type::DateTime:
        appendFloating(out, value.dateTime().toOleDate(), false);
        return true;
    case Variant::Type::Text: {
        double number;
        if (parseNumericText(value.text(), number))
            return appendFloatingOrNull(out, number, false);
        break;
    }
    default:
        break;
    }
    out += "NULL";
    return true;
}

std::string SafeNumber(const Variant& value) {
    std::string out;
    appendSafeNumber(out, value);
    return out;
}

void appendSafeDate(std::string& out, const Variant& value) {
    if (value.isNull()) {
        out += "NULL";
        return;
    }
    const DateTime::Parts p = toDateTime(value).parts();
    out += '\'';
    appendPadded(out, p.year, 4);
    out += '-';
    appendPadded(out, p.month, 2);
    out += '-';
    appendPadded(out, p.day, 2);
    out += ' ';
    appendPadded(out, p.hour, 2);
    out += ':';
    appendPadded(out, p.minute, 2);
    out += ':';
    appendPadded(out, p.second, 2);
    out += '\'';
}

std::string SafeDate(const Variant& value) {
    std::string out;
    appendSafeDate(out, value);
    return out;
}

void appendSafeBlob(std::string& out, const Variant& value, bool ignoreLargeBlobs, bool required) {
    const char* fallback = required ? "0x00" : "NULL";
    if (value.type() != Variant::Type::Bytes || value.bytes().empty()) {
        out += fallback;
        return;
    }
    const Bytes& bytes = value.bytes();
    if (bytes.size() > kMaxBlobSize) {
        if (ignoreLargeBlobs) {
            out += fallback;
            return;
        }
        throw Error(errc::BlobTooLarge, "Verdix.modSafe.SafeBlob",
                    "The maximum blob size of " + std::to_string(kMaxBlobSize) + " bytes was exceeded by a blob of " +
                        std::to_string(bytes.size()) +
                        " bytes. There is an advanced option to ignore BLOBs that are too large.");
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::size_t start = out.size();
    out.resize(start + 2 + 2 * bytes.size());
    char* p = out.data() + start;
    *p++ = '0';
    *p++ = 'x';
    for (std::uint8_t b : bytes) {
        *p++ = kHex[b >> 4];
        *p++ = kHex[b & 0x0F];
    }
}

std::string SafeBlob(const Variant& value, bool ignoreLargeBlobs, bool required) {
    std::string out;
    appendSafeBlob(out, value, ignoreLargeBlobs, required);
    return out;
}

void appendBracketed(std::string& out, std::string_view name) {
    out += '[';
    std::size_t start = 0;
    for (std::size_t close; (close = name.find(']', start)) != std::string_view::npos; start = close + 1) {
        out.append(name.substr(start, close + 1 - start));
        out += ']';
    }
    out.append(name.substr(start));
    out += ']';
}

std::string SafeTableName(std::string_view name) {
    std::string out;
    appendBracketed(out, name);
    return out;
}

std::string SafeFieldName(std::string_view name) {
    return SafeTableName(name);
}

} // namespace tabulon

#include "SqlLiterals.h"

#include "lib/Convert.h"
#include "lib/Error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

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

// Whether any of eight bytes is a control character (below 32) or a quote. Exact as a yes/no
// answer: the borrow tricks only ever mark bytes that qualify or follow one that does.
bool hasSpecialByte(std::uint64_t bytes) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
    const std::uint64_t below32 = (bytes - kOnes * 32) & ~bytes & kHighs;
    const std::uint64_t quotes = bytes ^ (kOnes * '\'');
    return ((below32 | ((quotes - kOnes) & ~quotes)) & kHighs) != 0;
}

// The position of the next control character or quote, eight bytes at a time: the record path
// runs this over every text of every row.
std::size_t findSpecial(std::string_view text, std::size_t from) {
    const char* data = text.data();
    std::size_t i = from;
    for (std::uint64_t bytes; i + 8 <= text.size(); i += 8) {
        std::memcpy(&bytes, data + i, 8);
        if (hasSpecialByte(bytes))
            break;
    }
    for (; i < text.size(); ++i)
        if (isControl(data[i]) || data[i] == '\'')
            return i;
    return text.size();
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
    const auto f = static_cast<float>(value);
    // The shortest text of the largest Single, 3.4028235E+38, lies above REAL's maximum as a literal:
    // nine digits read back as the same value without passing it.
    const auto result = !single ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific)
                        : std::fabs(f) == std::numeric_limits<float>::max()
                            ? std::to_chars(buffer, buffer + sizeof buffer, f, std::chars_format::scientific, 8)
                            : std::to_chars(buffer, buffer + sizeof buffer, f, std::chars_format::scientific);
    const char* p = buffer;
    if (*p == '-') {
        out += '-';
        ++p;
    }
    const char* e = std::find(p, static_cast<const char*>(result.ptr), 'e');
    char digits[32];
    int count = 0;
    for (; p < e; ++p)
        if (*p != '.')
            digits[count++] = *p;
    int exponent = 0;
    std::from_chars(e[1] == '+' ? e + 2 : e + 1, result.ptr, exponent);

    const int maxPlainExponent = single ? 6 : 14;
    if (exponent < -4 || exponent > maxPlainExponent) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits + 1, static_cast<std::size_t>(count - 1));
        }
        out += exponent < 0 ? "E-" : "E+";
        appendPadded(out, std::abs(exponent), 2);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits, static_cast<std::size_t>(count));
    } else {
        const int integerDigits = exponent + 1;
        out.append(digits, static_cast<std::size_t>(std::min(integerDigits, count)));
        if (count < integerDigits)
            out.append(static_cast<std::size_t>(integerDigits - count), '0');
        if (count > integerDigits) {
            out += '.';
            out.append(digits + integerDigits, static_cast<std::size_t>(count - integerDigits));
        }
    }
}

// All digits of an exact decimal without trailing fraction zeros ("12.5", "0.0001", "0"). Currency
// always fits the 64-bit fast path; wider Decimals take the general one.
void appendDecimal(std::string& out, const Decimal& value) {
    if (value.high != 0) {
        out += value.toShortString();
        return;
    }
    char digits[24];
    const auto count = static_cast<int>(std::to_chars(digits, digits + sizeof digits, value.low).ptr - digits);
    if (value.negative && value.low != 0)
        out += '-';
    const int integerDigits = count - value.scale;
    const int fractionStart = std::max(integerDigits, 0);
    if (integerDigits > 0)
        out.append(digits, static_cast<std::size_t>(integerDigits));
    else
        out += '0';
    int fractionEnd = count;
    while (fractionEnd > fractionStart && digits[fractionEnd - 1] == '0')
        --fractionEnd;
    if (fractionEnd > fractionStart) {
        out += '.';
        if (integerDigits < 0)
            out.append(static_cast<std::size_t>(-integerDigits), '0');
        out.append(digits + fractionStart, static_cast<std::size_t>(fractionEnd - fractionStart));
    }
}

char* putTwoDigits(char* at, int value) {
    at[0] = static_cast<char>('0' + value / 10);
    at[1] = static_cast<char>('0' + value % 10);
    return at + 2;
}

// "." and three digits for whole milliseconds, else up to seven without trailing zeros; nothing
// for no fraction.
char* putFraction(char* at, std::int64_t ticks) {
    if (ticks == 0)
        return at;
    const auto millis = static_cast<int>(ticks / 10'000);
    const auto rest = static_cast<int>(ticks % 10'000);
    *at++ = '.';
    *at++ = static_cast<char>('0' + millis / 100);
    at = putTwoDigits(at, millis % 100);
    if (rest == 0)
        return at;
    at = putTwoDigits(putTwoDigits(at, rest / 100), rest % 100);
    while (at[-1] == '0')
        --at;
    return at;
}

// The fraction, when there is one, and the closing quote.
void appendFractionAndQuote(std::string& out, std::int64_t ticks) {
    char fraction[10];
    char* last = putFraction(fraction, ticks);
    *last++ = '\'';
    out.append(fraction, static_cast<std::size_t>(last - fraction));
}

// A year outside 0 to 9999, far beyond SQL Server's range, written whole: "'Y-MM-DDThh:mm:ss".
void appendWideYearDateTime(std::string& out, const DateTime::Parts& p) {
    out += '\'';
    appendInteger(out, p.year);
    const char separators[] = "--T::";
    const int fields[] = {p.month, p.day, p.hour, p.minute, p.second};
    for (int i = 0; i < 5; ++i) {
        out += separators[i];
        appendPadded(out, fields[i], 2);
    }
}

// Half a millisecond and more rounds up, before the epoch as after it.
std::int64_t roundedToMillisecond(std::int64_t ticks) {
    constexpr std::int64_t kTicksPerMillisecond = 10'000;
    const std::int64_t shifted = ticks + kTicksPerMillisecond / 2;
    std::int64_t rest = shifted % kTicksPerMillisecond;
    if (rest < 0)
        rest += kTicksPerMillisecond;
    return shifted - rest;
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
    // Only a text longer than the non-MAX limit can need a MAX first piece: shorter ones skip the scans.
    const std::size_t limit = unicode ? kMaxNonMaxUnicodeLength : kMaxNonMaxPlainLength;
    bool closeMax = text.size() > limit && findControl(text, 0) < text.size() && serverLength(text, unicode) > limit;
    out.reserve(out.size() + text.size() + 16);
    if (closeMax)
        out += unicode ? "CONVERT(NVARCHAR(MAX), " : "CONVERT(VARCHAR(MAX), ";
    const auto openQuote = [&] {
        if (unicode)
            out += 'N';
        out += '\'';
    };
    // The first quoted piece is always there, even empty; later ones only around characters.
    openQuote();
    bool quoted = true;
    for (std::size_t pos = 0;;) {
        const std::size_t next = findSpecial(text, pos);
        if (next > pos || (next < text.size() && text[next] == '\'')) {
            if (!quoted) {
                out += '+';
                openQuote();
                quoted = true;
            }
            out.append(text.substr(pos, next - pos));
        }
        if (next == text.size())
            break;
        if (text[next] == '\'') {
            out += "''";
        } else {
            if (quoted) {
                out += '\'';
                if (closeMax)
                    out += ')';
                closeMax = false;
                quoted = false;
            }
            out += "+CHAR(";
            appendInteger(out, static_cast<unsigned>(static_cast<unsigned char>(text[next])));
            out += ')';
        }
        pos = next + 1;
    }
    if (quoted)
        out += '\'';
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
        appendDecimal(out, value.decimal());
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

void appendSafeDate(std::string& out, const Variant& value, DateColumn column) {
    if (value.isNull()) {
        out += "NULL";
        return;
    }
    DateTime dateTime = toDateTime(value);
    if (column == DateColumn::DateTime)
        dateTime.ticks = roundedToMillisecond(dateTime.ticks);
    const DateTime::Parts p = dateTime.parts();
    if (p.year < 0 || p.year > 9999) {
        appendWideYearDateTime(out, p);
        appendFractionAndQuote(out, p.fractionTicks);
        return;
    }
    // Every field has a fixed place: fill them in one template and append it at once.
    char text[] = "'0000-00-00T00:00:00'";
    const auto put = [&](int at, int twoDigits) { putTwoDigits(text + at, twoDigits); };
    put(1, p.year / 100);
    put(3, p.year % 100);
    put(6, p.month);
    put(9, p.day);
    put(12, p.hour);
    put(15, p.minute);
    put(18, p.second);
    if (p.fractionTicks == 0) {
        out.append(text, sizeof text - 1);
        return;
    }
    out.append(text, sizeof text - 2);
    appendFractionAndQuote(out, p.fractionTicks);
}

std::string SafeDate(const Variant& value, DateColumn column) {
    std::string out;
    appendSafeDate(out, value, column);
    return out;
}

void appendSafeBlob(std::string& out, const Variant& value, bool ignoreLargeBlobs, bool required) {
    const char* fallback = required ? "0x00" : "NULL";
    if (value.type() != Variant::Type::Bytes) {
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

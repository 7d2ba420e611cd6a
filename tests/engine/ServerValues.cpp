#include "ServerValues.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <locale.h>
#include <map>

namespace servervalues {

using sqlscript::ColumnType;
using sqlscript::Literal;

namespace {

// A number literal as sign, integer digits (no leading zeros) and fraction digits (no trailing
// zeros), the exponent applied.
struct Digits {
    bool valid = false;
    bool negative = false;
    std::string integer, fraction;
};

Digits digitsOf(const std::string& text) {
    Digits d;
    std::size_t at = 0;
    d.negative = at < text.size() && text[at] == '-';
    at += d.negative;
    std::string all;
    long point = -1, exponent = 0;
    for (; at < text.size() && (std::isdigit(static_cast<unsigned char>(text[at])) || text[at] == '.'); ++at) {
        if (text[at] == '.') {
            if (point >= 0)
                return d;
            point = static_cast<long>(all.size());
        } else {
            all += text[at];
        }
    }
    if (all.empty())
        return d;
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        char* end = nullptr;
        exponent = std::strtol(text.c_str() + at + 1, &end, 10);
        at = static_cast<std::size_t>(end - text.c_str());
    }
    if (at != text.size())
        return d;
    long integerCount = (point < 0 ? static_cast<long>(all.size()) : point) + exponent;
    if (integerCount < 0) {
        all.insert(0, static_cast<std::size_t>(-integerCount), '0');
        integerCount = 0;
    }
    if (integerCount > static_cast<long>(all.size()))
        all.append(static_cast<std::size_t>(integerCount) - all.size(), '0');
    d.integer = all.substr(0, static_cast<std::size_t>(integerCount));
    d.fraction = all.substr(static_cast<std::size_t>(integerCount));
    d.integer.erase(0, d.integer.find_first_not_of('0') == std::string::npos ? d.integer.size()
                                                                             : d.integer.find_first_not_of('0'));
    while (!d.fraction.empty() && d.fraction.back() == '0')
        d.fraction.pop_back();
    d.valid = true;
    return d;
}

// Whether the digits a.b are at most the bound, both without sign.
bool atMost(const std::string& integer, const std::string& fraction, const std::string& boundInteger,
            const std::string& boundFraction = "") {
    if (integer.size() != boundInteger.size())
        return integer.size() < boundInteger.size();
    if (integer != boundInteger)
        return integer < boundInteger;
    return fraction <= boundFraction;
}

std::string integerProblem(const Digits& d, const std::string& name) {
    static const std::map<std::string, std::pair<std::string, std::string>> bounds = {
        {"TINYINT", {"255", ""}},
        {"SMALLINT", {"32767", "32768"}},
        {"INT", {"2147483647", "2147483648"}},
        {"BIGINT", {"9223372036854775807", "9223372036854775808"}}};
    if (!d.fraction.empty())
        return "a fraction in an integer column";
    const auto& [positive, negative] = bounds.at(name);
    if (d.negative && !d.integer.empty() && (negative.empty() || !atMost(d.integer, "", negative)))
        return "below the range of " + name;
    if (!d.negative && !atMost(d.integer, "", positive))
        return "above the range of " + name;
    return "";
}

std::string numberProblem(const Literal& value, const ColumnType& type, Category category) {
    const Digits d = digitsOf(value.text);
    if (!d.valid)
        return "not a number literal";
    switch (category) {
    case Category::Integer:
        return integerProblem(d, type.name);
    case Category::Money:
        if (d.fraction.size() > 4)
            return "more than 4 decimal places in a MONEY column";
        return atMost(d.integer, d.fraction, "922337203685477", d.negative ? "5808" : "5807")
                   ? ""
                   : "outside the range of MONEY";
    case Category::Decimal: {
        const long long precision = type.arguments.empty() ? 18 : type.arguments[0];
        const long long scale = type.arguments.size() > 1 ? type.arguments[1] : 0;
        if (static_cast<long long>(d.fraction.size()) > scale)
            return "more decimal places than the scale of " + type.text;
        if (static_cast<long long>(d.integer.size()) > precision - scale)
            return "more integer digits than " + type.text + " holds";
        return "";
    }
    case Category::Real:
    case Category::Float: {
        const double number = std::strtod(value.text.c_str(), nullptr);
        if (!std::isfinite(number))
            return "outside the range of FLOAT";
        const bool nonZero = !d.integer.empty() || !d.fraction.empty();
        if (nonZero && (number == 0 || (category == Category::Real && static_cast<float>(number) == 0)))
            return "a value that underflows to 0 in " + type.text;
        // REAL's largest value as SQL Server accepts it written: the nine-digit form of the largest Single.
        if (category == Category::Real && std::fabs(number) > 3.40282347e38)
            return "above the range of REAL";
        return "";
    }
    case Category::Bit:
    case Category::Text:
        return "";
    default:
        return "a number in a " + type.text + " column";
    }
}

std::size_t utf16Units(const std::string& text) {
    std::size_t units = 0;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        units += (c & 0xC0) != 0x80;
        units += c >= 0xF0;
    }
    return units;
}

std::size_t codePoints(const std::string& text) {
    std::size_t count = 0;
    for (const char ch : text)
        count += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    return count;
}

std::string textProblem(const Literal& value, const ColumnType& type) {
    if (type.arguments.empty() || type.arguments[0] < 0)
        return "";
    const bool national = type.name[0] == 'N';
    const std::size_t length = national ? utf16Units(value.text) : codePoints(value.text);
    if (length > static_cast<std::size_t>(type.arguments[0]))
        return "a text of " + std::to_string(length) + " characters in " + type.text;
    return "";
}

std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy;
}

bool readDigits(const std::string& text, std::size_t at, std::size_t count, int& out) {
    if (at + count > text.size())
        return false;
    out = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// 'YYYY-MM-DDThh:mm:ss[.f...]' into days, seconds of the day, the fraction's digits.
bool splitDate(const std::string& text, std::int64_t& days, int& seconds, std::string& fraction) {
    int y, mo, d, h, mi, s;
    if (text.size() < 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':' ||
        !readDigits(text, 0, 4, y) || !readDigits(text, 5, 2, mo) || !readDigits(text, 8, 2, d) ||
        !readDigits(text, 11, 2, h) || !readDigits(text, 14, 2, mi) || !readDigits(text, 17, 2, s))
        return false;
    if (y < 1 || mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 59)
        return false;
    fraction.clear();
    if (text.size() > 19) {
        if (text[19] != '.' || text.size() == 20)
            return false;
        fraction = text.substr(20);
        for (const char c : fraction)
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return false;
    }
    days = daysFromCivil(y, mo, d);
    seconds = h * 3600 + mi * 60 + s;
    return true;
}

locale_t unicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

// Lower case of every code point, trailing blanks dropped: how a case-insensitive collation compares.
std::string foldedText(const std::string& text) {
    std::string out;
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    for (std::size_t i = 0; i < end;) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? b : b & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < end; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += static_cast<std::size_t>(length);
        const locale_t locale = unicodeLocale();
        const auto lower = locale ? towlower_l(static_cast<wint_t>(c), locale) : std::towlower(static_cast<wint_t>(c));
        out.append(reinterpret_cast<const char*>(&lower), sizeof lower);
    }
    return out;
}

} // namespace

Category categoryOf(const ColumnType& type) {
    static const std::map<std::string, Category> categories = {{"NVARCHAR", Category::Text},
                                                               {"VARCHAR", Category::Text},
                                                               {"NCHAR", Category::Text},
                                                               {"CHAR", Category::Text},
                                                               {"NTEXT", Category::Text},
                                                               {"TEXT", Category::Text},
                                                               {"TINYINT", Category::Integer},
                                                               {"SMALLINT", Category::Integer},
                                                               {"INT", Category::Integer},
                                                               {"BIGINT", Category::Integer},
                                                               {"BIT", Category::Bit},
                                                               {"MONEY", Category::Money},
                                                               {"DECIMAL", Category::Decimal},
                                                               {"NUMERIC", Category::Decimal},
                                                               {"REAL", Category::Real},
                                                               {"FLOAT", Category::Float},
                                                               {"DATETIME", Category::Date},
                                                               {"DATETIME2", Category::Date},
                                                               {"DATE", Category::Date},
                                                               {"IMAGE", Category::Binary},
                                                               {"VARBINARY", Category::Binary},
                                                               {"BINARY", Category::Binary},
                                                               {"UNIQUEIDENTIFIER", Category::Guid}};
    const auto found = categories.find(type.name);
    return found == categories.end() ? Category::Unknown : found->second;
}

std::optional<std::string> typeProblem(const ColumnType& type) {
    if (type.name.empty())
        return "no type";
    const Category category = categoryOf(type);
    if (category == Category::Unknown)
        return "the type " + type.text + ", which SQL Server does not have";
    const auto& a = type.arguments;
    const bool sized = type.name == "NVARCHAR" || type.name == "VARCHAR" || type.name == "NCHAR" ||
                       type.name == "CHAR" || type.name == "VARBINARY" || type.name == "BINARY";
    if (sized) {
        const long long limit = type.name[0] == 'N' ? 4000 : 8000;
        const bool maxAllowed = type.name.find("VAR") != std::string::npos;
        if (a.size() > 1 || (a.size() == 1 && !(a[0] >= 1 && a[0] <= limit) && !(a[0] == -1 && maxAllowed)))
            return "the length of " + type.text + " outside 1 to " + std::to_string(limit);
        return std::nullopt;
    }
    if (category == Category::Decimal) {
        if (a.size() > 2 || (!a.empty() && (a[0] < 1 || a[0] > 38)) || (a.size() == 2 && (a[1] < 0 || a[1] > a[0])))
            return "the precision or scale of " + type.text + " outside what SQL Server allows";
        return std::nullopt;
    }
    if (type.name == "DATETIME2" && a.size() == 1 && a[0] >= 0 && a[0] <= 7)
        return std::nullopt;
    if (type.name == "FLOAT" && a.size() == 1 && a[0] >= 1 && a[0] <= 53)
        return std::nullopt;
    if (!a.empty())
        return "arguments to " + type.text + ", which takes none here";
    return std::nullopt;
}

DateReading readDate(const std::string& text, const ColumnType& type) {
    DateReading reading;
    std::int64_t days = 0;
    int seconds = 0;
    std::string fraction;
    if (type.name == "DATE") {
        if (!splitDate(text + "T00:00:00", days, seconds, fraction))
            reading.problem = "not an ISO 8601 date ('YYYY-MM-DD'): '" + text + "'";
        reading.ticks = days;
        return reading;
    }
    if (!splitDate(text, days, seconds, fraction)) {
        reading.problem = "not an ISO 8601 date-time with a T ('YYYY-MM-DDThh:mm:ss[.fff]'): '" + text + "'";
        return reading;
    }
    if (type.name == "DATETIME") {
        if (fraction.size() > 3) {
            reading.problem = "more than 3 fraction digits in a DATETIME literal: '" + text + "'";
            return reading;
        }
        const int millis = fraction.empty() ? 0 : std::stoi((fraction + "00").substr(0, 3));
        // DATETIME stores 1/300 s, rounding half up; .999 carries into the next second.
        const std::int64_t stored = (days * 86400 + seconds) * 300 + (millis * 3 + 5) / 10;
        if (stored < daysFromCivil(1753, 1, 1) * 86400 * 300 || stored >= daysFromCivil(10000, 1, 1) * 86400 * 300)
            reading.problem = "outside the range of DATETIME (1753-01-01 to 9999-12-31): '" + text + "'";
        reading.ticks = stored;
        return reading;
    }
    const long long digits = type.arguments.empty() ? 7 : type.arguments[0];
    if (static_cast<long long>(fraction.size()) > digits) {
        reading.problem = "more fraction digits than " + type.text + " holds: '" + text + "'";
        return reading;
    }
    reading.ticks = (days * 86400 + seconds) * 10'000'000 + std::stoll((fraction + "0000000").substr(0, 7));
    return reading;
}

std::string fitProblem(const Literal& value, const ColumnType& type) {
    using K = Literal::Kind;
    const Category category = categoryOf(type);
    switch (value.kind) {
    case K::Null:
    case K::Function:
        return "";
    case K::Invalid:
        return "an expression SQL Server cannot evaluate: " + value.text;
    case K::Number:
        return numberProblem(value, type, category);
    case K::Binary:
        if (category != Category::Binary)
            return "a binary literal in a " + type.text + " column";
        if (value.text.size() % 2 != 0)
            return "a binary literal with an odd number of digits";
        if (!type.arguments.empty() && type.arguments[0] > 0 &&
            value.text.size() / 2 > static_cast<std::size_t>(type.arguments[0]))
            return "a binary value longer than " + type.text;
        return "";
    case K::Text:
        if (category == Category::Text)
            return textProblem(value, type);
        if (category == Category::Date)
            return readDate(value.text, type).problem;
        return "a text literal in a " + type.text + " column";
    }
    return "";
}

std::string keyOf(const Literal& value, const ColumnType& type) {
    using K = Literal::Kind;
    if (value.kind == K::Null)
        return std::string(1, '\x01');
    const Category category = categoryOf(type);
    if (value.kind == K::Text && category == Category::Date)
        return "D" + std::to_string(readDate(value.text, type).ticks);
    if (value.kind == K::Text)
        return "T" + foldedText(value.text);
    if (value.kind == K::Number && (category == Category::Real || category == Category::Float)) {
        double stored = std::strtod(value.text.c_str(), nullptr);
        if (category == Category::Real)
            stored = static_cast<float>(stored);
        if (stored == 0)
            stored = 0; // -0 equals 0
        std::uint64_t bits;
        std::memcpy(&bits, &stored, sizeof bits);
        return "F" + std::to_string(bits);
    }
    if (value.kind == K::Number) {
        const Digits d = digitsOf(value.text);
        const bool zero = d.integer.empty() && d.fraction.empty();
        return std::string("N") + (d.negative && !zero ? "-" : "") + d.integer + "." + d.fraction;
    }
    return "B" + value.text;
}

} // namespace servervalues

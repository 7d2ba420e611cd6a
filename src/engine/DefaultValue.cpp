#include "DefaultValue.h"

#include "TypeMapping.h"
#include "lib/Convert.h"

#include <cctype>

namespace tabulon {

namespace {

// Access's date functions as SQL Server expressions of the same value: Date() has no time of day,
// and Time() stands on day zero, as Access stores a time alone.
const char* dateFunction(const std::string& upper) {
    if (upper == "NOW()")
        return "GETDATE()";
    if (upper == "DATE()" || upper == "DATE$()")
        return "CONVERT(date, GETDATE())";
    if (upper == "TIME()" || upper == "TIME$()")
        return "DATEADD(day, -2, CONVERT(datetime, CONVERT(time, GETDATE())))";
    return nullptr;
}

// "abc" without its quotes, each doubled quote inside made one.
std::string unquoted(const std::string& text) {
    std::string inner = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
    for (std::size_t at = 0; (at = inner.find("\"\"", at)) != std::string::npos; ++at)
        inner.erase(at, 1);
    return inner;
}

// A number as Access writes a constant: decimal (with a sign, a point, an exponent), or &H / &O
// followed by hexadecimal or octal digits.
bool isAccessNumber(std::string_view text) {
    text = trimSpaces(text);
    if (text.size() > 2 && text[0] == '&' && std::toupper(static_cast<unsigned char>(text[1])) == 'H')
        return text.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string_view::npos;
    if (text.size() > 2 && text[0] == '&' && std::toupper(static_cast<unsigned char>(text[1])) == 'O')
        return text.find_first_not_of("01234567", 2) == std::string_view::npos;
    return isNumericText(text);
}

// Reads up to `maxDigits` digits; false when there is none.
bool readNumber(std::string_view text, std::size_t& at, int maxDigits, int& out) {
    out = 0;
    int digits = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && digits < maxDigits; ++at, ++digits)
        out = out * 10 + (text[at] - '0');
    return digits > 0;
}

bool readDate(std::string_view text, DateTime::Parts& p) {
    std::size_t at = 0;
    int a = 0, b = 0, c = 0;
    if (!readNumber(text, at, 4, a) || at >= text.size())
        return false;
    const char separator = text[at++];
    if ((separator != '-' && separator != '/') || !readNumber(text, at, 2, b) || at >= text.size() ||
        text[at++] != separator || !readNumber(text, at, 4, c) || at != text.size())
        return false;
    // Access's date literals are ISO (year first) or in the United States order, month first.
    if (separator == '-')
        p.year = a, p.month = b, p.day = c;
    else
        p.month = a, p.day = b, p.year = c;
    return separator == '/' || a >= 100;
}

bool readTime(std::string_view text, DateTime::Parts& p) {
    std::string upper = toUpperAscii(text);
    int half = 0; // 1 AM, 2 PM
    for (const char* suffix : {" AM", " PM"})
        if (upper.size() > 3 && upper.compare(upper.size() - 3, 3, suffix) == 0) {
            half = suffix[1] == 'A' ? 1 : 2;
            upper.resize(upper.size() - 3);
        }
    std::size_t at = 0;
    if (!readNumber(upper, at, 2, p.hour) || at >= upper.size() || upper[at++] != ':' ||
        !readNumber(upper, at, 2, p.minute))
        return false;
    if (at < upper.size() && (upper[at++] != ':' || !readNumber(upper, at, 2, p.second)))
        return false;
    if (at != upper.size() || p.minute > 59 || p.second > 59)
        return false;
    if (half != 0) {
        if (p.hour < 1 || p.hour > 12)
            return false;
        p.hour = p.hour % 12 + (half == 2 ? 12 : 0);
    }
    return p.hour <= 23;
}

// A date constant as Access writes one: a date ("yyyy-mm-dd" or "m/d/yyyy"), a date and a time, or a
// time alone ("h:mm[:ss]", optionally with AM or PM), which stands on day zero, 1899-12-30.
bool parseAccessDate(std::string_view text, DateTime& out) {
    text = trimSpaces(text);
    DateTime::Parts p;
    p.year = 1899, p.month = 12, p.day = 30;
    const std::size_t space = text.find(' ');
    const std::string_view first = text.substr(0, space);
    const bool timeOnly = first.find(':') != std::string_view::npos;
    if (!timeOnly && !readDate(first, p))
        return false;
    if (timeOnly && !readTime(text, p))
        return false;
    if (!timeOnly && space != std::string_view::npos && !readTime(trimSpaces(text.substr(space + 1)), p))
        return false;
    if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1)
        return false;
    out = DateTime::fromParts(p);
    const DateTime::Parts back = out.parts();
    return back.day == p.day && back.month == p.month; // no 31 April
}

DefaultValue none(const std::string& expression, const DefaultTarget& target) {
    return {"", "- column " + target.fieldName + " has no default: the Access default " + expression +
                    " has no SQL Server equivalent for " + target.typeText};
}

DefaultValue clause(const std::string& value) {
    return {" DEFAULT " + value, ""};
}

// A constant, quoted or not, for a column of the given kind.
DefaultValue constant(const std::string& text, bool quoted, const std::string& expression,
                      const DefaultTarget& target) {
    switch (MappingOf(target.type).literal) {
    case LiteralKind::Text:
        return clause(SafeString(Variant(text), target.unicode));
    case LiteralKind::Number:
        if (isAccessNumber(text))
            return clause(SafeNumber(Variant(val(text))));
        break;
    case LiteralKind::Date: {
        DateTime date;
        const bool hashed = !quoted && text.size() >= 2 && text.front() == '#' && text.back() == '#';
        if (parseAccessDate(hashed ? std::string_view(text).substr(1, text.size() - 2) : std::string_view(text), date))
            return clause(SafeDate(Variant(date), target.dateColumn));
        break;
    }
    default:
        break;
    }
    return none(expression, target);
}

} // namespace

DefaultValue TranslateDefault(const std::string& expression, const DefaultTarget& target) {
    // Access takes a default with or without its leading "=".
    std::string text = expression;
    if (!text.empty() && text.front() == '=')
        text = std::string(trimSpaces(std::string_view(text).substr(1)));
    if (text.empty() || text == "GenUniqueID()" || text == "GenGUID()")
        return {};
    const LiteralKind kind = MappingOf(target.type).literal;
    if (const char* function = dateFunction(toUpperAscii(text)))
        return kind == LiteralKind::Date || kind == LiteralKind::Text ? clause(function) : none(expression, target);
    const bool quoted = text.front() == '"';
    if (quoted)
        text = unquoted(text);
    // The scanner writes Yes/No defaults as "1", "0" or "NULL", which the Val rule reads.
    if (kind == LiteralKind::Boolean)
        return clause(SafeNumber(Variant(val(text))));
    return constant(text, quoted, expression, target);
}

} // namespace tabulon

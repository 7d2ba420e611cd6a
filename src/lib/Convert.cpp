#include "Convert.h"

#include "Error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tabulon {

namespace {

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::int64_t roundToInteger(double value) {
    if (!std::isfinite(value) || value >= 9.2e18 || value <= -9.2e18)
        return 0;
    return static_cast<std::int64_t>(std::nearbyint(value)); // banker's rounding, as CLng does
}

// from_chars leaves its output untouched when the number is out of range: give an overflow its
// infinity and an underflow its zero, as the runtime's conversion does.
double outOfRangeValue(std::string_view number) {
    const bool negative = number.front() == '-';
    const std::size_t e = number.find_first_of("eE");
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec != std::errc())
            exponent = digits.front() == '-' ? std::numeric_limits<long long>::min() / 2
                                             : std::numeric_limits<long long>::max() / 2;
    }
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    long long integerDigits = 0, index = 0;
    for (std::size_t i = 0; i < point; ++i)
        integerDigits += isDigit(mantissa[i]) ? 1 : 0;
    for (char c : mantissa) {
        if (!isDigit(c))
            continue;
        if (c != '0') {
            // The power of ten of the first significant digit decides between overflow and underflow.
            const long long magnitude = integerDigits - 1 - index + exponent;
            const double value = magnitude >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
            return negative ? -value : value;
        }
        ++index;
    }
    return negative ? -0.0 : 0.0;
}

} // namespace

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool isNumericText(std::string_view text) {
    double ignored;
    return parseNumericText(text, ignored);
}

bool parseNumericText(std::string_view text, double& out) {
    text = trimSpaces(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        std::size_t expDigits = 0;
        while (j < text.size() && isDigit(text[j]))
            ++j, ++expDigits;
        if (expDigits == 0)
            return false;
        i = j;
    }
    if (i != text.size())
        return false;
    std::string_view number = text;
    if (number.front() == '+')
        number.remove_prefix(1);
    auto result = std::from_chars(number.data(), number.data() + number.size(), out);
    if (result.ec == std::errc::result_out_of_range)
        out = outOfRangeValue(number);
    return result.ec == std::errc() || result.ec == std::errc::result_out_of_range;
}

bool toBoolean(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Empty:
        return false;
    case Variant::Type::Boolean:
        return value.boolean();
    case Variant::Type::Integer:
        return value.integer() != 0;
    case Variant::Type::Single:
        return value.single() != 0;
    case Variant::Type::Double:
        return value.real() != 0;
    case Variant::Type::Decimal:
        return !value.decimal().isZero();
    case Variant::Type::Text: {
        const std::string_view text = trimSpaces(value.text());
        if (equalsIgnoreCase(text, "true"))
            return true;
        if (equalsIgnoreCase(text, "false"))
            return false;
        double number;
        if (parseNumericText(text, number))
            return number != 0;
        break;
    }
    default:
        break;
    }
    throw Error(errc::TypeMismatch, "Tabulon", "Type mismatch");
}

bool toBooleanOr(const Variant& value, bool fallback) {
    try {
        return toBoolean(value);
    } catch (const Error&) {
        return fallback;
    }
}

std::string integerText(std::int64_t value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string singleText(float value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string doubleText(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string toText(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Boolean:
        return value.boolean() ? "True" : "False";
    case Variant::Type::Integer:
        return integerText(value.integer());
    case Variant::Type::Single:
        return singleText(value.single());
    case Variant::Type::Double:
        return doubleText(value.real());
    case Variant::Type::Decimal:
        return value.decimal().toShortString();
    case Variant::Type::DateTime:
        return value.dateTime().toIsoSeconds();
    case Variant::Type::Text:
        return value.text();
    default:
        return std::string();
    }
}

std::int64_t toInteger(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Boolean:
        return value.boolean() ? -1 : 0;
    case Variant::Type::Integer:
        return value.integer();
    case Variant::Type::Single:
        return roundToInteger(value.single());
    case Variant::Type::Double:
        return roundToInteger(value.real());
    case Variant::Type::Decimal:
        return roundToInteger(value.decimal().toDouble());
    case Variant::Type::Text: {
        double number;
        return parseNumericText(value.text(), number) ? roundToInteger(number) : 0;
    }
    default:
        return 0;
    }
}

DateTime toDateTime(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::DateTime:
        return value.dateTime();
    case Variant::Type::Integer:
    case Variant::Type::Single:
    case Variant::Type::Double:
    case Variant::Type::Decimal: {
        const double days = value.type() == Variant::Type::Integer  ? static_cast<double>(value.integer())
                            : value.type() == Variant::Type::Single ? value.single()
                            : value.type() == Variant::Type::Double ? value.real()
                                                                    : value.decimal().toDouble();
        // Outside 0100-01-01 .. 9999-12-31 there is no Access date.
        if (!std::isfinite(days) || days < -657434.0 || days >= 2958466.0)
            return DateTime::oleZero();
        return DateTime::fromOleDate(days);
    }
    default:
        return DateTime::oleZero();
    }
}

double val(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            compact.push_back(c);
    std::size_t i = 0;
    if (compact.size() >= 2 && compact[0] == '&' &&
        (compact[1] == 'H' || compact[1] == 'h' || compact[1] == 'O' || compact[1] == 'o')) {
        const bool hex = compact[1] == 'H' || compact[1] == 'h';
        std::uint64_t number = 0;
        for (i = 2; i < compact.size(); ++i) {
            char c = compact[i];
            int digit;
            if (c >= '0' && c <= (hex ? '9' : '7'))
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                break;
            number = number * (hex ? 16 : 8) + static_cast<std::uint64_t>(digit);
            if (number > 0xFFFFFFFFull)
                return 0; // overflow in the classic runtime
        }
        // The classic runtime reads such literals as 16-bit, else 32-bit, two's-complement numbers.
        if (number <= 0xFFFF)
            return number > 0x7FFF ? static_cast<double>(number) - 65536.0 : static_cast<double>(number);
        return number > 0x7FFFFFFF ? static_cast<double>(number) - 4294967296.0 : static_cast<double>(number);
    }
    std::string number;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-'))
        number.push_back(compact[i++]);
    bool seenPoint = false, seenDigit = false;
    for (; i < compact.size(); ++i) {
        char c = compact[i];
        if (isDigit(c)) {
            number.push_back(c);
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            number.push_back(c);
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit)
        return 0;
    if (i < compact.size() && (compact[i] == 'E' || compact[i] == 'e' || compact[i] == 'D' || compact[i] == 'd')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-'))
            exponent.push_back(compact[j++]);
        bool expDigit = false;
        while (j < compact.size() && isDigit(compact[j])) {
            exponent.push_back(compact[j++]);
            expDigit = true;
        }
        if (expDigit)
            number += exponent;
    }
    if (number.front() == '+')
        number.erase(0, 1);
    double out = 0;
    auto result = std::from_chars(number.data(), number.data() + number.size(), out);
    if (result.ec == std::errc::result_out_of_range)
        return 0;
    return out;
}

std::string toLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string toUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

} // namespace tabulon

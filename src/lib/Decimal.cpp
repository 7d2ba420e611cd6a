#include "Decimal.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tabulon {

Decimal Decimal::fromScaledInteger(std::int64_t unscaled, std::uint8_t scale) {
    Decimal d;
    d.negative = unscaled < 0;
    // Negate through unsigned arithmetic so that the smallest int64 does not overflow.
    d.low = d.negative ? ~static_cast<std::uint64_t>(unscaled) + 1 : static_cast<std::uint64_t>(unscaled);
    d.scale = scale;
    return d;
}

namespace {

// Divides the 128-bit magnitude held as four 32-bit limbs (most significant first) by 10 in place.
unsigned divideBy10(std::array<std::uint32_t, 4>& limbs) {
    std::uint64_t remainder = 0;
    for (auto& limb : limbs) {
        std::uint64_t current = (remainder << 32) | limb;
        limb = static_cast<std::uint32_t>(current / 10);
        remainder = current % 10;
    }
    return static_cast<unsigned>(remainder);
}

bool allZero(const std::array<std::uint32_t, 4>& limbs) {
    return std::all_of(limbs.begin(), limbs.end(), [](std::uint32_t l) { return l == 0; });
}

} // namespace

std::string Decimal::toString() const {
    std::array<std::uint32_t, 4> limbs{static_cast<std::uint32_t>(high >> 32), static_cast<std::uint32_t>(high),
                                       static_cast<std::uint32_t>(low >> 32), static_cast<std::uint32_t>(low)};
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + divideBy10(limbs)));
    } while (!allZero(limbs));
    while (digits.size() <= scale)
        digits.push_back('0');
    std::string out;
    out.reserve(digits.size() + 2);
    if (negative && !this->isZero())
        out.push_back('-');
    for (std::size_t i = digits.size(); i-- > 0;) {
        out.push_back(digits[i]);
        if (i == scale && scale > 0)
            out.push_back('.');
    }
    return out;
}

std::string Decimal::toShortString() const {
    std::string text = toString();
    if (scale == 0)
        return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

double Decimal::toDouble() const {
    // from_chars rounds correctly and, unlike strtod, ignores the process locale.
    const std::string text = toString();
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace tabulon

#pragma once

#include <cstdint>
#include <string>

namespace tabulon {

// An exact decimal number: a 128-bit magnitude, a sign and a scale (digits after the point).
// Access Currency is a Decimal of scale 4; Access Decimal has up to 28 digits.
struct Decimal {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::uint8_t scale = 0;
    bool negative = false;

    static Decimal fromScaledInteger(std::int64_t unscaled, std::uint8_t scale);

    // All digits, with exactly `scale` digits after the point: "12.3400", "-0.05", "0".
    std::string toString() const;
    // The same without trailing zeros after the point (and without the point when none remain): "12.34".
    std::string toShortString() const;
    double toDouble() const;
    bool isZero() const { return high == 0 && low == 0; }

    friend bool operator==(const Decimal&, const Decimal&) = default;
};

} // namespace tabulon

#pragma once

#include "DateTime.h"
#include "Decimal.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tabulon {

class Dictionary;
using DictionaryPtr = std::shared_ptr<Dictionary>;
using Bytes = std::vector<std::uint8_t>;
using StringList = std::vector<std::string>;

// A value as the system passes it around: the empty value of an absent key, a database null,
// or a Boolean, integer, floating, exact decimal, date-time, text (UTF-8), bytes, list of texts
// or dictionary. Dictionaries are shared by reference, everything else is copied.
class Variant {
public:
    enum class Type { Empty, Null, Boolean, Integer, Single, Double, Decimal, DateTime, Text, Bytes, List, Dictionary };

    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };

    Variant() = default;
    Variant(NullTag) : m_value(NullTag{}) {}
    Variant(bool value) : m_value(value) {}
    Variant(int value) : m_value(static_cast<std::int64_t>(value)) {}
    Variant(long value) : m_value(static_cast<std::int64_t>(value)) {}
    Variant(long long value) : m_value(static_cast<std::int64_t>(value)) {}
    Variant(float value) : m_value(value) {}
    Variant(double value) : m_value(value) {}
    Variant(const Decimal& value) : m_value(value) {}
    Variant(const DateTime& value) : m_value(value) {}
    Variant(std::string value) : m_value(std::move(value)) {}
    Variant(std::string_view value) : m_value(std::string(value)) {}
    Variant(const char* value) : m_value(std::string(value)) {}
    Variant(Bytes value) : m_value(std::move(value)) {}
    Variant(StringList value) : m_value(std::move(value)) {}
    Variant(DictionaryPtr value) : m_value(std::move(value)) {}

    static Variant null() { return Variant(NullTag{}); }

    Type type() const { return static_cast<Type>(m_value.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isText() const { return type() == Type::Text; }
    bool isList() const { return type() == Type::List; }
    bool isDictionary() const { return type() == Type::Dictionary; }
    bool isNumber() const;

    // Typed access; the caller has checked the type.
    bool boolean() const { return std::get<bool>(m_value); }
    std::int64_t integer() const { return std::get<std::int64_t>(m_value); }
    float single() const { return std::get<float>(m_value); }
    double real() const { return std::get<double>(m_value); }
    const Decimal& decimal() const { return std::get<Decimal>(m_value); }
    const DateTime& dateTime() const { return std::get<DateTime>(m_value); }
    const std::string& text() const { return std::get<std::string>(m_value); }
    const Bytes& bytes() const { return std::get<Bytes>(m_value); }
    const StringList& list() const { return std::get<StringList>(m_value); }
    const DictionaryPtr& dictionary() const { return std::get<DictionaryPtr>(m_value); }

    // In-place setters for the record path: they keep the buffer of a text or bytes value already held.
    std::string& assignText();
    Bytes& assignBytes();
    void setNull() { m_value = NullTag{}; }

    bool operator==(const Variant& other) const;

private:
    std::variant<std::monostate, NullTag, bool, std::int64_t, float, double, Decimal, DateTime, std::string, Bytes,
                 StringList, DictionaryPtr>
        m_value;
};

} // namespace tabulon

#include "Variant.h"

#include "Dictionary.h"

namespace tabulon {

bool Variant::isNumber() const {
    switch (type()) {
    case Type::Integer:
    case Type::Single:
    case Type::Double:
    case Type::Decimal:
        return true;
    default:
        return false;
    }
}

std::string& Variant::assignText() {
    if (!isText())
        m_value = std::string();
    auto& text = std::get<std::string>(m_value);
    text.clear();
    return text;
}

Bytes& Variant::assignBytes() {
    if (type() != Type::Bytes)
        m_value = Bytes();
    auto& bytes = std::get<Bytes>(m_value);
    bytes.clear();
    return bytes;
}

bool Variant::operator==(const Variant& other) const {
    if (isDictionary() && other.isDictionary()) {
        const auto& a = dictionary();
        const auto& b = other.dictionary();
        if (!a || !b)
            return a == b;
        return *a == *b;
    }
    if (type() == Type::Empty || type() == Type::Null)
        return type() == other.type();
    return m_value == other.m_value;
}

} // namespace tabulon

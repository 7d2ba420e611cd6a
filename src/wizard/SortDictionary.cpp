#include "wizard/SortDictionary.h"

#include "lib/Convert.h"
#include "lib/Error.h"

#include <algorithm>
#include <vector>

namespace tabulon {

namespace {
struct SortPair {
    Variant value;
    std::string key;
};

Variant followSelector(const Variant& value, const std::string& selector) {
    Variant current = value;
    std::size_t start = 0;
    while (start <= selector.size()) {
        const std::size_t dot = std::min(selector.find('.', start), selector.size());
        const std::string name = selector.substr(start, dot - start);
        current = current.isDictionary() ? current.dictionary()->get(name) : Variant();
        start = dot + 1;
    }
    return current;
}

Variant sortValue(const Dictionary::Entry& entry, const std::optional<std::string>& selector) {
    if (!selector)
        return Variant(entry.first);
    if (selector->empty())
        return entry.second;
    return followSelector(entry.second, *selector);
}

bool lessThan(const Variant& left, const Variant& right, bool ignoreCase) {
    if (left.isNumber() && right.isNumber())
        return val(toText(left)) < val(toText(right));
    if (ignoreCase)
        return toUpperAscii(toText(left)) < toUpperAscii(toText(right));
    return toText(left) < toText(right);
}

const char* typeName(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Empty:
        return "Empty";
    case Variant::Type::Null:
        return "Null";
    case Variant::Type::Text:
        return "String";
    case Variant::Type::List:
        return "String()";
    case Variant::Type::Bytes:
        return "Byte()";
    case Variant::Type::Boolean:
        return "Boolean";
    case Variant::Type::DateTime:
        return "Date";
    default:
        return "Number";
    }
}
} // namespace

void SortDictionary(Dictionary& dictionary, const std::optional<std::string>& selector, bool ignoreCase) {
    if (dictionary.empty())
        return;
    std::vector<SortPair> pairs;
    pairs.reserve(dictionary.count());
    for (const auto& entry : dictionary.entries())
        pairs.push_back({sortValue(entry, selector), entry.first});
    std::sort(pairs.begin(), pairs.end(),
              [ignoreCase](const SortPair& a, const SortPair& b) { return lessThan(a.value, b.value, ignoreCase); });
    for (const SortPair& pair : pairs) {
        Variant value = dictionary.get(pair.key);
        dictionary.remove(pair.key);
        dictionary.set(pair.key, std::move(value));
    }
}

void SortDictionary(const Variant& dictionary, const std::optional<std::string>& selector, bool ignoreCase) {
    if (!dictionary.isDictionary() || !dictionary.dictionary())
        throw Error(errc::General, "Verdix.modWizard.SortDictionary",
                    std::string("Unable to sort dictionary of type ") + typeName(dictionary));
    SortDictionary(*dictionary.dictionary(), selector, ignoreCase);
}

} // namespace tabulon

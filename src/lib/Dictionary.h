#pragma once

#include "Variant.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tabulon {

// The ordered string-keyed map behind every keyed collection of the system (settings, sections,
// command-line options, table selections, column information).
// Entries keep the order in which their keys were first added; writing a present key keeps its
// place; a removed key added again goes to the end. Keys compare exactly (letter case counts).
class Dictionary {
public:
    using Entry = std::pair<std::string, Variant>;

    static DictionaryPtr create() { return std::make_shared<Dictionary>(); }

    // The stored value, or the empty value (which reads as "", 0 and false) for an absent key.
    const Variant& get(const std::string& key) const;
    // Adds the key at the end when absent, else replaces the value in place.
    void set(const std::string& key, Variant value);
    bool contains(const std::string& key) const { return m_index.count(key) != 0; }
    // Removes the entry; an absent key is ignored.
    void remove(const std::string& key);
    void clear();

    std::size_t count() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    std::vector<std::string> keys() const;
    std::vector<Variant> items() const;
    const std::vector<Entry>& entries() const { return m_entries; }

    // The section dictionary stored under `key`, or null when the value there is no dictionary.
    DictionaryPtr dictionaryAt(const std::string& key) const;

    bool operator==(const Dictionary& other) const { return m_entries == other.m_entries; }

private:
    std::vector<Entry> m_entries;
    std::unordered_map<std::string, std::size_t> m_index;
};

} // namespace tabulon

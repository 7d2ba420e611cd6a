#include "Dictionary.h"

namespace tabulon {

namespace {
const Variant kEmpty;
}

const Variant& Dictionary::get(const std::string& key) const {
    auto it = m_index.find(key);
    return it == m_index.end() ? kEmpty : m_entries[it->second].second;
}

void Dictionary::set(const std::string& key, Variant value) {
    auto it = m_index.find(key);
    if (it != m_index.end()) {
        m_entries[it->second].second = std::move(value);
        return;
    }
    m_index.emplace(key, m_entries.size());
    m_entries.emplace_back(key, std::move(value));
}

void Dictionary::remove(const std::string& key) {
    auto it = m_index.find(key);
    if (it == m_index.end())
        return;
    const std::size_t position = it->second;
    m_index.erase(it);
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& [name, index] : m_index)
        if (index > position)
            --index;
}

void Dictionary::clear() {
    m_entries.clear();
    m_index.clear();
}

std::vector<std::string> Dictionary::keys() const {
    std::vector<std::string> out;
    out.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        out.push_back(entry.first);
    return out;
}

std::vector<Variant> Dictionary::items() const {
    std::vector<Variant> out;
    out.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        out.push_back(entry.second);
    return out;
}

DictionaryPtr Dictionary::dictionaryAt(const std::string& key) const {
    const Variant& value = get(key);
    return value.isDictionary() ? value.dictionary() : nullptr;
}

} // namespace tabulon

#include "ObjectsReport.h"

namespace tabulon {

namespace {

const char* const kCrLf = "\r\n";

std::string quantity(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "- 2 relationships, 1 check constraint, 3 descriptions", naming only what there is; "" for nothing.
std::string createdLine(const std::array<int, 3>& created) {
    static const std::array<std::array<const char*, 2>, 3> kNames = {{{"relationship", "relationships"},
                                                                      {"check constraint", "check constraints"},
                                                                      {"description", "descriptions"}}};
    std::string text;
    for (std::size_t kind = 0; kind < created.size(); ++kind)
        if (created[kind] > 0)
            text += (text.empty() ? "- " : ", ") + quantity(created[kind], kNames[kind][0], kNames[kind][1]);
    return text;
}

} // namespace

ObjectsReport::Entry& ObjectsReport::entry(const std::string& sourceTable) {
    const auto [at, added] = m_entries.try_emplace(sourceTable);
    if (added)
        m_order.push_back(sourceTable);
    return at->second;
}

void ObjectsReport::table(const std::string& sourceTable) {
    entry(sourceTable);
}

void ObjectsReport::counted(const std::string& sourceTable, Kind kind) {
    ++entry(sourceTable).created[kind];
}

void ObjectsReport::line(const std::string& sourceTable, const std::string& text) {
    entry(sourceTable).lines.push_back(text);
}

void ObjectsReport::countChecked(bool agreed) {
    ++m_countsChecked;
    m_countsAgreed += agreed ? 1 : 0;
}

void ObjectsReport::append(std::string& report, bool direct) const {
    std::string section;
    if (m_countsChecked > 0)
        section += direct
                       ? "Record counts checked on the server: " + quantity(m_countsChecked, "table", "tables") + ", " +
                             std::to_string(m_countsAgreed) + " hold the records sent" + kCrLf
                       : "Record counts checked by the script: " + quantity(m_countsChecked, "table", "tables") + kCrLf;
    for (const std::string& note : m_notes)
        section += note + kCrLf;
    for (const std::string& table : m_order) {
        const Entry& entry = m_entries.at(table);
        const std::string created = createdLine(entry.created);
        if (created.empty() && entry.lines.empty())
            continue;
        section += "Table: " + table + kCrLf;
        if (!created.empty())
            section += created + kCrLf;
        for (const std::string& line : entry.lines)
            section += line + kCrLf;
    }
    if (section.empty())
        return;
    report += std::string(kCrLf) + "CONSTRAINTS, DESCRIPTIONS AND COUNTS" + kCrLf + "------------" + kCrLf + section;
}

} // namespace tabulon

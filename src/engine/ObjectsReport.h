#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

namespace tabulon {

// The report section of what a run adds to its tables besides the rows: per table, what was created
// ("- 2 relationships, 1 check constraint") and every line about what was left out or failed, then how
// many tables had their records counted.
class ObjectsReport {
public:
    enum Kind { Relationship, Check, Description };

    // Tables appear in the order they are first named; naming them here first fixes the run's order.
    void table(const std::string& sourceTable);
    void counted(const std::string& sourceTable, Kind kind);
    void line(const std::string& sourceTable, const std::string& text);
    void countChecked(bool agreed);
    // A line about the whole run, before the tables.
    void note(const std::string& text) { m_notes.push_back(text); }

    // Appends the section (CR LF lines) to the report; nothing when there is nothing to say.
    void append(std::string& report, bool direct) const;

private:
    struct Entry {
        std::array<int, 3> created{};
        std::vector<std::string> lines;
    };
    Entry& entry(const std::string& sourceTable);

    std::vector<std::string> m_notes;
    std::vector<std::string> m_order;
    std::map<std::string, Entry> m_entries;
    int m_countsChecked = 0;
    int m_countsAgreed = 0;
};

} // namespace tabulon

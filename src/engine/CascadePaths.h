#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tabulon {

// The tables one kind of change (a delete, or an update of a key) cascades through: an edge from the
// referenced table to the referencing one per foreign key with that cascade. SQL Server refuses a key
// whose cascade would reach a table by a second path or run in a cycle ("may cause cycles or multiple
// cascade paths"), so the graph must stay one where every table reaches any other by at most one path.
class CascadePaths {
public:
    enum class Conflict { None, Cycle, SecondPath };

    struct Result {
        Conflict conflict = Conflict::None;
        std::string from; // the table whose change would reach `to` twice, or from which the cycle starts
        std::string to;
    };

    // Adds the edge when it keeps the rule; otherwise leaves the graph as it was and says why.
    Result add(const std::string& referenced, const std::string& referencing);

private:
    std::set<std::string> reachable(const std::string& from, bool forward) const;

    std::map<std::string, std::vector<std::string>> m_children;
    std::map<std::string, std::vector<std::string>> m_parents;
};

} // namespace tabulon

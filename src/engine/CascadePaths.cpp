#include "CascadePaths.h"

namespace tabulon {

// The tables reachable from `from` (itself included), along the edges or against them.
std::set<std::string> CascadePaths::reachable(const std::string& from, bool forward) const {
    const auto& edges = forward ? m_children : m_parents;
    std::set<std::string> seen{from};
    std::vector<std::string> pending{from};
    while (!pending.empty()) {
        const std::string table = pending.back();
        pending.pop_back();
        const auto next = edges.find(table);
        if (next == edges.end())
            continue;
        for (const std::string& other : next->second)
            if (seen.insert(other).second)
                pending.push_back(other);
    }
    return seen;
}

// The new edge adds a path from every table that reaches `referenced` to every table `referencing`
// reaches; one of those pairs already joined by a path, or the same table at both ends, breaks the rule.
CascadePaths::Result CascadePaths::add(const std::string& referenced, const std::string& referencing) {
    const std::set<std::string> downstream = reachable(referencing, true);
    if (downstream.count(referenced))
        return {Conflict::Cycle, referenced, referenced};
    for (const std::string& upstream : reachable(referenced, false)) {
        const std::set<std::string> alreadyReached = reachable(upstream, true);
        for (const std::string& table : downstream)
            if (alreadyReached.count(table))
                return {Conflict::SecondPath, upstream, table};
    }
    m_children[referenced].push_back(referencing);
    m_parents[referencing].push_back(referenced);
    return {};
}

} // namespace tabulon

#pragma once

#include <set>
#include <string>
#include <vector>

namespace tabulon {

// Names for the constraints a run adds. SQL Server keeps constraint and table names in one name space
// per schema, compares them without regard to letter case (the usual collation), and allows at most
// 128 characters (UTF-16 units); a name taken twice fails the statement that creates it.
class ConstraintNames {
public:
    // `tables` are the destination names of the moved tables, which no constraint may take.
    explicit ConstraintNames(const std::vector<std::string>& tables);

    // `wanted`, cut to 128 characters, or with "_2", "_3" … at its end when that is taken.
    std::string claim(const std::string& wanted);

private:
    bool taken(const std::string& name) const;

    std::set<std::string> m_taken; // lower-cased
};

} // namespace tabulon

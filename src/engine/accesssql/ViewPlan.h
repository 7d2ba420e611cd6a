#pragma once

#include "TsqlWriter.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tabulon::accesssql {

struct ColumnInfo {
    std::string name;
    ValueType type = ValueType::Unknown;
};

// A saved query as the schema document holds it.
struct QuerySource {
    std::string name;
    std::string kind; // "select", "union", "crosstab", "append", ...
    std::string sql;  // the Access SQL text
    bool hidden = false;
    std::string problem{}; // why the text could not be read from the file; then there is no text
};

// The tables the run converts, with their columns, under their Access names.
class TableCatalog {
public:
    void addTable(const std::string& name, std::vector<ColumnInfo> columns);
    // The columns of the table, or null when no such table is converted (names compared without case).
    const std::vector<ColumnInfo>* columns(const std::string& table) const;
    // Marks a field of the table that the run leaves behind: a query naming it cannot become a view.
    void addFieldLeftBehind(const std::string& table, const std::string& field);
    bool isFieldLeftBehind(const std::string& table, const std::string& field) const;

private:
    std::map<std::string, std::pair<std::string, std::vector<ColumnInfo>>> m_tables; // by lower-case name
    std::set<std::pair<std::string, std::string>> m_leftBehind;                      // lower-case table, field
};

struct ViewOptions {
    std::string tablePrefix; // put before every converted table's name
};

// What becomes of one saved query.
struct ViewPlan {
    std::string name;
    std::string kind;                   // the query's kind
    std::string objectType;             // "VIEW" or "FUNCTION"; empty when the query is left out
    std::string createSql;              // CREATE VIEW / CREATE FUNCTION, the first statement of its batch
    std::string dropSql;                // IF OBJECT_ID(...) IS NOT NULL DROP ...
    std::vector<std::string> dependsOn; // the saved queries it reads
    std::vector<std::string> notes;     // what changed on the way (an ORDER BY dropped, a parameter typed)
    std::string reason;                 // why it is left out; empty when it is created
    bool created() const { return reason.empty(); }
};

// Translates the SELECT, union and crosstab queries into views, or into inline table-valued
// functions when they take parameters, and says why every other query is left out. The result
// holds the created ones first, in an order where each follows the queries it reads, then the
// others in their given order.
std::vector<ViewPlan> planViews(const std::vector<QuerySource>& queries, const TableCatalog& tables,
                                const ViewOptions& options);

} // namespace tabulon::accesssql

#pragma once

#include "Expression.h"

#include <memory>
#include <string>
#include <vector>

namespace tabulon::accesssql {

struct SelectQuery;
using QueryPtr = std::shared_ptr<const SelectQuery>;

struct TableRef;
using TableRefPtr = std::shared_ptr<const TableRef>;

// One input of FROM: a table or query by name, a subquery, or a join of two inputs.
struct TableRef {
    enum class Kind { Named, Subquery, Join };
    Kind kind = Kind::Named;
    std::string name{};     // Named: the table or query
    std::string alias{};    // Named, Subquery: the alias, empty when there is none
    QueryPtr query{};       // Subquery
    std::string joinType{}; // Join: "INNER", "LEFT" or "RIGHT"
    TableRefPtr left{}, right{};
    ExprPtr on{};
};

struct SelectItem {
    ExprPtr expr;      // a Star node for "*" and "t.*"
    std::string alias; // empty when there is none
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct ParameterDeclaration {
    std::string name;
    std::string type; // as written: "DateTime", "Text (255)" reads "Text(255)"
};

// One SELECT, with the SELECTs joined to it by UNION in `unions` and, for a crosstab, its TRANSFORM
// and PIVOT parts.
struct SelectQuery {
    std::vector<ParameterDeclaration> parameters{};
    bool distinct = false;
    bool distinctRow = false;
    std::string top{}; // TOP n, empty when there is none
    bool topPercent = false;
    std::vector<SelectItem> columns{};
    std::string into{};
    std::vector<TableRefPtr> from{};
    ExprPtr where{};
    std::vector<ExprPtr> groupBy{};
    ExprPtr having{};
    std::vector<OrderItem> orderBy{}; // of the whole statement, unions included

    struct UnionPart {
        bool all = false;
        QueryPtr query;
    };
    std::vector<UnionPart> unions{};

    bool crosstab = false;
    SelectItem transform{};
    ExprPtr pivot{};
    std::vector<ExprPtr> pivotValues{}; // the In-list; empty when the columns come from the data
};

// Parses a SELECT, union or crosstab statement of Access SQL (PARAMETERS, TRANSFORM, DISTINCT,
// DISTINCTROW, TOP n [PERCENT], Access's nested joins, [SELECT ...]. AS t, UNION [ALL], PIVOT ... In).
// Raises 3075 naming the text when it is none.
QueryPtr parseSelectStatement(std::string_view text);

} // namespace tabulon::accesssql

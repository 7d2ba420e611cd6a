#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tabulon::accesssql {

struct SelectQuery;
struct Expr;
using ExprPtr = std::shared_ptr<const Expr>;

enum class ExprKind {
    Null,
    Boolean,  // value "1" or "0" (True/Yes/On, False/No/Off)
    Number,   // value: the digits as written
    String,   // value: the text
    Date,     // value: the text between the "#"
    Name,     // parts: a qualified name; bang: the parts were joined by "!" (a form or report reference)
    Star,     // parts: the qualifier of "t.*", empty for "*"
    Unary,    // op: "-", "+" or "Not"; args[0]
    Binary,   // op: "^" "*" "/" "\" "Mod" "+" "-" "&" "=" "<>" "<" ">" "<=" ">=" "And" "Or" "Xor" "Eqv" "Imp"
    Like,     // args[0] Like args[1]; negated: Not Like
    IsNull,   // args[0] Is [Not] Null
    Between,  // args[0] [Not] Between args[1] And args[2]
    InList,   // args[0] [Not] In (args[1..])
    InSelect, // args[0] [Not] In (query)
    Exists,   // [Not] Exists (query)
    Subquery, // (query) as a value
    Call,     // value: the function name as written; args: the arguments
};

// One node of a parsed Access expression. `source` is the text it was parsed from, for reports.
struct Expr {
    ExprKind kind = ExprKind::Null;
    std::string value{};
    std::string op{};
    std::vector<std::string> parts{};
    bool bang = false;
    bool negated = false;
    std::vector<ExprPtr> args{};
    std::shared_ptr<const SelectQuery> query{};
    std::string source{};

    // The last part of a name: the column (or, for a one-part name, the only part).
    const std::string& lastPart() const { return parts.back(); }
};

// True for the nodes that are conditions in SQL Server (comparisons, Like, Is Null, Between, In,
// Exists, And/Or/Not and the other logical operators, IsNull()).
bool isPredicate(const Expr& e);

} // namespace tabulon::accesssql

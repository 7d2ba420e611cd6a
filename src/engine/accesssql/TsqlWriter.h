#pragma once

#include "Expression.h"

#include <string>
#include <string_view>

namespace tabulon::accesssql {

// What the writer knows of a value's type: enough to choose where Access and SQL Server differ.
enum class ValueType { Unknown, Text, Number, Date, Boolean };

// Writes parsed Access expressions as Transact-SQL that SQL Server 2019 accepts, keeping Access's
// results where the two differ (NULL in "&", "/" on integers, banker's rounding, trailing blanks in
// Len, Like's wildcards). A construct with no SQL Server counterpart raises 1010 naming the
// construct's text and the reason; nothing is guessed.
class TsqlWriter {
public:
    virtual ~TsqlWriter() = default;

    // The expression as a value (a SELECT column, a function argument).
    std::string value(const Expr& e);
    // The expression as a search condition (WHERE, ON, HAVING, WHEN).
    std::string condition(const Expr& e);
    void writeValue(std::string& out, const Expr& e);
    void writeCondition(std::string& out, const Expr& e);

    ValueType typeOf(const Expr& e);

    // Raises 1010: "<construct text>: <why>".
    [[noreturn]] static void untranslatable(const Expr& e, std::string_view why);

protected:
    // A column or parameter reference. The default brackets each part; a form or report reference
    // ("Forms!f!c") is untranslatable.
    virtual void writeName(std::string& out, const Expr& name);
    // A subquery in an expression; the default has none.
    virtual void writeSubquery(std::string& out, const SelectQuery& query, const Expr& at);
    virtual ValueType nameType(const Expr& name);

private:
    // Writes `e`, in parentheses unless its T-SQL binds at least as tightly as `minimum` (1 to 5).
    void writeOperand(std::string& out, const Expr& e, int minimum = 2);
    void writeConditionOperand(std::string& out, const Expr& e);
    void writeBinary(std::string& out, const Expr& e);
    void writeConcat(std::string& out, const Expr& e);
    void writeLogical(std::string& out, const Expr& e);
    void writeLike(std::string& out, const Expr& e);
    void writeLikePattern(std::string& out, const Expr& pattern);
    void writeInteger(std::string& out, const Expr& e);
    void writePredicate(std::string& out, const Expr& e);
};

// Access's Round: to `digits` places, halves to the even neighbour (Round(2.5) is 2, SQL Server's
// ROUND gives 3). `x` is T-SQL text; it is repeated, so pass a name or a short expression.
std::string bankersRound(const std::string& x, const std::string& digits);

// Appends the call as T-SQL; raises 1010 for functions with no counterpart. Defined beside the
// function table.
void writeFunction(TsqlWriter& writer, std::string& out, const Expr& call);
ValueType functionType(TsqlWriter& writer, const Expr& call);

} // namespace tabulon::accesssql

#pragma once

#include "Expression.h"
#include "Lexer.h"

#include <functional>
#include <string_view>

namespace tabulon::accesssql {

// Parses a SELECT statement from the stream (after "(" has been read, before the ")"); set by the
// statement parser so that expressions may hold subqueries.
using SubqueryParser = std::function<std::shared_ptr<const SelectQuery>(TokenStream&)>;

// Parses Access expressions with Access's operator precedence, from highest to lowest: ^, unary -,
// * /, \, Mod, + -, &, comparisons (= <> < > <= >= Like Is Between In), Not, And, Or, Xor, Eqv, Imp.
class ExpressionParser {
public:
    explicit ExpressionParser(TokenStream& tokens, SubqueryParser subqueries = {});

    // Parses one expression and leaves the stream at the first token after it.
    ExprPtr parse();
    // Parses a field's validation rule, where a comparison may omit its left operand
    // (">=0 And <100", "Is Null Or Like ""*@*""", "In (""A"",""B"")"): `field` takes its place.
    ExprPtr parseWithImpliedOperand(std::string_view field);

private:
    ExprPtr parseImp();
    ExprPtr parseBinaryLevel(int level);
    ExprPtr parseNot();
    ExprPtr parseComparison();
    ExprPtr parseComparisonTail(ExprPtr left, std::size_t begin);
    ExprPtr parseArithmetic(int level);
    ExprPtr parseUnary();
    ExprPtr parsePower();
    ExprPtr parsePrimary();
    ExprPtr parseParenthesised(std::size_t begin);
    ExprPtr parseWord(std::size_t begin);
    ExprPtr parseName(std::size_t begin);
    ExprPtr parseCall(std::string name, std::size_t begin);
    std::shared_ptr<const SelectQuery> parseSubquery();
    bool startsComparison() const;
    ExprPtr impliedOperand() const;
    ExprPtr finish(Expr e, std::size_t begin) const;

    TokenStream& m_tokens;
    SubqueryParser m_subqueries;
    std::string m_impliedField;
    bool m_implied = false;
};

// Parses a whole text as one expression; raises 3075 when text is left over.
ExprPtr parseExpression(std::string_view text, SubqueryParser subqueries = {});
// Parses a whole validation rule of the field `field` (see parseWithImpliedOperand).
ExprPtr parseValidationRule(std::string_view rule, std::string_view field);

} // namespace tabulon::accesssql

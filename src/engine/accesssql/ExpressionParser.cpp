#include "ExpressionParser.h"

#include <array>

namespace tabulon::accesssql {

namespace {

// The logical operators from the loosest up; Not binds tighter than And and sits in parseNot.
constexpr std::array<std::string_view, 5> kLogical = {"Imp", "Eqv", "Xor", "Or", "And"};

const char* const kComparisons[] = {"=", "<>", "<=", ">=", "<", ">"};

// Words that end an operand: a bare word among them is never read as a column name. The clause
// words Left and Right are also functions, so they are reserved only where no "(" follows.
const char* const kOperatorWords[] = {"And", "Or", "Xor", "Eqv", "Imp", "Not", "Mod", "Like", "Is", "In", "Between"};
const char* const kClauseWords[] = {"Select", "From",  "Where", "Group", "Order", "Having", "As",   "Union",
                                    "Pivot",  "Inner", "Left",  "Right", "Join",  "Outer",  "Into", "Transform"};

bool isOneOfWords(const Token& t, const auto& words) {
    for (const char* word : words)
        if (t.isWord(word))
            return true;
    return false;
}

} // namespace

bool isPredicate(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Like:
    case ExprKind::IsNull:
    case ExprKind::Between:
    case ExprKind::InList:
    case ExprKind::InSelect:
    case ExprKind::Exists:
        return true;
    case ExprKind::Unary:
        return e.op == "Not";
    case ExprKind::Binary:
        for (const char* op : kComparisons)
            if (e.op == op)
                return true;
        for (auto op : kLogical)
            if (e.op == op)
                return true;
        return false;
    case ExprKind::Call:
        return Token{TokenKind::Word, e.value}.isWord("IsNull");
    default:
        return false;
    }
}

ExpressionParser::ExpressionParser(TokenStream& tokens, SubqueryParser subqueries)
    : m_tokens(tokens), m_subqueries(std::move(subqueries)) {}

ExprPtr ExpressionParser::parse() {
    return parseImp();
}

ExprPtr ExpressionParser::parseWithImpliedOperand(std::string_view field) {
    m_impliedField = std::string(field);
    m_implied = true;
    ExprPtr result = parseImp();
    m_implied = false;
    return result;
}

ExprPtr ExpressionParser::finish(Expr e, std::size_t begin) const {
    e.source = m_tokens.sourceFrom(begin);
    return std::make_shared<Expr>(std::move(e));
}

ExprPtr ExpressionParser::parseImp() {
    return parseBinaryLevel(0);
}

ExprPtr ExpressionParser::parseBinaryLevel(int level) {
    if (level == static_cast<int>(kLogical.size()))
        return parseNot();
    const std::size_t begin = m_tokens.peek().begin;
    ExprPtr left = parseBinaryLevel(level + 1);
    while (m_tokens.acceptWord(kLogical[level])) {
        ExprPtr right = parseBinaryLevel(level + 1);
        Expr e{.kind = ExprKind::Binary, .op = std::string(kLogical[level]), .args = {left, right}};
        left = finish(std::move(e), begin);
    }
    return left;
}

ExprPtr ExpressionParser::parseNot() {
    const TokenStream::Nesting nesting(m_tokens);
    const std::size_t begin = m_tokens.peek().begin;
    // In a validation rule "Not Like ...", "Not In (...)" and "Not Between ..." apply to the field.
    const bool impliedNegation =
        m_implied && m_tokens.peek().isWord("Not") &&
        (m_tokens.peek(1).isWord("Like") || m_tokens.peek(1).isWord("In") || m_tokens.peek(1).isWord("Between"));
    if (!impliedNegation && m_tokens.acceptWord("Not")) {
        ExprPtr operand = parseNot();
        return finish(Expr{.kind = ExprKind::Unary, .op = "Not", .args = {operand}}, begin);
    }
    return parseComparison();
}

bool ExpressionParser::startsComparison() const {
    const Token& t = m_tokens.peek();
    for (const char* op : kComparisons)
        if (t.isSymbol(op))
            return true;
    return t.isWord("Like") || t.isWord("Is") || t.isWord("Between") || t.isWord("In") ||
           (t.isWord("Not") &&
            (m_tokens.peek(1).isWord("Like") || m_tokens.peek(1).isWord("In") || m_tokens.peek(1).isWord("Between")));
}

ExprPtr ExpressionParser::impliedOperand() const {
    Expr e{.kind = ExprKind::Name, .parts = {m_impliedField}};
    e.source = "[" + m_impliedField + "]";
    return std::make_shared<Expr>(std::move(e));
}

ExprPtr ExpressionParser::parseComparison() {
    const std::size_t begin = m_tokens.peek().begin;
    ExprPtr left = (m_implied && startsComparison()) ? impliedOperand() : parseArithmetic(0);
    while (startsComparison())
        left = parseComparisonTail(left, begin);
    return left;
}

ExprPtr ExpressionParser::parseComparisonTail(ExprPtr left, std::size_t begin) {
    for (const char* op : kComparisons)
        if (m_tokens.acceptSymbol(op))
            return finish(Expr{.kind = ExprKind::Binary, .op = op, .args = {left, parseArithmetic(0)}}, begin);
    if (m_tokens.acceptWord("Is")) {
        const bool negated = m_tokens.acceptWord("Not");
        m_tokens.expectWord("Null");
        return finish(Expr{.kind = ExprKind::IsNull, .negated = negated, .args = {left}}, begin);
    }
    const bool negated = m_tokens.acceptWord("Not");
    if (m_tokens.acceptWord("Like"))
        return finish(Expr{.kind = ExprKind::Like, .negated = negated, .args = {left, parseArithmetic(0)}}, begin);
    if (m_tokens.acceptWord("Between")) {
        ExprPtr low = parseArithmetic(0);
        m_tokens.expectWord("And");
        ExprPtr high = parseArithmetic(0);
        return finish(Expr{.kind = ExprKind::Between, .negated = negated, .args = {left, low, high}}, begin);
    }
    m_tokens.expectWord("In");
    m_tokens.expectSymbol("(");
    if (m_tokens.peek().isWord("Select")) {
        auto query = parseSubquery();
        m_tokens.expectSymbol(")");
        return finish(Expr{.kind = ExprKind::InSelect, .negated = negated, .args = {left}, .query = query}, begin);
    }
    std::vector<ExprPtr> args{left};
    do {
        args.push_back(parseImp());
    } while (m_tokens.acceptSymbol(","));
    m_tokens.expectSymbol(")");
    return finish(Expr{.kind = ExprKind::InList, .negated = negated, .args = std::move(args)}, begin);
}

// Levels from the loosest: & (0), + - (1), Mod (2), \ (3), * / (4).
ExprPtr ExpressionParser::parseArithmetic(int level) {
    if (level == 5)
        return parseUnary();
    const std::size_t begin = m_tokens.peek().begin;
    ExprPtr left = parseArithmetic(level + 1);
    while (true) {
        const Token& t = m_tokens.peek();
        std::string op;
        if (level == 0 && t.isSymbol("&"))
            op = "&";
        else if (level == 1 && (t.isSymbol("+") || t.isSymbol("-")))
            op = t.text;
        else if (level == 2 && t.isWord("Mod"))
            op = "Mod";
        else if (level == 3 && t.isSymbol("\\"))
            op = "\\";
        else if (level == 4 && (t.isSymbol("*") || t.isSymbol("/")))
            op = t.text;
        else
            return left;
        m_tokens.next();
        ExprPtr right = parseArithmetic(level + 1);
        left = finish(Expr{.kind = ExprKind::Binary, .op = op, .args = {left, right}}, begin);
    }
}

ExprPtr ExpressionParser::parseUnary() {
    const TokenStream::Nesting nesting(m_tokens);
    const std::size_t begin = m_tokens.peek().begin;
    if (m_tokens.peek().isSymbol("-") || m_tokens.peek().isSymbol("+")) {
        std::string op = m_tokens.next().text;
        ExprPtr operand = parseUnary();
        return finish(Expr{.kind = ExprKind::Unary, .op = op, .args = {operand}}, begin);
    }
    return parsePower();
}

// "^" binds tighter than unary minus (-2^2 is -4) but its right operand may carry a sign (2^-1).
ExprPtr ExpressionParser::parsePower() {
    const std::size_t begin = m_tokens.peek().begin;
    ExprPtr left = parsePrimary();
    while (m_tokens.acceptSymbol("^")) {
        const std::size_t rightBegin = m_tokens.peek().begin;
        ExprPtr right;
        if (m_tokens.peek().isSymbol("-") || m_tokens.peek().isSymbol("+")) {
            std::string op = m_tokens.next().text;
            right = finish(Expr{.kind = ExprKind::Unary, .op = op, .args = {parsePrimary()}}, rightBegin);
        } else {
            right = parsePrimary();
        }
        left = finish(Expr{.kind = ExprKind::Binary, .op = "^", .args = {left, right}}, begin);
    }
    return left;
}

ExprPtr ExpressionParser::parsePrimary() {
    const Token& t = m_tokens.peek();
    const std::size_t begin = t.begin;
    switch (t.kind) {
    case TokenKind::Number:
        return finish(Expr{.kind = ExprKind::Number, .value = m_tokens.next().text}, begin);
    case TokenKind::String:
        return finish(Expr{.kind = ExprKind::String, .value = m_tokens.next().text}, begin);
    case TokenKind::Date:
        return finish(Expr{.kind = ExprKind::Date, .value = m_tokens.next().text}, begin);
    case TokenKind::Bracketed:
        return parseName(begin);
    case TokenKind::Word:
        return parseWord(begin);
    case TokenKind::Symbol:
        if (m_tokens.acceptSymbol("("))
            return parseParenthesised(begin);
        if (m_tokens.acceptSymbol("*"))
            return finish(Expr{.kind = ExprKind::Star}, begin);
        break;
    case TokenKind::End:
        break;
    }
    m_tokens.fail("expected an operand");
}

ExprPtr ExpressionParser::parseParenthesised(std::size_t begin) {
    const TokenStream::Nesting nesting(m_tokens);
    if (m_tokens.peek().isWord("Select")) {
        auto query = parseSubquery();
        m_tokens.expectSymbol(")");
        return finish(Expr{.kind = ExprKind::Subquery, .query = query}, begin);
    }
    ExprPtr inner = parseImp();
    m_tokens.expectSymbol(")");
    return inner;
}

ExprPtr ExpressionParser::parseWord(std::size_t begin) {
    const Token& t = m_tokens.peek();
    if (t.isWord("Null")) {
        m_tokens.next();
        return finish(Expr{.kind = ExprKind::Null}, begin);
    }
    for (const char* word : {"True", "Yes", "On", "False", "No", "Off"}) {
        if (t.isWord(word) && !m_tokens.peek(1).isSymbol(".") && !m_tokens.peek(1).isSymbol("!")) {
            const bool truth = t.isWord("True") || t.isWord("Yes") || t.isWord("On");
            m_tokens.next();
            return finish(Expr{.kind = ExprKind::Boolean, .value = truth ? "1" : "0"}, begin);
        }
    }
    if (t.isWord("Exists") && m_tokens.peek(1).isSymbol("(")) {
        m_tokens.next();
        m_tokens.next();
        auto query = parseSubquery();
        m_tokens.expectSymbol(")");
        return finish(Expr{.kind = ExprKind::Exists, .query = query}, begin);
    }
    const bool call = m_tokens.peek(1).isSymbol("(");
    if (isOneOfWords(t, kOperatorWords) || (!call && isOneOfWords(t, kClauseWords)))
        m_tokens.fail("expected an operand");
    if (call) {
        std::string name = m_tokens.next().text;
        m_tokens.next();
        return parseCall(std::move(name), begin);
    }
    return parseName(begin);
}

ExprPtr ExpressionParser::parseName(std::size_t begin) {
    Expr e{.kind = ExprKind::Name};
    while (true) {
        const Token& part = m_tokens.next();
        if (part.kind != TokenKind::Word && part.kind != TokenKind::Bracketed)
            m_tokens.fail("expected a name");
        e.parts.push_back(part.text);
        if (m_tokens.peek().isSymbol("!")) {
            e.bang = true;
        } else if (!m_tokens.peek().isSymbol(".")) {
            break;
        }
        m_tokens.next();
        if (m_tokens.acceptSymbol("*")) {
            e.kind = ExprKind::Star;
            break;
        }
    }
    return finish(std::move(e), begin);
}

ExprPtr ExpressionParser::parseCall(std::string name, std::size_t begin) {
    Expr e{.kind = ExprKind::Call, .value = std::move(name)};
    if (!m_tokens.acceptSymbol(")")) {
        // Count(DISTINCT x) is not Access SQL; "*" stands alone as in Count(*).
        do {
            e.args.push_back(parseImp());
        } while (m_tokens.acceptSymbol(","));
        m_tokens.expectSymbol(")");
    }
    return finish(std::move(e), begin);
}

std::shared_ptr<const SelectQuery> ExpressionParser::parseSubquery() {
    if (!m_subqueries)
        m_tokens.fail("subquery where only an expression is allowed");
    return m_subqueries(m_tokens);
}

ExprPtr parseExpression(std::string_view text, SubqueryParser subqueries) {
    TokenStream tokens(text);
    ExpressionParser parser(tokens, std::move(subqueries));
    ExprPtr result = parser.parse();
    if (!tokens.atEnd())
        tokens.fail("expected the end of the expression");
    return result;
}

ExprPtr parseValidationRule(std::string_view rule, std::string_view field) {
    TokenStream tokens(rule);
    ExpressionParser parser(tokens);
    ExprPtr result = parser.parseWithImpliedOperand(field);
    if (!tokens.atEnd())
        tokens.fail("expected the end of the rule");
    return result;
}

} // namespace tabulon::accesssql

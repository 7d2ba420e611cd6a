#include "ExpressionParser.h"
#include "Statement.h"

namespace tabulon::accesssql {

namespace {

bool isWordOrBracket(const Token& t) {
    return t.kind == TokenKind::Word || t.kind == TokenKind::Bracketed;
}

// Words that may not be taken for an alias written without AS.
bool isClauseWord(const Token& t) {
    for (const char* w : {"Where", "Group", "Having", "Order", "Union", "Inner", "Left", "Right", "Join", "On", "Pivot",
                          "Into", "From", "Select", "With", "Outer", "In"})
        if (t.isWord(w))
            return true;
    return false;
}

class StatementParser {
public:
    explicit StatementParser(TokenStream& tokens) : m_tokens(tokens) {}

    QueryPtr statement() {
        std::vector<ParameterDeclaration> parameters = parameterList();
        SelectItem transform;
        const bool crosstab = m_tokens.acceptWord("Transform");
        if (crosstab)
            transform = item();
        auto query = selectWithUnions();
        query->parameters = std::move(parameters);
        if (crosstab)
            pivot(*query, std::move(transform));
        if (m_tokens.acceptWord("With")) {
            m_tokens.expectWord("OwnerAccess");
            m_tokens.expectWord("Option");
        }
        m_tokens.acceptSymbol(";");
        if (!m_tokens.atEnd())
            m_tokens.fail("expected the end of the statement");
        return query;
    }

    // A subquery inside an expression: the stream stands after its "(".
    QueryPtr subquery() { return selectWithUnions(); }

private:
    ExprPtr expression() {
        ExpressionParser parser(m_tokens, [this](TokenStream&) { return subquery(); });
        return parser.parse();
    }

    std::string nameToken() {
        const Token& t = m_tokens.peek();
        if (!isWordOrBracket(t))
            m_tokens.fail("expected a name");
        return m_tokens.next().text;
    }

    std::vector<ParameterDeclaration> parameterList() {
        std::vector<ParameterDeclaration> list;
        if (!m_tokens.acceptWord("Parameters"))
            return list;
        do {
            ParameterDeclaration p;
            p.name = nameToken();
            while (m_tokens.acceptSymbol("!")) // a form reference declared as a parameter
                p.name += "!" + nameToken();
            p.type = nameToken();
            if (m_tokens.acceptSymbol("(")) {
                p.type += "(" + m_tokens.next().text + ")";
                m_tokens.expectSymbol(")");
            }
            list.push_back(std::move(p));
        } while (m_tokens.acceptSymbol(","));
        m_tokens.expectSymbol(";");
        return list;
    }

    std::shared_ptr<SelectQuery> selectWithUnions() {
        const TokenStream::Nesting nesting(m_tokens);
        auto first = core();
        while (m_tokens.acceptWord("Union")) {
            const bool all = m_tokens.acceptWord("All");
            first->unions.push_back({all, core()});
        }
        if (m_tokens.acceptWord("Order")) {
            m_tokens.expectWord("By");
            do {
                OrderItem o{expression()};
                if (m_tokens.acceptWord("Desc"))
                    o.descending = true;
                else
                    m_tokens.acceptWord("Asc");
                first->orderBy.push_back(std::move(o));
            } while (m_tokens.acceptSymbol(","));
        }
        return first;
    }

    std::shared_ptr<SelectQuery> core() {
        if (m_tokens.acceptSymbol("(")) { // a parenthesised half of a union
            auto inner = selectWithUnions();
            m_tokens.expectSymbol(")");
            return inner;
        }
        auto q = std::make_shared<SelectQuery>();
        m_tokens.expectWord("Select");
        if (m_tokens.acceptWord("DistinctRow"))
            q->distinctRow = true;
        else if (m_tokens.acceptWord("Distinct"))
            q->distinct = true;
        else
            m_tokens.acceptWord("All");
        if (m_tokens.acceptWord("Top")) {
            if (m_tokens.peek().kind != TokenKind::Number)
                m_tokens.fail("expected the number of TOP");
            q->top = m_tokens.next().text;
            q->topPercent = m_tokens.acceptWord("Percent");
        }
        do {
            q->columns.push_back(item());
        } while (m_tokens.acceptSymbol(","));
        if (m_tokens.acceptWord("Into"))
            q->into = nameToken();
        if (m_tokens.acceptWord("From")) {
            do {
                q->from.push_back(joined());
            } while (m_tokens.acceptSymbol(","));
        }
        if (m_tokens.acceptWord("Where"))
            q->where = expression();
        if (m_tokens.acceptWord("Group")) {
            m_tokens.expectWord("By");
            do {
                q->groupBy.push_back(expression());
            } while (m_tokens.acceptSymbol(","));
        }
        if (m_tokens.acceptWord("Having"))
            q->having = expression();
        return q;
    }

    SelectItem item() {
        SelectItem it{expression(), {}};
        if (m_tokens.acceptWord("As"))
            it.alias = nameToken();
        return it;
    }

    std::string optionalAlias() {
        if (m_tokens.acceptWord("As"))
            return nameToken();
        if (isWordOrBracket(m_tokens.peek()) && !isClauseWord(m_tokens.peek()))
            return m_tokens.next().text;
        return {};
    }

    TableRefPtr joined() {
        TableRefPtr left = primary();
        while (true) {
            std::string type;
            if (m_tokens.acceptWord("Inner"))
                type = "INNER";
            else if (m_tokens.acceptWord("Left"))
                type = "LEFT";
            else if (m_tokens.acceptWord("Right"))
                type = "RIGHT";
            else
                return left;
            m_tokens.acceptWord("Outer");
            m_tokens.expectWord("Join");
            auto join = std::make_shared<TableRef>();
            join->kind = TableRef::Kind::Join;
            join->joinType = type;
            join->left = left;
            join->right = primary();
            m_tokens.expectWord("On");
            join->on = expression();
            left = join;
        }
    }

    TableRefPtr primary() {
        const TokenStream::Nesting nesting(m_tokens);
        auto ref = std::make_shared<TableRef>();
        const Token& t = m_tokens.peek();
        if (t.kind == TokenKind::Bracketed && Token{TokenKind::Word, t.text.substr(0, 6)}.isWord("Select") &&
            m_tokens.peek(1).isSymbol(".")) {
            // The traditional "[SELECT ...]. AS t": the brackets hold a statement of their own.
            TokenStream inner(m_tokens.next().text);
            m_tokens.next();
            ref->kind = TableRef::Kind::Subquery;
            ref->query = StatementParser(inner).selectWithUnions();
            if (!inner.atEnd())
                inner.fail("expected the end of the subquery");
            ref->alias = optionalAlias();
            return ref;
        }
        if (m_tokens.acceptSymbol("(")) {
            if (m_tokens.peek().isWord("Select")) {
                ref->kind = TableRef::Kind::Subquery;
                ref->query = selectWithUnions();
                m_tokens.expectSymbol(")");
                ref->alias = optionalAlias();
                return ref;
            }
            TableRefPtr inner = joined();
            m_tokens.expectSymbol(")");
            return inner;
        }
        ref->name = nameToken();
        if (m_tokens.peek().isSymbol(".")) // owner.table: keep the table
        {
            m_tokens.next();
            ref->name = nameToken();
        }
        ref->alias = optionalAlias();
        return ref;
    }

    void pivot(SelectQuery& q, SelectItem transform) {
        q.crosstab = true;
        q.transform = std::move(transform);
        m_tokens.expectWord("Pivot");
        ExpressionParser parser(m_tokens, [this](TokenStream&) { return subquery(); });
        ExprPtr p = parser.parse();
        // "PIVOT x In (...)" parses as one In-list predicate: its operand is the pivot.
        if (p->kind == ExprKind::InList && !p->negated) {
            q.pivot = p->args[0];
            q.pivotValues.assign(p->args.begin() + 1, p->args.end());
        } else {
            q.pivot = p;
        }
    }

    TokenStream& m_tokens;
};

} // namespace

QueryPtr parseSelectStatement(std::string_view text) {
    TokenStream tokens(text);
    return StatementParser(tokens).statement();
}

} // namespace tabulon::accesssql

// The statements that create views and inline table-valued functions: what their bodies name and order.
#include "SqlParser.h"

namespace sqlscript {

namespace {

// A parenthesised part of the body: a subquery, a derived table, a group of joins or an expression.
struct Scope {
    bool top = false;    // its query has TOP
    bool window = false; // the parentheses of OVER (...) or WITHIN GROUP (...), where ORDER BY needs no TOP
    bool from = false;   // inside a FROM list, where a comma starts another table
    bool inFrom = false; // opened where a table was due: a derived table or a group of joins
};

bool isWordToken(const Token& token, const char* word) {
    return token.kind == Token::Kind::Word && token.text == word;
}

bool isPunctToken(const Token& token, char c) {
    return token.kind == Token::Kind::Punct && token.text[0] == c;
}

void readReference(Parser& p, const Token& first, View& view) {
    View::Reference reference{first.text, first.text};
    while (p.isPunct('.') && p.peek(1).kind == Token::Kind::Identifier) {
        p.next();
        reference.object = reference.alias = p.next().text;
    }
    if (p.accept("AS"))
        reference.alias = p.identifier();
    else if (p.peek().kind == Token::Kind::Identifier)
        reference.alias = p.next().text;
    view.references.push_back(reference);
}

void readBody(Parser& p, View& view) {
    std::vector<Scope> scopes(1);
    bool expectReference = false;
    Token previous;
    while (!p.atEnd()) {
        const Token token = p.next();
        const bool startsReference = expectReference;
        expectReference = false;
        Scope& scope = scopes.back();
        if (isPunctToken(token, '(')) {
            scopes.push_back({false, isWordToken(previous, "OVER") || isWordToken(previous, "GROUP"), startsReference,
                              startsReference});
            expectReference = startsReference;
        } else if (isPunctToken(token, ')')) {
            const bool derived = scopes.back().inFrom;
            if (scopes.size() > 1)
                scopes.pop_back();
            // A derived table's alias names no table of the script; its columns are its select list's.
            if (derived && (p.isWord("AS") || p.peek().kind == Token::Kind::Identifier))
                readReference(p, Token{Token::Kind::Identifier, "", "", false}, view);
        } else if (token.kind == Token::Kind::Identifier && startsReference) {
            readReference(p, token, view);
        } else if (token.kind == Token::Kind::Identifier && p.isPunct('.') &&
                   p.peek(1).kind == Token::Kind::Identifier) {
            p.next();
            view.columns.push_back({token.text, p.next().text});
        } else if (isWordToken(token, "TOP")) {
            scope.top = true;
        } else if (isWordToken(token, "ORDER") && p.isWord("BY")) {
            view.ordersWithoutTop += !scope.top && !scope.window;
            scope.from = false;
        } else if (isWordToken(token, "FROM") || isWordToken(token, "JOIN")) {
            scope.from = expectReference = true;
        } else if (isPunctToken(token, ',') && scope.from) {
            expectReference = true;
        } else if (token.kind == Token::Kind::Word) {
            for (const char* ends : {"SELECT", "WHERE", "GROUP", "HAVING", "UNION", "ON"})
                scope.from = scope.from && token.text != ends;
        }
        previous = token;
    }
}

} // namespace

void createView(Parser& p, Statement& statement, Script& script, std::size_t position) {
    View view;
    view.function = p.accept("FUNCTION");
    if (!view.function)
        p.expect("VIEW");
    view.name = statement.name = p.identifier();
    view.statement = position;
    if (view.function) {
        p.skipGroup();
        p.expect("RETURNS");
        p.expect("TABLE");
        p.expect("AS");
        p.expect("RETURN");
    } else {
        p.expect("AS");
    }
    readBody(p, view);
    script.views.push_back(std::move(view));
}

} // namespace sqlscript

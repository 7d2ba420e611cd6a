#include "SqlParser.h"

#include <cctype>
#include <stdexcept>
#include <string_view>

namespace sqlscript {

namespace {

bool isWordStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#';
}

bool isWordChar(char c) {
    return isWordStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '$';
}

// Reads a quoted piece ending in `close`, where a doubled `close` stands for one.
std::size_t readQuoted(std::string_view text, std::size_t at, char close, std::string& out) {
    for (++at; at < text.size(); ++at) {
        if (text[at] == close) {
            if (at + 1 < text.size() && text[at + 1] == close) {
                out += close;
                ++at;
                continue;
            }
            return at + 1;
        }
        out += text[at];
    }
    throw std::runtime_error(std::string("unterminated ") + (close == ']' ? "identifier" : "string literal"));
}

std::size_t readNumber(std::string_view text, std::size_t at, Token& token) {
    const std::size_t start = at;
    while (at < text.size() && (std::isdigit(static_cast<unsigned char>(text[at])) || text[at] == '.'))
        ++at;
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
            ++at;
    }
    token.kind = Token::Kind::Number;
    token.text = std::string(text.substr(start, at - start));
    return at;
}

} // namespace

std::vector<Token> tokenize(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++at;
            continue;
        }
        Token token;
        const std::size_t start = at;
        if (c == '[') {
            token.kind = Token::Kind::Identifier;
            at = readQuoted(text, at, ']', token.text);
        } else if (c == '\'' || ((c == 'N' || c == 'n') && at + 1 < text.size() && text[at + 1] == '\'')) {
            token.kind = Token::Kind::String;
            token.unicode = c != '\'';
            at = readQuoted(text, token.unicode ? at + 1 : at, '\'', token.text);
        } else if (c == '0' && at + 1 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
            token.kind = Token::Kind::Binary;
            for (at += 2; at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at])); ++at)
                token.text += text[at];
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && at + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[at + 1])))) {
            at = readNumber(text, at, token);
        } else if (isWordStart(c)) {
            token.kind = Token::Kind::Word;
            while (at < text.size() && isWordChar(text[at]))
                ++at;
            token.text = upper(std::string(text.substr(start, at - start)));
        } else {
            token.kind = Token::Kind::Punct;
            token.text = std::string(1, c);
            ++at;
        }
        token.raw = std::string(text.substr(start, at - start));
        tokens.push_back(std::move(token));
    }
    tokens.push_back(Token{});
    return tokens;
}

static Literal joined(const Literal& left, const Literal& right) {
    using K = Literal::Kind;
    if (left.kind == K::Text && right.kind == K::Text)
        return {K::Text, left.text + right.text, left.unicode || right.unicode};
    if (left.kind == K::Null || right.kind == K::Null)
        return {K::Null, "", false};
    if (left.kind == K::Invalid)
        return left;
    if (right.kind == K::Invalid)
        return right;
    if (left.kind == K::Function || right.kind == K::Function)
        return {K::Function, left.text + " + " + right.text, false};
    return {K::Invalid,
            "'+' between a " + std::string(left.kind == K::Binary ? "binary" : "number") + " and " + "another value"};
}

Literal Parser::expression() {
    Literal value = term();
    while (acceptPunct('+'))
        value = joined(value, term());
    return value;
}

Literal Parser::term() {
    using K = Literal::Kind;
    if (acceptPunct('(')) {
        Literal inner = expression();
        expectPunct(')');
        return inner;
    }
    const bool negative = acceptPunct('-');
    const Token& token = next();
    switch (token.kind) {
    case Token::Kind::Number:
        return {K::Number, (negative ? "-" : "") + token.text};
    case Token::Kind::String:
        return negative ? Literal{K::Invalid, "a minus sign before a string"}
                        : Literal{K::Text, token.text, token.unicode};
    case Token::Kind::Binary:
        return negative ? Literal{K::Invalid, "a minus sign before a binary"} : Literal{K::Binary, token.text};
    case Token::Kind::Word:
        if (token.text == "NULL")
            return {K::Null, ""};
        if (isPunct('('))
            return call(token.text);
        return {K::Function, token.text};
    default:
        fail("expected a value");
    }
}

Literal Parser::call(const std::string& name) {
    using K = Literal::Kind;
    expectPunct('(');
    if (name == "CHAR" && peek().kind == Token::Kind::Number) {
        const long code = std::stol(next().text);
        expectPunct(')');
        return {K::Text, std::string(1, static_cast<char>(code)), false};
    }
    if (name == "CONVERT" || name == "CAST") {
        const ColumnType type = columnType();
        if (name == "CAST")
            fail("CAST is not written by the converter");
        expectPunct(',');
        Literal inner = expression();
        expectPunct(')');
        if (inner.kind == K::Text && (type.name == "NVARCHAR" || type.name == "VARCHAR"))
            return inner;
        return {K::Function, "CONVERT(" + type.text + ", " + inner.text + ")"};
    }
    std::string text = name + "(";
    for (bool first = true; !acceptPunct(')'); first = false) {
        if (!first)
            expectPunct(',');
        text += (first ? "" : ", ") + expression().text;
    }
    return {K::Function, text + ")"};
}

ColumnType Parser::columnType() {
    ColumnType type;
    if (peek().kind != Token::Kind::Word)
        return type;
    type.name = next().text;
    type.text = type.name;
    if (acceptPunct('(')) {
        type.text += "(";
        for (bool first = true; !acceptPunct(')'); first = false) {
            if (!first) {
                expectPunct(',');
                type.text += ",";
            }
            const Token& argument = next();
            if (argument.kind == Token::Kind::Word && argument.text == "MAX")
                type.arguments.push_back(-1);
            else if (argument.kind == Token::Kind::Number)
                type.arguments.push_back(std::stoll(argument.text));
            else
                fail("expected a type argument");
            type.text += argument.raw;
        }
        type.text += ")";
    }
    return type;
}

std::vector<std::string> nameList(Parser& p) {
    std::vector<std::string> names;
    p.expectPunct('(');
    do {
        names.push_back(p.identifier());
        if (!p.accept("ASC"))
            p.accept("DESC");
    } while (p.acceptPunct(','));
    p.expectPunct(')');
    return names;
}

} // namespace sqlscript

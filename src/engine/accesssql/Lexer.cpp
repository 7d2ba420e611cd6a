#include "Lexer.h"

#include "lib/Error.h"

#include <cctype>

namespace tabulon::accesssql {

namespace {

const char* const kSource = "Tabulon.AccessSql.tokenize";

bool isWordByte(unsigned char c) {
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

[[noreturn]] void lexFailure(std::string_view text, std::size_t at, std::string_view what) {
    throw Error(errc::SyntaxError, kSource,
                std::string(what) + " at position " + std::to_string(at + 1) + " in '" + std::string(text) + "'");
}

// Reads a quoted run ending in `close`; with `doubled`, two closers stand for one.
std::size_t readQuoted(std::string_view text, std::size_t i, char close, bool doubled, std::string& out) {
    const std::size_t start = i;
    for (++i; i < text.size(); ++i) {
        if (text[i] != close) {
            out += text[i];
        } else if (doubled && i + 1 < text.size() && text[i + 1] == close) {
            out += close;
            ++i;
        } else {
            return i + 1;
        }
    }
    lexFailure(text, start, std::string("unterminated ") + close);
}

std::size_t readNumber(std::string_view text, std::size_t i) {
    auto digits = [&] {
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
    };
    digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits();
    }
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (text[j] == '+' || text[j] == '-')
            ++j;
        if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            i = j;
            digits();
        }
    }
    return i;
}

std::size_t readSymbol(std::string_view text, std::size_t i) {
    static const std::string_view pairs[] = {"<>", "<=", ">="};
    for (auto pair : pairs)
        if (text.substr(i, 2) == pair)
            return i + 2;
    static const std::string_view singles = "=<>+-*/\\^&(),.!;";
    if (singles.find(text[i]) == std::string_view::npos)
        lexFailure(text, i, std::string("unexpected character '") + text[i] + "'");
    return i + 1;
}

} // namespace

bool Token::isWord(std::string_view keyword) const {
    if (kind != TokenKind::Word || text.size() != keyword.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(keyword[i])))
            return false;
    return true;
}

std::vector<Token> tokenize(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && (std::isspace(static_cast<unsigned char>(text[i])) || text[i] == '\0'))
            ++i;
        Token token;
        token.begin = i;
        if (i == text.size()) {
            token.end = i;
            tokens.push_back(std::move(token));
            return tokens;
        }
        const char c = text[i];
        const bool numberStart =
            std::isdigit(static_cast<unsigned char>(c)) ||
            (c == '.' && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])) &&
             (tokens.empty() || tokens.back().kind == TokenKind::Symbol));
        if (c == '[') {
            token.kind = TokenKind::Bracketed;
            i = readQuoted(text, i, ']', false, token.text);
        } else if (c == '`') {
            token.kind = TokenKind::Bracketed;
            i = readQuoted(text, i, '`', false, token.text);
        } else if (c == '"' || c == '\'') {
            token.kind = TokenKind::String;
            i = readQuoted(text, i, c, true, token.text);
        } else if (c == '#') {
            token.kind = TokenKind::Date;
            i = readQuoted(text, i, '#', false, token.text);
        } else if (numberStart) {
            token.kind = TokenKind::Number;
            i = readNumber(text, i);
            token.text = std::string(text.substr(token.begin, i - token.begin));
        } else if (isWordByte(static_cast<unsigned char>(c))) {
            token.kind = TokenKind::Word;
            while (i < text.size() && isWordByte(static_cast<unsigned char>(text[i])))
                ++i;
            token.text = std::string(text.substr(token.begin, i - token.begin));
        } else {
            token.kind = TokenKind::Symbol;
            i = readSymbol(text, i);
            token.text = std::string(text.substr(token.begin, i - token.begin));
        }
        token.end = i;
        tokens.push_back(std::move(token));
    }
}

TokenStream::TokenStream(std::string_view text, std::vector<Token> tokens)
    : m_text(text), m_tokens(std::move(tokens)) {}

TokenStream::TokenStream(std::string_view text) : TokenStream(text, tokenize(text)) {}

const Token& TokenStream::peek(std::size_t ahead) const {
    const std::size_t at = m_pos + ahead;
    return at < m_tokens.size() ? m_tokens[at] : m_tokens.back();
}

const Token& TokenStream::next() {
    const Token& token = peek();
    if (m_pos + 1 < m_tokens.size())
        ++m_pos;
    return token;
}

bool TokenStream::acceptWord(std::string_view keyword) {
    if (!peek().isWord(keyword))
        return false;
    next();
    return true;
}

bool TokenStream::acceptSymbol(std::string_view symbol) {
    if (!peek().isSymbol(symbol))
        return false;
    next();
    return true;
}

void TokenStream::expectWord(std::string_view keyword) {
    if (!acceptWord(keyword))
        fail("expected " + std::string(keyword));
}

void TokenStream::expectSymbol(std::string_view symbol) {
    if (!acceptSymbol(symbol))
        fail("expected '" + std::string(symbol) + "'");
}

std::string TokenStream::sourceFrom(std::size_t begin) const {
    const std::size_t end = m_pos == 0 ? begin : m_tokens[m_pos - 1].end;
    return end > begin ? m_text.substr(begin, end - begin) : std::string();
}

TokenStream::Nesting::Nesting(TokenStream& tokens) : m_tokens(tokens) {
    if (++m_tokens.m_depth > kMaxDepth) {
        --m_tokens.m_depth;
        m_tokens.fail("nested more than " + std::to_string(kMaxDepth) + " levels deep");
    }
}

void TokenStream::fail(std::string_view what) const {
    const Token& at = peek();
    const std::string found =
        at.kind == TokenKind::End ? "the end" : "'" + m_text.substr(at.begin, at.end - at.begin) + "'";
    throw Error(errc::SyntaxError, "Tabulon.AccessSql.parse",
                std::string(what) + ", found " + found + " at position " + std::to_string(at.begin + 1) + " in '" +
                    m_text + "'");
}

} // namespace tabulon::accesssql

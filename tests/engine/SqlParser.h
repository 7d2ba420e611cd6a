#pragma once

#include "SqlScript.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The tokens of a dump's statement and a reader over them, shared by the statement readers.
namespace sqlscript {

struct Token {
    enum class Kind { Word, Identifier, String, Number, Binary, Punct, End };
    Kind kind = Kind::End;
    std::string text; // Word: upper case; Identifier and String: unquoted; others as written
    std::string raw;  // as written
    bool unicode = false;
};

// The tokens of one statement, ended by a token of kind End.
std::vector<Token> tokenize(std::string_view text);

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    const Token& peek(std::size_t ahead = 0) const { return m_tokens[std::min(m_at + ahead, m_tokens.size() - 1)]; }
    const Token& next() { return m_tokens[std::min(m_at++, m_tokens.size() - 1)]; }
    bool isWord(const char* word, std::size_t ahead = 0) const {
        return peek(ahead).kind == Token::Kind::Word && peek(ahead).text == word;
    }
    bool isPunct(char c, std::size_t ahead = 0) const {
        return peek(ahead).kind == Token::Kind::Punct && peek(ahead).text[0] == c;
    }
    bool accept(const char* word) {
        if (!isWord(word))
            return false;
        ++m_at;
        return true;
    }
    bool acceptPunct(char c) {
        if (!isPunct(c))
            return false;
        ++m_at;
        return true;
    }
    void expect(const char* word) {
        if (!accept(word))
            fail(std::string("expected ") + word);
    }
    void expectPunct(char c) {
        if (!acceptPunct(c))
            fail(std::string("expected '") + c + "'");
    }
    std::string identifier() {
        const Token& token = next();
        if (token.kind != Token::Kind::Identifier && token.kind != Token::Kind::Word)
            fail("expected a name");
        return token.kind == Token::Kind::Word ? token.raw : token.text;
    }
    bool atEnd() const { return peek().kind == Token::Kind::End; }
    // Where the reader stands, to come back to when a reading of several possible ones fails.
    std::size_t position() const { return m_at; }
    void rewind(std::size_t position) { m_at = position; }
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(what + " at '" + peek().raw + "'");
    }
    // Skips a parenthesised group, the opening parenthesis being next.
    void skipGroup() {
        expectPunct('(');
        for (int depth = 1; depth > 0; ++m_at) {
            if (atEnd())
                fail("unbalanced parentheses");
            depth += isPunct('(') - isPunct(')');
        }
    }

    Literal expression();
    ColumnType columnType();

private:
    Literal term();
    Literal call(const std::string& name);

    std::vector<Token> m_tokens;
    std::size_t m_at = 0;
};

// The names of a parenthesised list of bracket-quoted names, each with an optional ASC or DESC.
std::vector<std::string> nameList(Parser& p);

// The rest of "ALTER TABLE [t] ADD CONSTRAINT [n] FOREIGN KEY ... | CHECK (...)" after ALTER TABLE.
void alterTable(Parser& p, Statement& statement);
// The rest of a statement that starts with DECLARE: a description, a row count check or the drop of
// the foreign keys that refer to a table.
void declaration(Parser& p, Statement& statement);
// The rest of a CREATE VIEW or CREATE FUNCTION after CREATE: what its body names and orders.
void createView(Parser& p, Statement& statement, Script& script, std::size_t position);

} // namespace sqlscript

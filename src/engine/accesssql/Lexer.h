#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::accesssql {

// Error numbers of the Access SQL layer. 3075 is the Access engine's own "syntax error in query
// expression"; 1010 marks a construct that has no SQL Server counterpart.
namespace errc {
constexpr long SyntaxError = 3075;
constexpr long NotTranslatable = 1010;
} // namespace errc

enum class TokenKind {
    End,
    Word,      // a bare name or keyword: letters, digits, "_" and any non-ASCII character
    Bracketed, // [name] or `name`, text without the delimiters
    String,    // "..." or '...', text with the doubled quotes undone
    Number,    // digits with an optional fraction and exponent, as written
    Date,      // #...#, text without the "#"
    Symbol,    // operators and punctuation: = <> < > <= >= + - * / \ ^ & ( ) , . ! ;
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    std::size_t begin = 0; // byte offsets into the source text
    std::size_t end = 0;

    bool isSymbol(std::string_view s) const { return kind == TokenKind::Symbol && text == s; }
    // A bare word equal to `keyword`, ignoring ASCII letter case.
    bool isWord(std::string_view keyword) const;
};

// Splits Access SQL into tokens, ending with one End token. Raises 3075 naming the text for an
// unterminated string, bracket or date literal and for a character that starts no token.
std::vector<Token> tokenize(std::string_view text);

// Reads a token list with one token of look-ahead beyond the current one.
class TokenStream {
public:
    TokenStream(std::string_view text, std::vector<Token> tokens);
    explicit TokenStream(std::string_view text);

    const Token& peek(std::size_t ahead = 0) const;
    const Token& next();
    bool acceptWord(std::string_view keyword);
    bool acceptSymbol(std::string_view symbol);
    void expectWord(std::string_view keyword);
    void expectSymbol(std::string_view symbol);
    bool atEnd() const { return peek().kind == TokenKind::End; }

    std::string_view text() const { return m_text; }
    // The source text from offset `begin` to the end of the last token read.
    std::string sourceFrom(std::size_t begin) const;
    std::size_t position() const { return m_pos; }
    void rewind(std::size_t position) { m_pos = position; }

    // Raises 3075 with `what` and the place in the text where it went wrong.
    [[noreturn]] void fail(std::string_view what) const;

    // Counts one level of nesting (parentheses, signs, Not, subqueries) for as long as it lives, and
    // raises 3075 past kMaxDepth, so that no text can exhaust the stack of the recursive parsers.
    class Nesting {
    public:
        explicit Nesting(TokenStream& tokens);
        ~Nesting() { --m_tokens.m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        TokenStream& m_tokens;
    };
    static constexpr int kMaxDepth = 200;

private:
    std::string m_text;
    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

} // namespace tabulon::accesssql

#include "SqlScript.h"

#include <cctype>
#include <stdexcept>
#include <string_view>

namespace sqlscript {

namespace {

struct Token {
    enum class Kind { Word, Identifier, String, Number, Binary, Punct, End };
    Kind kind = Kind::End;
    std::string text; // Word: upper case; Identifier and String: unquoted; others as written
    std::string raw;  // as written
    bool unicode = false;
};

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

Literal joined(const Literal& left, const Literal& right) {
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

// The names of a parenthesised list of bracket-quoted names, each with an optional ASC or DESC.
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

Column columnDefinition(Parser& p) {
    Column column;
    column.name = p.identifier();
    if (!p.isWord("NOT") && !p.isWord("DEFAULT") && !p.isWord("IDENTITY") && !p.isWord("NULL"))
        column.type = p.columnType();
    if (p.accept("NOT")) {
        p.expect("NULL");
        column.notNull = true;
    } else {
        p.accept("NULL");
    }
    if (p.accept("DEFAULT")) {
        column.hasDefault = true;
        column.defaultValue = p.expression();
    }
    if (p.accept("IDENTITY")) {
        column.identity = true;
        if (p.isPunct('('))
            p.skipGroup();
    }
    return column;
}

void createTable(Parser& p, Statement& statement, Script& script, std::size_t position) {
    Table table;
    table.name = statement.name = p.identifier();
    table.createdBy = position;
    p.expectPunct('(');
    do {
        if (p.accept("PRIMARY")) {
            p.expect("KEY");
            Index key;
            key.primary = key.unique = true;
            key.table = table.name;
            key.columns = nameList(p);
            key.statement = position;
            table.indexes.insert(table.indexes.begin(), key);
        } else {
            table.columns.push_back(columnDefinition(p));
        }
    } while (p.acceptPunct(','));
    p.expectPunct(')');
    script.tables[upper(table.name)] = std::move(table);
}

void createIndex(Parser& p, Statement& statement, Script& script, std::size_t position) {
    Index index;
    index.unique = p.accept("UNIQUE");
    if (!p.accept("NONCLUSTERED"))
        p.accept("CLUSTERED");
    p.expect("INDEX");
    index.name = p.identifier();
    p.expect("ON");
    index.table = statement.name = p.identifier();
    index.columns = nameList(p);
    index.statement = position;
    if (p.accept("WHERE")) {
        do {
            if (p.peek().kind != Token::Kind::Identifier || !p.isWord("IS", 1) || !p.isWord("NOT", 2) ||
                !p.isWord("NULL", 3)) {
                index.otherFilter = true;
                break;
            }
            index.notNullFilter.push_back(p.identifier());
            p.expect("IS");
            p.expect("NOT");
            p.expect("NULL");
        } while (p.accept("AND"));
    }
    if (Table* table = const_cast<Table*>(script.table(index.table)))
        table->indexes.push_back(index);
}

void insert(Parser& p, Statement& statement) {
    p.expect("INTO");
    statement.name = p.identifier();
    if (p.isPunct('('))
        statement.insertColumns = nameList(p);
    p.expect("VALUES");
    p.expectPunct('(');
    do
        statement.values.push_back(p.expression());
    while (p.acceptPunct(','));
    p.expectPunct(')');
}

// The statement that follows IF [NOT] EXISTS (...) or IF object_id(...) IS NOT NULL.
void conditional(Parser& p, Statement& statement) {
    using K = Statement::Kind;
    if (p.accept("OBJECT_ID")) {
        p.expectPunct('(');
        statement.guardArgument = p.expression();
        p.expectPunct(',');
        p.expression();
        p.expectPunct(')');
        p.expect("IS");
        p.expect("NOT");
        p.expect("NULL");
        p.expect("DROP");
        p.expect("TABLE");
        statement.kind = K::DropTableGuard;
        statement.guardTable = statement.name = p.identifier();
        return;
    }
    p.accept("NOT");
    p.expect("EXISTS");
    p.skipGroup();
    if (p.accept("CREATE"))
        statement.kind = K::CreateDatabase;
    else if (p.accept("DROP"))
        statement.kind = K::DropDatabase;
    else if (p.accept("ALTER"))
        statement.kind = K::AlterDatabase;
    else
        p.fail("expected CREATE, DROP or ALTER");
    p.expect("DATABASE");
    statement.name = p.identifier();
    if (statement.kind == K::AlterDatabase)
        while (!p.atEnd())
            p.next();
}

void parseStatement(Statement& statement, Script& script, std::size_t position) {
    using K = Statement::Kind;
    Parser p(tokenize(statement.text));
    if (p.accept("USE")) {
        statement.kind = K::Use;
        statement.name = p.identifier();
    } else if (p.accept("IF")) {
        conditional(p, statement);
    } else if (p.isWord("CREATE") && p.isWord("TABLE", 1)) {
        p.next(), p.next();
        statement.kind = K::CreateTable;
        createTable(p, statement, script, position);
    } else if (p.accept("CREATE")) {
        statement.kind = K::CreateIndex;
        createIndex(p, statement, script, position);
    } else if (p.accept("SET")) {
        statement.kind = p.accept("IDENTITY_INSERT") ? K::IdentityInsert : K::SetOption;
        statement.name = statement.kind == K::IdentityInsert ? p.identifier() : p.next().text;
        statement.on = p.accept("ON");
        if (!statement.on)
            p.expect("OFF");
    } else if (p.accept("INSERT")) {
        statement.kind = K::Insert;
        insert(p, statement);
    } else {
        return;
    }
    if (!p.atEnd())
        p.fail("unexpected text after the statement");
}

std::vector<std::string_view> splitLines(const std::string& dump) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = dump.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.emplace_back(dump.data() + start, end - start);
    if (start < dump.size())
        lines.emplace_back(dump.data() + start, dump.size() - start);
    return lines;
}

bool isGo(std::string_view line) {
    return line.size() == 2 && std::toupper(static_cast<unsigned char>(line[0])) == 'G' &&
           std::toupper(static_cast<unsigned char>(line[1])) == 'O';
}

} // namespace

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

const Table* Script::table(const std::string& name) const {
    const auto found = tables.find(upper(name));
    return found == tables.end() ? nullptr : &found->second;
}

Script parseScript(const std::string& dump) {
    Script script;
    const std::vector<std::string_view> lines = splitLines(dump);
    script.batches.push_back({1, 0, 0});
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (isGo(line)) {
            script.batches.push_back({i + 2, 0, 0});
            continue;
        }
        Batch& batch = script.batches.back();
        batch.bytes += line.size() + 2;
        if (line.empty() || line.substr(0, 2) == "--")
            continue;
        Statement statement;
        statement.batch = script.batches.size() - 1;
        statement.line = i + 1;
        std::string text(line);
        // The CREATE TABLE text is the one statement that spans lines: up to the line ")".
        if (line.substr(0, 13) == "CREATE TABLE ")
            while (line != ")" && i + 1 < lines.size()) {
                line = lines[++i];
                batch.bytes += line.size() + 2;
                text += "\r\n";
                text += line;
            }
        statement.text = std::move(text);
        try {
            parseStatement(statement, script, script.statements.size());
        } catch (const std::exception& error) {
            statement.parseError = error.what();
        }
        batch.inserts += statement.kind == Statement::Kind::Insert;
        if (statement.text.size() > 300 && statement.kind != Statement::Kind::CreateTable)
            statement.text.resize(300);
        script.statements.push_back(std::move(statement));
    }
    return script;
}

} // namespace sqlscript

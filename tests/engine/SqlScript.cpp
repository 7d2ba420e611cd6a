#include "SqlParser.h"

#include <cctype>
#include <stdexcept>
#include <string_view>

namespace sqlscript {

namespace {

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
        statement.guardType = p.expression();
        p.expectPunct(')');
        p.expect("IS");
        p.expect("NOT");
        p.expect("NULL");
        p.expect("DROP");
        statement.kind = p.accept("TABLE") ? K::DropTableGuard : K::DropViewGuard;
        if (statement.kind == K::DropViewGuard && !p.accept("VIEW"))
            p.expect("FUNCTION");
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
    } else if (p.isWord("CREATE") && (p.isWord("VIEW", 1) || p.isWord("FUNCTION", 1))) {
        p.next();
        statement.kind = K::CreateView;
        createView(p, statement, script, position);
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
    } else if (p.accept("ALTER")) {
        p.expect("TABLE");
        alterTable(p, statement);
    } else if (p.accept("DECLARE")) {
        declaration(p, statement);
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
        // A CREATE TABLE text spans lines up to the line ")"; a view or function up to its batch's end.
        const bool view = line.substr(0, 12) == "CREATE VIEW " || line.substr(0, 16) == "CREATE FUNCTION ";
        if (view || line.substr(0, 13) == "CREATE TABLE ")
            while (i + 1 < lines.size() && (view ? !isGo(lines[i + 1]) : line != ")")) {
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
        if (statement.text.size() > 300 && statement.kind != Statement::Kind::CreateTable &&
            statement.kind != Statement::Kind::CreateView)
            statement.text.resize(300);
        script.statements.push_back(std::move(statement));
    }
    return script;
}

} // namespace sqlscript

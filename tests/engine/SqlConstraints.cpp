// The statements that add constraints, descriptions and row count checks to a dump.
#include "CheckCondition.h"
#include "SqlParser.h"

#include <map>

namespace sqlscript {

namespace {

using K = Statement::Kind;

void foreignKey(Parser& p, Statement& statement) {
    statement.kind = K::AddForeignKey;
    Constraint& key = statement.constraint;
    key.columns = nameList(p);
    p.expect("REFERENCES");
    key.referencedTable = p.identifier();
    key.referencedColumns = nameList(p);
    while (p.accept("ON")) {
        const bool update = p.accept("UPDATE");
        if (!update)
            p.expect("DELETE");
        p.expect("CASCADE");
        (update ? key.cascadeUpdate : key.cascadeDelete) = true;
    }
}

// "@name type = value", the value a literal or "(SELECT COUNT_BIG(*) FROM [t])".
void variable(Parser& p, Statement& statement, std::map<std::string, Literal>& values) {
    const Token& name = p.next();
    if (name.kind != Token::Kind::Word || name.text[0] != '@')
        p.fail("expected a variable");
    statement.variables.push_back(name.text);
    p.columnType();
    p.expectPunct('=');
    if (p.isPunct('(') && p.isWord("SELECT", 1)) {
        p.next(), p.next();
        p.expect("COUNT_BIG");
        p.expectPunct('(');
        p.expectPunct('*');
        p.expectPunct(')');
        p.expect("FROM");
        statement.name = p.identifier();
        p.expectPunct(')');
        return;
    }
    values[name.text] = p.expression();
}

// "@level1name = @table, ...": the arguments by name, each a literal or a variable declared before.
std::map<std::string, std::string> namedArguments(Parser& p, const std::map<std::string, Literal>& values) {
    std::map<std::string, std::string> arguments;
    do {
        const std::string name = p.next().text;
        p.expectPunct('=');
        if (p.peek().kind == Token::Kind::Word && p.peek().text[0] == '@') {
            const auto known = values.find(p.next().text);
            if (known == values.end())
                p.fail("a variable that is not declared");
            arguments[name] = known->second.text;
        } else {
            arguments[name] = p.expression().text;
        }
    } while (p.acceptPunct(','));
    return arguments;
}

void description(Parser& p, Statement& statement, const std::map<std::string, Literal>& values) {
    statement.kind = K::Description;
    const auto arguments = namedArguments(p, values);
    const auto argument = [&](const char* name) {
        const auto found = arguments.find(name);
        return found == arguments.end() ? std::string() : found->second;
    };
    if (argument("@NAME") != "MS_Description" || argument("@LEVEL0TYPE") != "SCHEMA" ||
        argument("@LEVEL1TYPE") != "TABLE")
        p.fail("expected an MS_Description of a table or its column or constraint");
    statement.described = {argument("@LEVEL1NAME"), argument("@LEVEL2TYPE"), argument("@LEVEL2NAME")};
    statement.name = statement.described.table;
}

// "IF @rows <> n BEGIN DECLARE @message ... = CONCAT(...); THROW 50000, @message, 1; END".
void verifyCount(Parser& p, Statement& statement, std::map<std::string, Literal>& values) {
    statement.kind = K::VerifyCount;
    p.next();
    p.expectPunct('<');
    p.expectPunct('>');
    statement.count = std::stoll(p.next().text);
    p.expect("BEGIN");
    p.expect("DECLARE");
    variable(p, statement, values);
    p.expectPunct(';');
    p.expect("THROW");
    while (!p.accept("END") && !p.atEnd())
        p.next();
}

// "SELECT @drop += ... FROM sys.foreign_keys WHERE referenced_object_id = OBJECT_ID(N'[t]'); EXEC
// sys.sp_executesql @drop": names the table whose referencing keys it drops.
void dropReferencingKeys(Parser& p, Statement& statement) {
    statement.kind = K::DropReferencingKeys;
    while (!p.atEnd() && !p.isWord("OBJECT_ID"))
        p.next();
    p.expect("OBJECT_ID");
    p.expectPunct('(');
    const Literal table = p.expression();
    p.expectPunct(')');
    // OBJECT_ID takes the bracket-quoted name: "[a]]b]" names a]b.
    std::string name = table.text.size() > 2 ? table.text.substr(1, table.text.size() - 2) : table.text;
    for (std::size_t at = 0; (at = name.find("]]", at)) != std::string::npos; ++at)
        name.erase(at, 1);
    statement.name = name;
    p.expectPunct(';');
    p.expect("EXEC");
    while (!p.atEnd())
        p.next();
}

} // namespace

void alterTable(Parser& p, Statement& statement) {
    statement.name = p.identifier();
    p.expect("ADD");
    p.expect("CONSTRAINT");
    statement.constraint.name = p.identifier();
    if (p.accept("FOREIGN")) {
        p.expect("KEY");
        foreignKey(p, statement);
        return;
    }
    p.expect("CHECK");
    statement.kind = K::AddCheck;
    p.expectPunct('(');
    statement.constraint.check = std::make_shared<const Condition>(readCondition(p));
    p.expectPunct(')');
}

void declaration(Parser& p, Statement& statement) {
    std::map<std::string, Literal> values;
    do
        variable(p, statement, values);
    while (p.acceptPunct(','));
    p.expectPunct(';');
    if (p.accept("EXEC")) {
        p.expect("SYS");
        p.expectPunct('.');
        p.expect("SP_ADDEXTENDEDPROPERTY");
        description(p, statement, values);
    } else if (p.accept("IF")) {
        verifyCount(p, statement, values);
        return;
    } else {
        dropReferencingKeys(p, statement);
        return;
    }
    p.acceptPunct(';');
}

} // namespace sqlscript

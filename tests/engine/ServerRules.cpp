#include "ServerRules.h"

#include "RuleSupport.h"
#include "ServerValues.h"

#include <set>

namespace serverrules {

using namespace sqlscript;
using servervalues::Category;
using servervalues::categoryOf;

using Kind = Statement::Kind;

void add(std::vector<Finding>& findings, const char* rule, std::size_t line, const std::string& message) {
    findings.push_back({rule, line, message});
}

std::string mapRow(const Statement& insert, const Table& table, std::vector<const Literal*>& row) {
    row.assign(table.columns.size(), nullptr);
    if (insert.insertColumns.empty()) {
        if (insert.values.size() != table.columns.size())
            return std::to_string(insert.values.size()) + " values for the " + std::to_string(table.columns.size()) +
                   " columns of [" + table.name + "]";
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = &insert.values[i];
        return "";
    }
    if (insert.values.size() != insert.insertColumns.size())
        return std::to_string(insert.values.size()) + " values for " + std::to_string(insert.insertColumns.size()) +
               " listed columns";
    for (std::size_t i = 0; i < insert.insertColumns.size(); ++i) {
        std::size_t column = 0;
        while (column < table.columns.size() && upper(table.columns[column].name) != upper(insert.insertColumns[i]))
            ++column;
        if (column == table.columns.size())
            return "the column [" + insert.insertColumns[i] + "], which [" + table.name + "] does not have";
        row[column] = &insert.values[i];
    }
    return "";
}

std::string bracketedName(const std::string& name) {
    std::string out = "[";
    for (const char c : name)
        out += c == ']' ? std::string("]]") : std::string(1, c);
    return out + "]";
}

void forEachRow(const Script& script, const Table& table, const RowVisitor& visit) {
    std::vector<const Literal*> row;
    for (const Statement& statement : script.statements)
        if (statement.kind == Kind::Insert && upper(statement.name) == upper(table.name) &&
            mapRow(statement, table, row).empty())
            visit(statement, row);
}

namespace {

class KnownStatements : public Rule {
public:
    const char* name() const override { return "known-statements"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const Statement& s : script.statements) {
            if (s.kind == Kind::Unknown)
                add(findings, name(), s.line, "a statement the checker does not know: " + s.text.substr(0, 120));
            else if (!s.parseError.empty())
                add(findings, name(), s.line,
                    "cannot read the statement (" + s.parseError + "): " + s.text.substr(0, 120));
        }
    }
};

// SQL Server resolves USE when it compiles the batch: a database created in the same batch does not
// exist yet then (Msg 911).
class UseAfterCreate : public Rule {
public:
    const char* name() const override { return "use-after-create"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        std::set<std::pair<std::size_t, std::string>> created;
        for (const Statement& s : script.statements) {
            if (s.kind == Kind::CreateDatabase)
                created.insert({s.batch, upper(s.name)});
            else if (s.kind == Kind::Use && created.count({s.batch, upper(s.name)}))
                add(findings, name(), s.line, "USE [" + s.name + "] in the batch that creates the database");
        }
    }
};

class BatchSize : public Rule {
public:
    static constexpr std::size_t kMaxInserts = 1000;
    const char* name() const override { return "batch-size"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const Batch& batch : script.batches)
            if (batch.inserts > kMaxInserts)
                add(findings, name(), batch.firstLine,
                    "a batch of " + std::to_string(batch.inserts) + " INSERT statements (at most 1000)");
    }
};

class ColumnTypes : public Rule {
public:
    const char* name() const override { return "column-types"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const auto& [key, table] : script.tables)
            for (const Column& column : table.columns)
                if (const auto problem = servervalues::typeProblem(column.type))
                    add(findings, name(), script.statements[table.createdBy].line,
                        "[" + table.name + "].[" + column.name + "] has " + *problem);
    }
};

// One IDENTITY column per table, of an integer type or a decimal without scale, with no DEFAULT.
class Identity : public Rule {
public:
    const char* name() const override { return "identity"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const auto& [key, table] : script.tables) {
            const std::size_t line = script.statements[table.createdBy].line;
            int count = 0;
            for (const Column& c : table.columns) {
                if (!c.identity)
                    continue;
                ++count;
                const Category category = categoryOf(c.type);
                const bool scaleZero = c.type.arguments.size() < 2 || c.type.arguments[1] == 0;
                if (category != Category::Integer && !(category == Category::Decimal && scaleZero))
                    add(findings, name(), line,
                        "IDENTITY on [" + table.name + "].[" + c.name + "] of type " + c.type.text);
                if (c.hasDefault)
                    add(findings, name(), line, "IDENTITY with a DEFAULT on [" + table.name + "].[" + c.name + "]");
            }
            if (count > 1)
                add(findings, name(), line, std::to_string(count) + " IDENTITY columns in [" + table.name + "]");
        }
    }
};

// An explicit identity value needs a column list and IDENTITY_INSERT ON for that table, which only one
// table of a session may have at a time.
class IdentityInsert : public Rule {
public:
    const char* name() const override { return "identity-insert"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        std::string on; // the table whose IDENTITY_INSERT is ON
        for (const Statement& s : script.statements) {
            const Table* table = script.table(s.name);
            if (s.kind == Kind::IdentityInsert)
                switchTable(s, table, on, findings);
            else if (s.kind == Kind::Insert && table)
                checkInsert(s, *table, on, findings);
        }
    }

private:
    void switchTable(const Statement& s, const Table* table, std::string& on, std::vector<Finding>& findings) const {
        if (table && identityColumn(*table) < 0)
            add(findings, name(), s.line, "IDENTITY_INSERT for [" + s.name + "], which has no identity column");
        if (s.on && !on.empty() && on != upper(s.name))
            add(findings, name(), s.line, "IDENTITY_INSERT ON for [" + s.name + "] while it is ON for [" + on + "]");
        if (s.on)
            on = upper(s.name);
        else if (on == upper(s.name))
            on.clear();
    }
    void checkInsert(const Statement& s, const Table& table, const std::string& on,
                     std::vector<Finding>& findings) const {
        const int identity = identityColumn(table);
        if (identity < 0)
            return;
        std::vector<const Literal*> row;
        if (!mapRow(s, table, row).empty() || !row[static_cast<std::size_t>(identity)])
            return;
        if (s.insertColumns.empty())
            add(findings, name(), s.line, "an identity value for [" + table.name + "] without a column list");
        else if (on != upper(table.name))
            add(findings, name(), s.line, "an identity value for [" + table.name + "] while IDENTITY_INSERT is OFF");
    }
    static int identityColumn(const Table& table) {
        for (std::size_t i = 0; i < table.columns.size(); ++i)
            if (table.columns[i].identity)
                return static_cast<int>(i);
        return -1;
    }
};

// The guard before DROP TABLE finds the table only when object_id gets its name as an N literal (a
// plain literal turns characters outside the server's code page into '?'), bracket-quoted when the
// name holds a bracket or a dot.
class DropGuard : public Rule {
public:
    const char* name() const override { return "drop-guard"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const Statement& s : script.statements) {
            if (s.kind != Kind::DropTableGuard)
                continue;
            const Literal& argument = s.guardArgument;
            if (argument.kind != Literal::Kind::Text || !argument.unicode)
                add(findings, name(), s.line, "object_id is given no N literal for [" + s.guardTable + "]");
            const bool quoted = s.guardTable.find_first_of("[].") != std::string::npos;
            const std::string bracketed = bracketedName(s.guardTable);
            if (argument.text != (quoted ? bracketed : s.guardTable) && argument.text != bracketed)
                add(findings, name(), s.line,
                    "object_id looks for '" + argument.text + "', not [" + s.guardTable + "]");
        }
    }
};

// A filtered index needs QUOTED_IDENTIFIER and ANSI_NULLS on (Msg 1934); sqlcmd starts with
// QUOTED_IDENTIFIER off, so the script must set both itself.
class FilteredIndexOptions : public Rule {
public:
    const char* name() const override { return "filtered-index-options"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        bool quoted = false, ansiNulls = false;
        for (const Statement& s : script.statements) {
            if (s.kind == Kind::SetOption && s.name == "QUOTED_IDENTIFIER")
                quoted = s.on;
            if (s.kind == Kind::SetOption && s.name == "ANSI_NULLS")
                ansiNulls = s.on;
            if (s.kind != Kind::CreateIndex || !isFiltered(script, s))
                continue;
            if (!quoted)
                add(findings, name(), s.line, "a filtered index while QUOTED_IDENTIFIER is not set ON");
            if (!ansiNulls)
                add(findings, name(), s.line, "a filtered index while ANSI_NULLS is not set ON");
        }
    }

private:
    static bool isFiltered(const Script& script, const Statement& s) {
        const Table* table = script.table(s.name);
        if (!table)
            return s.text.find(" WHERE ") != std::string::npos;
        for (const Index& index : table->indexes)
            if (&script.statements[index.statement] == &s)
                return !index.notNullFilter.empty() || index.otherFilter;
        return false;
    }
};

// Index keys name columns of the table, of types SQL Server can index (Msg 1919).
class IndexKeys : public Rule {
public:
    const char* name() const override { return "index-keys"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const Statement& s : script.statements)
            if (s.kind == Kind::CreateIndex && s.parseError.empty() && !script.table(s.name))
                add(findings, name(), s.line, "an index on [" + s.name + "], which no CREATE TABLE made");
        for (const auto& [key, table] : script.tables)
            for (const Index& index : table.indexes)
                for (const std::string& column : index.columns)
                    checkColumn(table, index, column, script.statements[index.statement].line, findings);
    }

private:
    void checkColumn(const Table& table, const Index& index, const std::string& name_, std::size_t line,
                     std::vector<Finding>& findings) const {
        for (const Column& c : table.columns) {
            if (upper(c.name) != upper(name_))
                continue;
            const bool isMax = !c.type.arguments.empty() && c.type.arguments[0] == -1;
            if (isMax || c.type.name == "IMAGE" || c.type.name == "NTEXT" || c.type.name == "TEXT")
                add(findings, name(), line, "the index key [" + c.name + "] of [" + table.name + "] is " + c.type.text);
            return;
        }
        add(findings, name(), line,
            "the index " + (index.primary ? std::string("PRIMARY KEY") : "[" + index.name + "]") + " names [" + name_ +
                "], which [" + table.name + "] does not have");
    }
};

} // namespace

const std::vector<std::unique_ptr<Rule>>& allRules() {
    static const std::vector<std::unique_ptr<Rule>> rules = [] {
        std::vector<std::unique_ptr<Rule>> list;
        list.push_back(std::make_unique<KnownStatements>());
        list.push_back(std::make_unique<UseAfterCreate>());
        list.push_back(std::make_unique<BatchSize>());
        list.push_back(std::make_unique<ColumnTypes>());
        list.push_back(std::make_unique<Identity>());
        list.push_back(std::make_unique<IdentityInsert>());
        list.push_back(std::make_unique<DropGuard>());
        list.push_back(std::make_unique<FilteredIndexOptions>());
        list.push_back(std::make_unique<IndexKeys>());
        for (auto& rule : valueRules())
            list.push_back(std::move(rule));
        for (auto& rule : constraintRules())
            list.push_back(std::move(rule));
        for (auto& rule : viewRules())
            list.push_back(std::move(rule));
        return list;
    }();
    return rules;
}

std::vector<Finding> checkScript(const std::string& dump) {
    const Script script = parseScript(dump);
    std::vector<Finding> findings;
    for (const auto& rule : allRules())
        rule->check(script, findings);
    return findings;
}

std::vector<Finding> checkScript(const std::string& dump, const std::string& ruleName) {
    const Script script = parseScript(dump);
    std::vector<Finding> findings;
    for (const auto& rule : allRules())
        if (rule->name() == ruleName)
            rule->check(script, findings);
    return findings;
}

std::string describe(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& f : findings)
        text += f.rule + " (line " + std::to_string(f.line) + "): " + f.message + "\n";
    return text;
}

} // namespace serverrules

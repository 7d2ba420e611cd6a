// SQL Server's rules for what the dump adds once the tables hold their rows: foreign keys, CHECK
// constraints, descriptions and the row count checks.
#include "CheckCondition.h"
#include "RuleSupport.h"
#include "ServerValues.h"

#include <map>
#include <set>

namespace serverrules {

using namespace sqlscript;

namespace {

using Kind = Statement::Kind;

const Column* findColumn(const Table& table, const std::string& name) {
    for (const Column& column : table.columns)
        if (upper(column.name) == upper(name))
            return &column;
    return nullptr;
}

std::size_t columnIndex(const Table& table, const std::string& name) {
    std::size_t i = 0;
    while (i < table.columns.size() && upper(table.columns[i].name) != upper(name))
        ++i;
    return i;
}

std::set<std::string> upperAll(const std::vector<std::string>& names) {
    std::set<std::string> out;
    for (const std::string& name : names)
        out.insert(upper(name));
    return out;
}

// A FOREIGN KEY refers to a primary key or unfiltered unique index over exactly its columns, made
// before it (Msg 1776), pairs columns of the same type, length and scale (Msg 1778, 1753), and cascades
// into no identity column (Msg 1788).
class ForeignKeys : public Rule {
public:
    const char* name() const override { return "foreign-keys"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (std::size_t at = 0; at < script.statements.size(); ++at) {
            const Statement& s = script.statements[at];
            if (s.kind != Kind::AddForeignKey || !s.parseError.empty())
                continue;
            const Table* table = script.table(s.name);
            const Table* parent = script.table(s.constraint.referencedTable);
            if (!table || !parent) {
                add(findings, name(), s.line, "a foreign key between tables no CREATE TABLE made");
                continue;
            }
            checkKey(s, at, *table, *parent, findings);
        }
    }

private:
    void checkKey(const Statement& s, std::size_t at, const Table& table, const Table& parent,
                  std::vector<Finding>& findings) const {
        const Constraint& key = s.constraint;
        bool referable = false;
        for (const Index& index : parent.indexes)
            referable =
                referable || ((index.primary || index.unique) && index.notNullFilter.empty() && !index.otherFilter &&
                              index.statement < at && upperAll(index.columns) == upperAll(key.referencedColumns));
        if (!referable)
            add(findings, name(), s.line,
                "[" + key.name + "] refers to no primary key or unfiltered unique index of [" + parent.name + "]");
        if (key.columns.size() != key.referencedColumns.size()) {
            add(findings, name(), s.line, "[" + key.name + "] pairs columns of different counts");
            return;
        }
        for (std::size_t i = 0; i < key.columns.size(); ++i) {
            const Column* column = findColumn(table, key.columns[i]);
            const Column* referenced = findColumn(parent, key.referencedColumns[i]);
            if (!column || !referenced)
                add(findings, name(), s.line, "[" + key.name + "] names a column its tables do not have");
            else if (upper(column->type.text) != upper(referenced->type.text))
                add(findings, name(), s.line,
                    "[" + key.name + "] pairs " + column->type.text + " with " + referenced->type.text);
            else if (column->identity && (key.cascadeUpdate || key.cascadeDelete))
                add(findings, name(), s.line,
                    "[" + key.name + "] cascades into the identity column [" + column->name + "]");
        }
    }
};

// Every referencing row has its parent, a NULL in any key column meaning no reference.
class ForeignKeyRows : public Rule {
public:
    const char* name() const override { return "foreign-key-rows"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const Statement& s : script.statements) {
            const Table* table = script.table(s.name);
            const Table* parent = script.table(s.constraint.referencedTable);
            if (s.kind == Kind::AddForeignKey && s.parseError.empty() && table && parent)
                checkRows(script, s, *table, *parent, findings);
        }
    }

private:
    static std::string keyOf(const Table& table, const std::vector<std::string>& columns,
                             const std::vector<const Literal*>& row, bool& null) {
        std::string key;
        for (const std::string& name : columns) {
            const std::size_t c = columnIndex(table, name);
            if (c >= row.size() || !row[c] || row[c]->kind == Literal::Kind::Null) {
                null = true;
                return key;
            }
            key += servervalues::keyOf(*row[c], table.columns[c].type) + '\x1f';
        }
        return key;
    }
    void checkRows(const Script& script, const Statement& s, const Table& table, const Table& parent,
                   std::vector<Finding>& findings) const {
        std::set<std::string> parents;
        forEachRow(script, parent, [&](const Statement&, const std::vector<const Literal*>& row) {
            bool null = false;
            const std::string key = keyOf(parent, s.constraint.referencedColumns, row, null);
            if (!null)
                parents.insert(key);
        });
        forEachRow(script, table, [&](const Statement& insert, const std::vector<const Literal*>& row) {
            bool null = false;
            const std::string key = keyOf(table, s.constraint.columns, row, null);
            if (!null && !parents.count(key))
                add(findings, name(), insert.line,
                    "a row of [" + table.name + "] without its parent in [" + parent.name + "] (" + s.constraint.name +
                        ")");
        });
    }
};

// The cascades of one action reach no table twice and run in no cycle (Msg 1785).
class CascadePaths : public Rule {
public:
    const char* name() const override { return "cascade-paths"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        std::map<std::string, std::set<std::string>> updates, deletes; // referenced -> referencing
        for (const Statement& s : script.statements) {
            if (s.kind != Kind::AddForeignKey || !s.parseError.empty())
                continue;
            if (s.constraint.cascadeUpdate)
                addEdge(updates, s, "ON UPDATE", findings);
            if (s.constraint.cascadeDelete)
                addEdge(deletes, s, "ON DELETE", findings);
        }
    }

private:
    using Graph = std::map<std::string, std::set<std::string>>;
    static void paths(const Graph& graph, const std::string& from, std::map<std::string, int>& count) {
        const auto next = graph.find(from);
        if (next == graph.end())
            return;
        for (const std::string& to : next->second)
            if (++count[to] < 3) // enough to see a second path; stops in a cycle
                paths(graph, to, count);
    }
    void addEdge(Graph& graph, const Statement& s, const char* action, std::vector<Finding>& findings) const {
        const std::string from = upper(s.constraint.referencedTable), to = upper(s.name);
        if (graph[from].count(to) || from == to) {
            add(findings, name(), s.line,
                std::string(action) + " CASCADE of [" + s.constraint.name + "] runs twice or in a cycle");
            return;
        }
        graph[from].insert(to);
        for (const auto& [start, targets] : graph) {
            std::map<std::string, int> count;
            paths(graph, start, count);
            for (const auto& [table, n] : count)
                if (n > 1 || table == start) {
                    add(findings, name(), s.line,
                        std::string(action) + " CASCADE of [" + s.constraint.name + "] reaches [" + table + "] from [" +
                            start + "] twice or in a cycle");
                    return;
                }
        }
    }
};

// Every row makes each CHECK true or unknown: SQL Server checks the rows a constraint finds (Msg 547).
class Checks : public Rule {
public:
    const char* name() const override { return "checks"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const Statement& s : script.statements) {
            if (s.kind != Kind::AddCheck || !s.parseError.empty())
                continue;
            const Table* table = script.table(s.name);
            if (!table) {
                add(findings, name(), s.line, "a CHECK on [" + s.name + "], which no CREATE TABLE made");
                continue;
            }
            checkRows(script, s, *table, findings);
        }
    }

private:
    void checkRows(const Script& script, const Statement& s, const Table& table, std::vector<Finding>& findings) const {
        bool reported = false;
        forEachRow(script, table, [&](const Statement& insert, const std::vector<const Literal*>& row) {
            if (reported)
                return;
            const RowLookup lookup = [&](const std::string& column) -> ColumnValue {
                const std::size_t c = columnIndex(table, column);
                if (c >= table.columns.size())
                    throw std::runtime_error("the column [" + column + "], which [" + table.name + "] does not have");
                return {row[c], &table.columns[c].type};
            };
            try {
                if (evaluate(*s.constraint.check, lookup) == Truth::False) {
                    add(findings, name(), insert.line,
                        "a row of [" + table.name + "] breaks [" + s.constraint.name + "]");
                    reported = true;
                }
            } catch (const std::runtime_error& error) {
                add(findings, name(), s.line, "cannot evaluate [" + s.constraint.name + "]: " + error.what());
                reported = true;
            }
        });
    }
};

// Constraint names share one name space with the tables, compared without letter case (Msg 2714).
class ConstraintNames : public Rule {
public:
    const char* name() const override { return "constraint-names"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        std::set<std::string> taken;
        for (const auto& [key, table] : script.tables)
            taken.insert(key);
        for (const Statement& s : script.statements)
            if ((s.kind == Kind::AddForeignKey || s.kind == Kind::AddCheck) &&
                !taken.insert(upper(s.constraint.name)).second)
                add(findings, name(), s.line, "the name [" + s.constraint.name + "] is taken");
    }
};

// A variable is declared once in a batch (Msg 134).
class BatchVariables : public Rule {
public:
    const char* name() const override { return "batch-variables"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        std::set<std::pair<std::size_t, std::string>> declared;
        for (const Statement& s : script.statements)
            for (const std::string& variable : s.variables)
                if (!declared.insert({s.batch, variable}).second)
                    add(findings, name(), s.line, variable + " declared twice in one batch");
    }
};

// A description names a table, column or constraint that exists when it is added (Msg 15135).
class Descriptions : public Rule {
public:
    const char* name() const override { return "descriptions"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        std::set<std::string> constraints;
        for (const Statement& s : script.statements) {
            if (s.kind == Kind::AddForeignKey || s.kind == Kind::AddCheck)
                constraints.insert(upper(s.name) + "." + upper(s.constraint.name));
            if (s.kind != Kind::Description || !s.parseError.empty())
                continue;
            const Described& d = s.described;
            const Table* table = script.table(d.table);
            const bool found =
                table && (d.level2Type.empty() || (d.level2Type == "COLUMN" && findColumn(*table, d.name)) ||
                          (d.level2Type == "CONSTRAINT" && constraints.count(upper(d.table) + "." + upper(d.name))));
            if (!found)
                add(findings, name(), s.line,
                    "a description of [" + d.table + "] " + d.level2Type + " [" + d.name + "], which does not exist");
        }
    }
};

// The count a dump checks after a table's data is the number of rows it inserted into that table.
class VerifiedCounts : public Rule {
public:
    const char* name() const override { return "verified-counts"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        std::map<std::string, long long> inserted;
        for (const Statement& s : script.statements) {
            if (s.kind == Kind::Insert)
                ++inserted[upper(s.name)];
            if (s.kind == Kind::VerifyCount && s.parseError.empty() && inserted[upper(s.name)] != s.count)
                add(findings, name(), s.line,
                    "[" + s.name + "] is checked for " + std::to_string(s.count) + " rows, but the dump inserts " +
                        std::to_string(inserted[upper(s.name)]));
        }
    }
};

} // namespace

std::vector<std::unique_ptr<Rule>> constraintRules() {
    std::vector<std::unique_ptr<Rule>> rules;
    rules.push_back(std::make_unique<ForeignKeys>());
    rules.push_back(std::make_unique<ForeignKeyRows>());
    rules.push_back(std::make_unique<CascadePaths>());
    rules.push_back(std::make_unique<Checks>());
    rules.push_back(std::make_unique<ConstraintNames>());
    rules.push_back(std::make_unique<BatchVariables>());
    rules.push_back(std::make_unique<Descriptions>());
    rules.push_back(std::make_unique<VerifiedCounts>());
    return rules;
}

} // namespace serverrules

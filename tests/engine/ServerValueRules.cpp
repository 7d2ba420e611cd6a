#include "RuleSupport.h"
#include "ServerValues.h"

#include <map>

namespace serverrules {

using namespace sqlscript;
using servervalues::Category;
using servervalues::categoryOf;
using servervalues::fitProblem;

namespace {

using Kind = Statement::Kind;

std::string where(const Table& table, const Column& column) {
    return "[" + table.name + "].[" + column.name + "]";
}

// No unique index or primary key over rows with two equal keys, NULLs counting as equal (SQL
// Server's rule) unless a filter leaves those rows out; no NULL in a primary key.
class UniqueKeys : public Rule {
public:
    const char* name() const override { return "unique-keys"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const auto& [key, table] : script.tables)
            for (const Index& index : table.indexes)
                if ((index.unique || index.primary) && !index.otherFilter)
                    checkIndex(script, table, index, findings);
    }

private:
    void checkIndex(const Script& script, const Table& table, const Index& index,
                    std::vector<Finding>& findings) const {
        const std::string label = index.primary ? "the primary key" : "the unique index [" + index.name + "]";
        std::vector<std::size_t> keyColumns, filterColumns;
        for (const std::string& name : index.columns)
            keyColumns.push_back(columnIndex(table, name));
        for (const std::string& name : index.notNullFilter)
            filterColumns.push_back(columnIndex(table, name));
        std::map<std::string, std::size_t> seen;
        std::size_t rowNumber = 0;
        bool reported = false;
        forEachRow(script, table, [&](const Statement& insert, const std::vector<const Literal*>& row) {
            ++rowNumber;
            for (const std::size_t c : filterColumns)
                if (c < row.size() && valueOf(table, row, c, rowNumber).kind == Literal::Kind::Null)
                    return;
            std::string key;
            for (const std::size_t c : keyColumns) {
                if (c >= row.size())
                    return; // IndexKeys names the missing column
                const Literal value = valueOf(table, row, c, rowNumber);
                if (index.primary && value.kind == Literal::Kind::Null)
                    add(findings, name(), insert.line,
                        "NULL in " + label + " column " + where(table, table.columns[c]));
                key += servervalues::keyOf(value, table.columns[c].type) + '\x1f';
            }
            const auto [at, added] = seen.emplace(key, insert.line);
            if (!added && !reported) {
                add(findings, name(), insert.line,
                    "a key of " + label + " of [" + table.name + "] inserted twice (first on line " +
                        std::to_string(at->second) + ")");
                reported = true;
            }
        });
    }
    static std::size_t columnIndex(const Table& table, const std::string& name) {
        std::size_t i = 0;
        while (i < table.columns.size() && upper(table.columns[i].name) != upper(name))
            ++i;
        return i;
    }
    // A column the INSERT leaves out takes its DEFAULT, a generated identity value, or NULL.
    static Literal valueOf(const Table& table, const std::vector<const Literal*>& row, std::size_t c,
                           std::size_t rowNumber) {
        if (row[c])
            return *row[c];
        const Column& column = table.columns[c];
        if (column.identity)
            return {Literal::Kind::Number, std::to_string(rowNumber)};
        return column.hasDefault ? column.defaultValue : Literal{Literal::Kind::Null, ""};
    }
};

// A DEFAULT is a value of the column's type, or a function whose result converts to it.
class Defaults : public Rule {
public:
    const char* name() const override { return "defaults"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const auto& [key, table] : script.tables) {
            const std::size_t line = script.statements[table.createdBy].line;
            for (const Column& column : table.columns) {
                if (!column.hasDefault)
                    continue;
                const std::string problem = column.defaultValue.kind == Literal::Kind::Function
                                                ? functionProblem(column.defaultValue.text, column.type)
                                                : fitProblem(column.defaultValue, column.type);
                if (!problem.empty())
                    add(findings, name(), line, "DEFAULT of " + where(table, column) + ": " + problem);
            }
        }
    }

private:
    static std::string functionProblem(const std::string& text, const ColumnType& type) {
        const Category category = categoryOf(type);
        const bool dateValued =
            text.find("GETDATE()") != std::string::npos || text.find("SYSDATETIME()") != std::string::npos;
        if (dateValued && (category == Category::Date || category == Category::Text))
            return "";
        if (text == "NEWID()" && (category == Category::Guid || category == Category::Text))
            return "";
        return "the expression " + text + " does not give a value of type " + type.text;
    }
};

// Date-time values are ISO 8601 literals with a T, which SQL Server reads the same under every
// session language, with no more fraction digits than the type holds, inside its range.
class DateLiterals : public Rule {
public:
    const char* name() const override { return "date-literals"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const auto& [key, table] : script.tables)
            forEachRow(script, table, [&](const Statement& insert, const std::vector<const Literal*>& row) {
                for (std::size_t c = 0; c < row.size(); ++c) {
                    if (!row[c] || categoryOf(table.columns[c].type) != Category::Date)
                        continue;
                    const std::string problem = fitProblem(*row[c], table.columns[c].type);
                    if (!problem.empty())
                        add(findings, name(), insert.line, where(table, table.columns[c]) + ": " + problem);
                }
            });
    }
};

// Every other value fits its column: no NULL where the column is NOT NULL, no text in a number
// column, numbers inside the type's range and scale, texts and binaries within its length.
class Literals : public Rule {
public:
    const char* name() const override { return "literals"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        std::vector<const Literal*> row;
        for (const Statement& insert : script.statements) {
            const Table* table = insert.kind == Kind::Insert ? script.table(insert.name) : nullptr;
            if (!table)
                continue;
            const std::string problem = mapRow(insert, *table, row);
            if (!problem.empty()) {
                add(findings, name(), insert.line, "INSERT INTO [" + insert.name + "] gives " + problem);
                continue;
            }
            for (std::size_t c = 0; c < row.size(); ++c)
                checkValue(*table, table->columns[c], row[c], insert.line, findings);
        }
    }

private:
    void checkValue(const Table& table, const Column& column, const Literal* value, std::size_t line,
                    std::vector<Finding>& findings) const {
        if (!value) {
            if (column.notNull && !column.hasDefault && !column.identity)
                add(findings, name(), line, "no value for the NOT NULL column " + where(table, column));
            return;
        }
        if (value->kind == Literal::Kind::Null) {
            if (column.notNull)
                add(findings, name(), line, "NULL in the NOT NULL column " + where(table, column));
            return;
        }
        if (categoryOf(column.type) == Category::Date)
            return; // DateLiterals
        if (value->kind == Literal::Kind::Function) {
            add(findings, name(), line, "an expression in " + where(table, column) + ": " + value->text);
            return;
        }
        const std::string problem = fitProblem(*value, column.type);
        if (!problem.empty())
            add(findings, name(), line, where(table, column) + ": " + problem);
    }
};

} // namespace

std::vector<std::unique_ptr<Rule>> valueRules() {
    std::vector<std::unique_ptr<Rule>> rules;
    rules.push_back(std::make_unique<UniqueKeys>());
    rules.push_back(std::make_unique<Defaults>());
    rules.push_back(std::make_unique<DateLiterals>());
    rules.push_back(std::make_unique<Literals>());
    return rules;
}

} // namespace serverrules

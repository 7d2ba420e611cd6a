// The rules for views and inline table-valued functions: where they stand in the script and what
// they may name.
#include "RuleSupport.h"

#include <map>
#include <set>

namespace serverrules {

using namespace sqlscript;

namespace {

using Kind = Statement::Kind;

// The position of the statement that creates each view, by upper-cased name.
std::map<std::string, std::size_t> viewPositions(const Script& script) {
    std::map<std::string, std::size_t> positions;
    for (const View& view : script.views)
        positions.emplace(upper(view.name), view.statement);
    return positions;
}

// CREATE VIEW and CREATE FUNCTION must be the first statement of a batch (Msg 111); the body runs to
// the batch's end.
class ViewBatch : public Rule {
public:
    const char* name() const override { return "view-batch"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const View& view : script.views) {
            const Statement& s = script.statements[view.statement];
            if (view.statement > 0 && script.statements[view.statement - 1].batch == s.batch)
                add(findings, name(), s.line, "CREATE of [" + view.name + "] is not the first statement of its batch");
        }
    }
};

// Every table, view or function a view names exists when the view is created, and every
// [alias].[column] of a table names one of its columns (Msg 208, Msg 207).
class ViewReferences : public Rule {
public:
    const char* name() const override { return "view-references"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        const auto views = viewPositions(script);
        for (const View& view : script.views) {
            const std::size_t line = script.statements[view.statement].line;
            for (const View::Reference& reference : view.references) {
                const Table* table = script.table(reference.object);
                if (!reference.object.empty() && !table && !views.count(upper(reference.object)))
                    add(findings, name(), line,
                        "[" + view.name + "] names [" + reference.object + "], which the script never creates");
            }
            for (const auto& [alias, column] : view.columns)
                checkColumn(script, view, alias, column, line, findings);
        }
    }

private:
    void checkColumn(const Script& script, const View& view, const std::string& alias, const std::string& column,
                     std::size_t line, std::vector<Finding>& findings) const {
        for (const View::Reference& reference : view.references) {
            if (upper(reference.alias) != upper(alias))
                continue;
            const Table* table = script.table(reference.object);
            if (!table)
                return; // a view's columns are its select list's: not checked here
            for (const Column& c : table->columns)
                if (upper(c.name) == upper(column))
                    return;
        }
        for (const View::Reference& reference : view.references)
            if (upper(reference.alias) == upper(alias)) {
                add(findings, name(), line,
                    "[" + view.name + "] names [" + alias + "].[" + column + "], which [" + reference.object +
                        "] does not have");
                return;
            }
        add(findings, name(), line, "[" + view.name + "] names [" + alias + "].[" + column + "] of no table it reads");
    }
};

// A view is created after the tables and views it reads (Msg 208): the queries built on queries come
// in their dependency order.
class ViewOrder : public Rule {
public:
    const char* name() const override { return "view-order"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        const auto views = viewPositions(script);
        for (const View& view : script.views)
            for (const View::Reference& reference : view.references) {
                const Table* table = script.table(reference.object);
                const auto other = views.find(upper(reference.object));
                const std::size_t created = table                  ? table->createdBy
                                            : other != views.end() ? other->second
                                                                   : script.statements.size();
                if (created > view.statement && created < script.statements.size())
                    add(findings, name(), script.statements[view.statement].line,
                        "[" + view.name + "] reads [" + reference.object + "], which is created only after it");
            }
    }
};

// A view has no order: ORDER BY is refused in a view, inline function, derived table or subquery
// unless its query has TOP (Msg 1033).
class ViewOrderBy : public Rule {
public:
    const char* name() const override { return "view-order-by"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const View& view : script.views)
            if (view.ordersWithoutTop > 0)
                add(findings, name(), script.statements[view.statement].line,
                    "[" + view.name + "] has an ORDER BY in a query without TOP");
    }
};

// The guard before DROP VIEW or DROP FUNCTION asks object_id for the same object and its type: 'V'
// for a view, 'IF' for an inline function; any other type leaves an object of that name standing.
class ViewDropGuard : public Rule {
public:
    const char* name() const override { return "view-drop-guard"; }
    void check(const Script& script, std::vector<Finding>& findings) const override {
        for (const Statement& s : script.statements) {
            if (s.kind != Kind::DropViewGuard)
                continue;
            const bool isView = s.text.find(" DROP VIEW ") != std::string::npos;
            const std::string type = upper(s.guardType.text);
            if (s.guardType.kind != Literal::Kind::Text || type != (isView ? "V" : "IF"))
                add(findings, name(), s.line,
                    "object_id looks for type '" + s.guardType.text + "' before dropping [" + s.guardTable + "]");
            const Literal& argument = s.guardArgument;
            if (argument.kind != Literal::Kind::Text || !argument.unicode ||
                (upper(argument.text) != upper(s.guardTable) &&
                 upper(argument.text) != upper(bracketedName(s.guardTable))))
                add(findings, name(), s.line,
                    "object_id looks for '" + argument.text + "', not N'" + bracketedName(s.guardTable) + "'");
        }
    }
};

} // namespace

std::vector<std::unique_ptr<Rule>> viewRules() {
    std::vector<std::unique_ptr<Rule>> rules;
    rules.push_back(std::make_unique<ViewBatch>());
    rules.push_back(std::make_unique<ViewReferences>());
    rules.push_back(std::make_unique<ViewOrder>());
    rules.push_back(std::make_unique<ViewOrderBy>());
    rules.push_back(std::make_unique<ViewDropGuard>());
    return rules;
}

} // namespace serverrules

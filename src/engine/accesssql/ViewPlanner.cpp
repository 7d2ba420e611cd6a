#include "Lexer.h"
#include "ViewPlan.h"
#include "ViewTranslator.h"

#include "engine/SqlLiterals.h"
#include "lib/Convert.h"
#include "lib/Error.h"

#include <algorithm>
#include <set>

namespace tabulon::accesssql {

namespace {

const std::pair<const char*, const char*> kNotViews[] = {
    {"make-table", "a make-table query: it creates a table and is no view"},
    {"append", "an append query: it changes data and is no view"},
    {"update", "an update query: it changes data and is no view"},
    {"delete", "a delete query: it changes data and is no view"},
    {"data-definition", "a data-definition query: it changes the database structure and is no view"},
    {"pass-through", "a pass-through query: its SQL is another server's own"},
};

bool isViewKind(const std::string& kind) {
    return kind == "select" || kind == "union" || kind == "crosstab";
}

std::string notViewReason(const QuerySource& q) {
    for (const auto& [kind, reason] : kNotViews)
        if (q.kind == kind)
            return reason;
    return "a query of a type that Access does not describe (" + q.kind + ")";
}

// The queries by lower-case name, parsed once, with their output columns worked out on demand.
class QueryIndex {
public:
    QueryIndex(const std::vector<QuerySource>& queries, const TableCatalog& tables, const ViewOptions& options)
        : m_tables(tables), m_options(options) {
        for (const auto& q : queries) {
            Entry& e = m_entries[toLowerAscii(q.name)];
            if (!isViewKind(q.kind) || q.sql.empty())
                continue;
            try {
                e.parsed = parseSelectStatement(q.sql);
            } catch (const Error& error) {
                e.parseError = error.description();
            }
        }
    }

    QueryPtr parsed(const std::string& name) const {
        auto it = m_entries.find(toLowerAscii(name));
        return it == m_entries.end() ? nullptr : it->second.parsed;
    }
    std::string parseError(const std::string& name) const { return m_entries.at(toLowerAscii(name)).parseError; }

    const std::vector<ColumnInfo>* columns(const std::string& name) {
        auto it = m_entries.find(toLowerAscii(name));
        if (it == m_entries.end() || !it->second.parsed || it->second.busy)
            return nullptr;
        Entry& e = it->second;
        if (!e.columnsKnown) {
            e.busy = true;
            try {
                ViewTranslator t(m_tables, lookup(), m_options, e.parsed->parameters);
                e.columns = t.outputColumns(*e.parsed);
                e.columnsKnown = true;
            } catch (const Error&) {
            }
            e.busy = false;
        }
        return e.columnsKnown ? &e.columns : nullptr;
    }

    QueryColumnsLookup lookup() {
        return [this](const std::string& name) { return columns(name); };
    }

private:
    struct Entry {
        QueryPtr parsed;
        std::string parseError;
        std::vector<ColumnInfo> columns;
        bool columnsKnown = false;
        bool busy = false; // guards against queries that read each other
    };
    const TableCatalog& m_tables;
    ViewOptions m_options;
    std::map<std::string, Entry> m_entries;
};

void writeCreate(ViewPlan& plan, const ViewTranslator& t, const std::string& body) {
    const std::string name = SafeFieldName(plan.name);
    if (t.parameters().empty()) {
        plan.objectType = "VIEW";
        plan.createSql = "CREATE VIEW " + name + "\r\nAS\r\n" + body;
        plan.dropSql = "IF OBJECT_ID(" + SafeString(Variant(name), true) + ", N'V') IS NOT NULL DROP VIEW " + name;
        return;
    }
    std::string parameters;
    for (const auto& p : t.parameters())
        parameters += (parameters.empty() ? "" : ", ") + p.variable + " " + p.type;
    plan.objectType = "FUNCTION";
    plan.createSql = "CREATE FUNCTION " + name + " (" + parameters + ")\r\nRETURNS TABLE\r\nAS\r\nRETURN\r\n" + body;
    plan.dropSql = "IF OBJECT_ID(" + SafeString(Variant(name), true) + ", N'IF') IS NOT NULL DROP FUNCTION " + name;
}

ViewPlan planOne(const QuerySource& q, QueryIndex& index, const TableCatalog& tables, const ViewOptions& options) {
    ViewPlan plan;
    plan.name = q.name;
    plan.kind = q.kind;
    if (!q.problem.empty()) {
        plan.reason = "its Access SQL cannot be read: " + q.problem;
        return plan;
    }
    if (!isViewKind(q.kind)) {
        plan.reason = notViewReason(q);
        return plan;
    }
    const QueryPtr parsed = index.parsed(q.name);
    if (!parsed) {
        plan.reason = "its Access SQL cannot be read: " + index.parseError(q.name);
        return plan;
    }
    try {
        ViewTranslator t(tables, index.lookup(), options, parsed->parameters);
        const std::string body = t.translate(*parsed);
        writeCreate(plan, t, body);
        plan.dependsOn = t.dependsOn();
        plan.notes = t.notes();
    } catch (const Error& error) {
        plan.reason = error.description();
    }
    return plan;
}

// Leaves out the views that read a query that is left out, then orders the rest so that each
// follows the queries it reads.
std::vector<ViewPlan> order(std::vector<ViewPlan> plans) {
    auto find = [&](const std::string& name) -> ViewPlan* {
        for (auto& p : plans)
            if (toLowerAscii(p.name) == toLowerAscii(name))
                return &p;
        return nullptr;
    };
    std::vector<ViewPlan> ordered;
    std::set<std::string> placed;
    bool progress = true;
    while (progress) {
        progress = false;
        for (auto& p : plans) {
            if (!p.created() || placed.count(toLowerAscii(p.name)))
                continue;
            bool ready = true;
            for (const auto& d : p.dependsOn) {
                const ViewPlan* dep = find(d);
                if (dep && !dep->created()) {
                    p.reason = "it reads the query " + d + ", which is left out";
                    p.objectType.clear();
                    progress = true;
                    break;
                }
                ready = ready && placed.count(toLowerAscii(d));
            }
            if (p.created() && ready) {
                placed.insert(toLowerAscii(p.name));
                ordered.push_back(p);
                progress = true;
            }
        }
    }
    for (auto& p : plans) {
        if (p.created() && !placed.count(toLowerAscii(p.name))) {
            p.reason = "it reads itself through other queries";
            p.objectType.clear();
        }
        if (!p.created())
            ordered.push_back(p);
    }
    return ordered;
}

} // namespace

void TableCatalog::addTable(const std::string& name, std::vector<ColumnInfo> columns) {
    m_tables[toLowerAscii(name)] = {name, std::move(columns)};
}

const std::vector<ColumnInfo>* TableCatalog::columns(const std::string& table) const {
    auto it = m_tables.find(toLowerAscii(table));
    return it == m_tables.end() ? nullptr : &it->second.second;
}

void TableCatalog::addFieldLeftBehind(const std::string& table, const std::string& field) {
    m_leftBehind.insert({toLowerAscii(table), toLowerAscii(field)});
}

bool TableCatalog::isFieldLeftBehind(const std::string& table, const std::string& field) const {
    return m_leftBehind.count({toLowerAscii(table), toLowerAscii(field)}) > 0;
}

std::vector<ViewPlan> planViews(const std::vector<QuerySource>& queries, const TableCatalog& tables,
                                const ViewOptions& options) {
    QueryIndex index(queries, tables, options);
    std::vector<ViewPlan> plans;
    for (const auto& q : queries)
        plans.push_back(planOne(q, index, tables, options));
    return order(std::move(plans));
}

} // namespace tabulon::accesssql

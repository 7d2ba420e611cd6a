#include "ViewTranslator.h"

#include "engine/SqlLiterals.h"
#include "lib/Convert.h"

#include <algorithm>

namespace tabulon::accesssql {

namespace {

std::string bracketed(const std::string& name) {
    return SafeFieldName(name);
}

// A T-SQL variable name holds letters, digits and "_": every other character becomes "_".
std::string variableName(const std::string& accessName) {
    std::string out = "@";
    for (unsigned char c : accessName)
        out += std::isalnum(c) || c == '_' || c >= 0x80 ? static_cast<char>(c) : '_';
    return out == "@" ? "@p" : out;
}

bool isAggregateCall(const Expr& e) {
    if (e.kind != ExprKind::Call || e.args.size() != 1)
        return false;
    const std::string f = toLowerAscii(e.value);
    return f == "sum" || f == "avg" || f == "count" || f == "min" || f == "max" || f == "stdev" || f == "stdevp" ||
           f == "var" || f == "varp";
}

bool hasJoin(const SelectQuery& q) {
    return q.from.size() > 1 || std::any_of(q.from.begin(), q.from.end(),
                                            [](const TableRefPtr& r) { return r->kind == TableRef::Kind::Join; });
}

// The heading a pivot value gives its column, as Access shows it.
std::string pivotHeading(const Expr& value) {
    return value.kind == ExprKind::String || value.kind == ExprKind::Number || value.kind == ExprKind::Date
               ? value.value
               : value.source;
}

} // namespace

std::string parameterType(const std::string& accessType) {
    const std::string t = toLowerAscii(accessType);
    static const std::pair<const char*, const char*> types[] = {{"bit", "BIT"},
                                                                {"yesno", "BIT"},
                                                                {"byte", "TINYINT"},
                                                                {"short", "SMALLINT"},
                                                                {"integer", "SMALLINT"},
                                                                {"long", "INT"},
                                                                {"currency", "MONEY"},
                                                                {"ieeesingle", "REAL"},
                                                                {"single", "REAL"},
                                                                {"ieeedouble", "FLOAT"},
                                                                {"double", "FLOAT"},
                                                                {"datetime", "DATETIME"},
                                                                {"date", "DATETIME"},
                                                                {"binary", "VARBINARY(510)"},
                                                                {"longbinary", "VARBINARY(MAX)"},
                                                                {"guid", "UNIQUEIDENTIFIER"},
                                                                {"value", "SQL_VARIANT"},
                                                                {"text", "NVARCHAR(255)"},
                                                                {"memo", "NVARCHAR(MAX)"}};
    if (t.rfind("text(", 0) == 0 && t.back() == ')')
        return "NVARCHAR(" + accessType.substr(5, accessType.size() - 6) + ")";
    for (const auto& [access, tsql] : types)
        if (t == access)
            return tsql;
    return {};
}

ViewTranslator::ViewTranslator(const TableCatalog& tables, QueryColumnsLookup queries, const ViewOptions& options,
                               const std::vector<ParameterDeclaration>& declared)
    : m_tables(tables), m_queries(std::move(queries)), m_options(options), m_declared(declared) {
    for (const auto& p : m_declared) {
        const std::string type = parameterType(p.type);
        if (type.empty())
            TsqlWriter::untranslatable(Expr{.source = "PARAMETERS " + p.name + " " + p.type},
                                       "a parameter type with no SQL Server counterpart");
        parameterVariable(p.name, true, type);
    }
}

std::string ViewTranslator::parameterVariable(const std::string& accessName, bool declared, const std::string& type) {
    for (const auto& p : m_parameters)
        if (toLowerAscii(p.accessName) == toLowerAscii(accessName))
            return p.variable;
    std::string variable = variableName(accessName);
    for (int n = 2; std::any_of(m_parameters.begin(), m_parameters.end(),
                                [&](const Parameter& p) { return toLowerAscii(p.variable) == toLowerAscii(variable); });
         ++n)
        variable = variableName(accessName) + "_" + std::to_string(n);
    m_parameters.push_back({accessName, variable, type});
    if (!declared)
        m_notes.push_back("the parameter [" + accessName + "] is not declared: it is typed NVARCHAR(255)");
    return variable;
}

std::string ViewTranslator::translate(const SelectQuery& query) {
    return query.crosstab ? crosstab(query) : select(query, true);
}

void ViewTranslator::addInputs(const TableRef& ref, Scope& scope) {
    if (ref.kind == TableRef::Kind::Join) {
        addInputs(*ref.left, scope);
        addInputs(*ref.right, scope);
        return;
    }
    Input input;
    input.label = ref.alias.empty() ? ref.name : ref.alias;
    input.key = toLowerAscii(input.label);
    if (ref.kind == TableRef::Kind::Subquery) {
        input.ownColumns = outputColumns(*ref.query);
    } else if (const auto* columns = m_tables.columns(ref.name)) {
        input.columns = columns;
        input.table = ref.name;
    } else {
        input.columns = m_queries(ref.name);
    }
    scope.inputs.push_back(std::move(input));
}

void ViewTranslator::pushScope(const SelectQuery& q) {
    Scope scope;
    scope.query = &q;
    for (const auto& ref : q.from)
        addInputs(*ref, scope);
    m_scopes.push_back(std::move(scope));
}

const ColumnInfo* ViewTranslator::findColumn(const std::string& name, const std::string& qualifier) const {
    const std::string lname = toLowerAscii(name), lqual = toLowerAscii(qualifier);
    for (auto scope = m_scopes.rbegin(); scope != m_scopes.rend(); ++scope)
        for (const Input& input : scope->inputs) {
            if (!lqual.empty() && input.key != lqual)
                continue;
            const auto& columns = input.columns ? *input.columns : input.ownColumns;
            for (const ColumnInfo& c : columns)
                if (toLowerAscii(c.name) == lname)
                    return &c;
        }
    return nullptr;
}

// A qualified name must name a column of one of the query's inputs. A field left out of the run leaves
// its table without that column; a view naming it would be refused.
void ViewTranslator::requireMovedColumn(const Expr& name) const {
    const std::string qualifier = toLowerAscii(name.parts[name.parts.size() - 2]);
    for (auto scope = m_scopes.rbegin(); scope != m_scopes.rend(); ++scope)
        for (const Input& input : scope->inputs)
            if (input.key == qualifier) {
                if (!input.table.empty() && !findColumn(name.lastPart(), input.label))
                    untranslatable(name, m_tables.isFieldLeftBehind(input.table, name.lastPart())
                                             ? "a field that the run does not move"
                                             : "a field that the table does not have");
                return;
            }
    // Access asks for such a name as a parameter; SQL Server refuses the view.
    untranslatable(name, "it names a table or alias that the query does not read");
}

// An unqualified name of a field that the run leaves behind would otherwise read as a parameter.
bool ViewTranslator::isLeftBehind(const std::string& field) const {
    for (const Scope& scope : m_scopes)
        for (const Input& input : scope.inputs)
            if (!input.table.empty() && m_tables.isFieldLeftBehind(input.table, field))
                return true;
    return false;
}

bool ViewTranslator::allInputsKnown() const {
    for (const Scope& scope : m_scopes)
        for (const Input& input : scope.inputs)
            if (!input.columns && input.ownColumns.empty())
                return false;
    return true;
}

const SelectItem* ViewTranslator::columnAlias(const std::string& name) const {
    if (m_scopes.empty())
        return nullptr;
    for (const SelectItem& item : m_scopes.back().query->columns)
        if (toLowerAscii(item.alias) == toLowerAscii(name))
            return &item;
    return nullptr;
}

void ViewTranslator::writeName(std::string& out, const Expr& name) {
    if (name.bang || (name.parts.size() > 1 && toLowerAscii(name.parts[0]) == "forms"))
        untranslatable(name, "a form or report reference, read from an open form when the query runs");
    if (name.parts.size() > 1)
        requireMovedColumn(name);
    if (name.parts.size() > 1 || findColumn(name.parts[0], {})) {
        TsqlWriter::writeName(out, name);
        return;
    }
    const std::string& single = name.parts[0];
    if (isLeftBehind(single))
        untranslatable(name, "a field that the run does not move");
    for (const auto& p : m_declared)
        if (toLowerAscii(p.name) == toLowerAscii(single)) {
            out += parameterVariable(p.name, true, {});
            return;
        }
    // Access lets an expression use the alias of another output column; SQL Server does not, so the
    // aliased expression is written in its place.
    if (const SelectItem* item = columnAlias(single); item && !m_inlining.count(item)) {
        m_inlining.insert(item);
        out += "(" + value(*item->expr) + ")";
        m_inlining.erase(item);
        return;
    }
    if (allInputsKnown()) {
        out += parameterVariable(single, false, "NVARCHAR(255)");
        return;
    }
    TsqlWriter::writeName(out, name);
}

ValueType ViewTranslator::nameType(const Expr& name) {
    const ColumnInfo* c = findColumn(name.lastPart(), name.parts.size() > 1 ? name.parts[name.parts.size() - 2] : "");
    if (c)
        return c->type;
    for (const auto& p : m_parameters)
        if (toLowerAscii(p.accessName) == toLowerAscii(name.lastPart()))
            return p.type.rfind("NVARCHAR", 0) == 0 ? ValueType::Text
                   : p.type == "DATETIME"           ? ValueType::Date
                                                    : ValueType::Number;
    return ValueType::Unknown;
}

void ViewTranslator::writeSubquery(std::string& out, const SelectQuery& query, const Expr&) {
    out += select(query, false);
}

std::string ViewTranslator::tableRef(const TableRef& ref) {
    if (ref.kind == TableRef::Kind::Join)
        return "(" + tableRef(*ref.left) + " " + ref.joinType + " JOIN " + tableRef(*ref.right) + " ON " +
               condition(*ref.on) + ")";
    if (ref.kind == TableRef::Kind::Subquery) {
        const std::string alias = ref.alias.empty() ? "Subquery" + std::to_string(++m_derivedTables) : ref.alias;
        return "(" + select(*ref.query, false) + ") AS " + bracketed(alias);
    }
    if (m_tables.columns(ref.name)) {
        // A prefixed table keeps its Access name as alias, so that the query's qualified names still hold.
        const std::string alias = ref.alias.empty() && !m_options.tablePrefix.empty() ? ref.name : ref.alias;
        return bracketed(m_options.tablePrefix + ref.name) + (alias.empty() ? "" : " AS " + bracketed(alias));
    }
    if (!m_queries(ref.name))
        untranslatable(Expr{.source = ref.name}, "neither a converted table nor a saved query that becomes a view");
    if (std::find(m_dependsOn.begin(), m_dependsOn.end(), ref.name) == m_dependsOn.end())
        m_dependsOn.push_back(ref.name);
    return bracketed(ref.name) + (ref.alias.empty() ? "" : " AS " + bracketed(ref.alias));
}

std::string ViewTranslator::fromList(const SelectQuery& q) {
    std::string out;
    for (const auto& ref : q.from) {
        std::string text = tableRef(*ref);
        if (ref->kind == TableRef::Kind::Join) // the outermost join needs no parentheses
            text = text.substr(1, text.size() - 2);
        out += (out.empty() ? "" : ", ") + text;
    }
    return out;
}

std::vector<ColumnInfo> ViewTranslator::outputColumns(const SelectQuery& query) {
    pushScope(query);
    std::vector<ColumnInfo> columns;
    int unnamed = 0;
    for (const SelectItem& item : query.columns) {
        const Expr& e = *item.expr;
        if (!item.alias.empty()) {
            columns.push_back({item.alias, e.kind == ExprKind::Star ? ValueType::Unknown : typeOf(e)});
        } else if (e.kind == ExprKind::Name) {
            columns.push_back({e.lastPart(), nameType(e)});
        } else if (e.kind == ExprKind::Star) {
            const std::string qualifier = e.parts.empty() ? "" : toLowerAscii(e.parts.back());
            for (const Input& input : m_scopes.back().inputs)
                if (qualifier.empty() || input.key == qualifier) {
                    const auto& own = input.columns ? *input.columns : input.ownColumns;
                    columns.insert(columns.end(), own.begin(), own.end());
                }
        } else {
            columns.push_back({"Expr" + std::to_string(1000 + unnamed++), typeOf(e)});
        }
    }
    m_scopes.pop_back();
    return columns;
}

void ViewTranslator::expandStar(const Expr& star, std::vector<OutputColumn>& out) const {
    const std::string qualifier = star.parts.empty() ? "" : toLowerAscii(star.parts.back());
    for (const Input& input : m_scopes.back().inputs) {
        if (!qualifier.empty() && input.key != qualifier)
            continue;
        for (const ColumnInfo& c : input.columns ? *input.columns : input.ownColumns)
            out.push_back({bracketed(input.label) + "." + bracketed(c.name), c.name, input.label, false});
    }
}

std::vector<ViewTranslator::OutputColumn> ViewTranslator::outputList(const SelectQuery& q, bool topLevel,
                                                                     bool expandStars) {
    std::vector<OutputColumn> out;
    int unnamed = 0;
    for (const SelectItem& item : q.columns) {
        const Expr& e = *item.expr;
        if (e.kind == ExprKind::Star) {
            if (expandStars) {
                expandStar(e, out);
                continue;
            }
            std::string text;
            for (const auto& part : e.parts)
                text += bracketed(part) + ".";
            out.push_back({text + "*", "", "", false});
            continue;
        }
        OutputColumn column{value(e), item.alias, "", !item.alias.empty()};
        if (column.name.empty() && e.kind == ExprKind::Name) {
            column.name = e.lastPart();
            column.qualifier = e.parts.size() > 1 ? e.parts[e.parts.size() - 2] : "";
        }
        // Every column of a view needs a name: Access calls an unnamed expression Expr1000, Expr1001, ...
        if (column.name.empty() && topLevel) {
            column.name = "Expr" + std::to_string(1000 + unnamed++);
            column.aliased = true;
        }
        out.push_back(std::move(column));
    }
    return out;
}

std::string ViewTranslator::columnList(const SelectQuery& q, bool topLevel) {
    std::vector<OutputColumn> columns = outputList(q, topLevel, false);
    // SQL Server refuses a view (or a derived table) with two columns of one name. Access names them
    // after their inputs ("Table1.col1", "Table2.col1"); "*" is spelled out so that this can be done.
    auto duplicated = [](const std::vector<OutputColumn>& list, const OutputColumn& c) {
        return !c.name.empty() && std::count_if(list.begin(), list.end(), [&](const OutputColumn& o) {
                                      return toLowerAscii(o.name) == toLowerAscii(c.name);
                                  }) > 1;
    };
    const bool hasStar = std::any_of(q.columns.begin(), q.columns.end(),
                                     [](const SelectItem& i) { return i.expr->kind == ExprKind::Star; });
    if (hasStar && allInputsKnown()) {
        std::vector<OutputColumn> expanded = outputList(q, topLevel, true);
        if (std::any_of(expanded.begin(), expanded.end(),
                        [&](const OutputColumn& c) { return duplicated(expanded, c); }))
            columns = std::move(expanded);
    }
    std::string out;
    for (const OutputColumn& c : columns) {
        std::string alias = c.aliased ? c.name : "";
        if (!c.aliased && !c.qualifier.empty() && duplicated(columns, c))
            alias = c.qualifier + "." + c.name;
        out += (out.empty() ? "" : ",\r\n       ") + c.text + (alias.empty() ? "" : " AS " + bracketed(alias));
    }
    return out;
}

std::string ViewTranslator::orderBy(const SelectQuery& q) {
    std::string out;
    for (const OrderItem& item : q.orderBy)
        out += (out.empty() ? "" : ", ") + value(*item.expr) + (item.descending ? " DESC" : "");
    return out;
}

std::string ViewTranslator::core(const SelectQuery& q, bool topLevel, const std::string& top, bool ties) {
    if (q.distinctRow && hasJoin(q))
        untranslatable(Expr{.source = "DISTINCTROW"}, "DISTINCTROW over a join has no SQL Server counterpart");
    pushScope(q);
    std::string out = "SELECT ";
    if (q.distinct)
        out += "DISTINCT ";
    if (!top.empty())
        out += "TOP (" + top + ")" + (q.topPercent ? " PERCENT" : "") + (ties ? " WITH TIES " : " ");
    out += columnList(q, topLevel);
    if (!q.from.empty())
        out += "\r\nFROM " + fromList(q);
    if (q.where)
        out += "\r\nWHERE " + condition(*q.where);
    if (!q.groupBy.empty()) {
        std::string groups;
        for (const auto& g : q.groupBy)
            groups += (groups.empty() ? "" : ", ") + value(*g);
        out += "\r\nGROUP BY " + groups;
    }
    if (q.having)
        out += "\r\nHAVING " + condition(*q.having);
    if (!top.empty() && !q.orderBy.empty() && q.unions.empty())
        out += "\r\nORDER BY " + orderBy(q);
    m_scopes.pop_back();
    return out;
}

std::string ViewTranslator::select(const SelectQuery& q, bool topLevel) {
    if (!q.into.empty())
        untranslatable(Expr{.source = "INTO " + q.into}, "a make-table query is no view");
    // Access includes the rows that tie with the last one; SQL Server does only WITH TIES, which needs ORDER BY.
    const bool ties = !q.top.empty() && !q.orderBy.empty();
    if (!q.top.empty() && !q.unions.empty())
        untranslatable(Expr{.source = "TOP " + q.top}, "TOP over a union");
    std::string out = core(q, topLevel, q.top, ties);
    for (const auto& part : q.unions)
        out += std::string("\r\nUNION ") + (part.all ? "ALL " : "") + core(*part.query, false, part.query->top, false);
    if (!q.orderBy.empty() && q.top.empty() && topLevel)
        m_notes.push_back("its ORDER BY is dropped: a view has no order");
    return out;
}

std::string ViewTranslator::crosstab(const SelectQuery& q) {
    if (q.pivotValues.empty())
        untranslatable(Expr{.source = "PIVOT " + q.pivot->source},
                       "a crosstab without fixed column headings (PIVOT ... In (...))");
    const Expr& transform = *q.transform.expr;
    if (!isAggregateCall(transform))
        untranslatable(transform, "a crosstab value that is not one aggregate");
    pushScope(q);
    // One column per listed heading: the aggregate over the rows whose pivot value is that heading.
    std::string pivots;
    const std::string pivot = value(*q.pivot);
    const bool countAll = transform.args[0]->kind == ExprKind::Star;
    std::string function = value(transform);
    function = function.substr(0, function.find('('));
    std::string argument = countAll ? "1" : value(*transform.args[0]);
    if (function == "AVG") // Access averages in floating point
        argument = "CAST(" + argument + " AS FLOAT)";
    for (const auto& v : q.pivotValues)
        pivots += ",\r\n       " + function + "(CASE WHEN " + pivot + " = " + value(*v) + " THEN " + argument +
                  " END) AS " + bracketed(pivotHeading(*v));
    m_scopes.pop_back();
    std::string out = select(q, true);
    const std::size_t from = out.find("\r\nFROM ");
    return out.insert(from == std::string::npos ? out.size() : from, pivots);
}

} // namespace tabulon::accesssql

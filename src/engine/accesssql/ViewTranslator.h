#pragma once

#include "Statement.h"
#include "ViewPlan.h"

#include <functional>
#include <set>

namespace tabulon::accesssql {

// The output columns of a saved query by name; null when there is no such query or its columns
// cannot be worked out.
using QueryColumnsLookup = std::function<const std::vector<ColumnInfo>*(const std::string& query)>;

// Writes one parsed SELECT, union or crosstab query as the body of a view or inline function.
// Names resolve against the inputs of each SELECT, then of the SELECTs around it; a one-part name
// that is neither a column nor a column alias is a parameter. Raises 1010 for what has no
// counterpart.
class ViewTranslator : public TsqlWriter {
public:
    ViewTranslator(const TableCatalog& tables, QueryColumnsLookup queries, const ViewOptions& options,
                   const std::vector<ParameterDeclaration>& declared);

    // The SELECT text of the top-level query; fills dependsOn and notes.
    std::string translate(const SelectQuery& query);

    const std::vector<std::string>& dependsOn() const { return m_dependsOn; }
    const std::vector<std::string>& notes() const { return m_notes; }
    // Declared parameters and then the undeclared ones, in order of first use: Access name, T-SQL name, type.
    struct Parameter {
        std::string accessName;
        std::string variable;
        std::string type;
    };
    const std::vector<Parameter>& parameters() const { return m_parameters; }

    // The output columns of a query (aliases, column names, "*" expanded where the inputs are known).
    std::vector<ColumnInfo> outputColumns(const SelectQuery& query);

protected:
    void writeName(std::string& out, const Expr& name) override;
    void writeSubquery(std::string& out, const SelectQuery& query, const Expr& at) override;
    ValueType nameType(const Expr& name) override;

private:
    struct Input {
        std::string key;   // lower-case alias or name
        std::string label; // the alias or name as written
        const std::vector<ColumnInfo>* columns = nullptr;
        std::vector<ColumnInfo> ownColumns; // of a subquery in FROM
        std::string table;                  // a converted table, whose columns are exactly those moved
    };
    struct Scope {
        const SelectQuery* query = nullptr;
        std::vector<Input> inputs;
    };

    std::string select(const SelectQuery& q, bool topLevel);
    std::string core(const SelectQuery& q, bool topLevel, const std::string& top, bool ties);
    std::string crosstab(const SelectQuery& q);
    // One output column as written: its T-SQL, its name, and the input that qualifies it.
    struct OutputColumn {
        std::string text;
        std::string name;
        std::string qualifier;
        bool aliased = false;
    };
    std::vector<OutputColumn> outputList(const SelectQuery& q, bool topLevel, bool expandStars);
    void expandStar(const Expr& star, std::vector<OutputColumn>& out) const;
    std::string columnList(const SelectQuery& q, bool topLevel);
    std::string fromList(const SelectQuery& q);
    std::string tableRef(const TableRef& ref);
    std::string orderBy(const SelectQuery& q);
    void pushScope(const SelectQuery& q);
    void addInputs(const TableRef& ref, Scope& scope);
    const ColumnInfo* findColumn(const std::string& name, const std::string& qualifier) const;
    void requireMovedColumn(const Expr& name) const;
    bool isLeftBehind(const std::string& field) const;
    bool allInputsKnown() const;
    const SelectItem* columnAlias(const std::string& name) const;
    std::string parameterVariable(const std::string& accessName, bool declared, const std::string& type);

    const TableCatalog& m_tables;
    QueryColumnsLookup m_queries;
    ViewOptions m_options;
    std::vector<ParameterDeclaration> m_declared;
    std::vector<Scope> m_scopes;
    std::set<const SelectItem*> m_inlining;
    std::vector<std::string> m_dependsOn;
    std::vector<std::string> m_notes;
    std::vector<Parameter> m_parameters;
    int m_derivedTables = 0;
};

// The T-SQL type of a declared Access parameter type ("Text(50)" -> NVARCHAR(50)); empty when there is none.
std::string parameterType(const std::string& accessType);

} // namespace tabulon::accesssql

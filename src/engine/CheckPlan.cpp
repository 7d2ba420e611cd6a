#include "CheckPlan.h"

#include "SchemaDocument.h"
#include "TableDefinition.h"
#include "accesssql/ExpressionParser.h"
#include "accesssql/Lexer.h"
#include "accesssql/TsqlWriter.h"
#include "lib/Convert.h"
#include "lib/Error.h"

#include <map>

namespace tabulon {

namespace {

using accesssql::ValueType;

// Writes the names of a rule as the table's moved columns, and remembers whether it named any.
class RuleWriter : public accesssql::TsqlWriter {
public:
    explicit RuleWriter(std::map<std::string, ValueType> fields) : m_fields(std::move(fields)) {}

    bool namedAField() const { return m_namedAField; }

protected:
    void writeName(std::string& out, const accesssql::Expr& name) override {
        if (name.bang || name.parts.size() != 1)
            untranslatable(name, "a rule refers only to fields of its own table");
        if (!m_fields.count(name.lastPart()))
            untranslatable(name, "the field " + name.lastPart() + " is not moved");
        m_namedAField = true;
        TsqlWriter::writeName(out, name);
    }
    ValueType nameType(const accesssql::Expr& name) override {
        const auto field = m_fields.find(name.lastPart());
        return field == m_fields.end() ? ValueType::Unknown : field->second;
    }

private:
    std::map<std::string, ValueType> m_fields;
    bool m_namedAField = false;
};

class Planner {
public:
    Planner(const TableSelection& selection, const std::string& prefix, ConstraintNames& names)
        : m_selection(selection), m_prefix(prefix), m_names(names) {}

    void planTable(const pugi::xml_node& table);
    CheckPlan result() { return std::move(m_plan); }

private:
    void planRule(const pugi::xml_node& owner, const std::string& field);

    const TableSelection& m_selection;
    const std::string& m_prefix;
    ConstraintNames& m_names;
    CheckPlan m_plan;
    std::string m_table;
    std::map<std::string, ValueType> m_fields;
};

void Planner::planTable(const pugi::xml_node& table) {
    m_table = childText(table, "Name");
    if (!m_selection.contains(m_table))
        return;
    m_fields.clear();
    const std::vector<pugi::xml_node> defined = DefinedFields(table, m_table, m_selection);
    for (const pugi::xml_node& field : defined)
        m_fields.emplace(childText(field, "Name"),
                         MappingOf(accessTypeOf(toInteger(Variant(childText(field, "Type"))))).value);
    for (const pugi::xml_node& field : defined)
        planRule(field, childText(field, "Name"));
    planRule(table, std::string());
}

void Planner::planRule(const pugi::xml_node& owner, const std::string& field) {
    const std::string rule = owner.child_value("ValidationRule");
    if (rule.empty())
        return;
    const std::string where = field.empty() ? " of the table" : " of field " + field;
    std::string condition;
    try {
        const accesssql::ExprPtr parsed =
            field.empty() ? accesssql::parseExpression(rule) : accesssql::parseValidationRule(rule, field);
        RuleWriter writer(m_fields);
        condition = writer.condition(*parsed);
        if (!writer.namedAField())
            throw Error(accesssql::errc::NotTranslatable, "Tabulon.CheckPlan", "it names no field");
    } catch (const Error& error) {
        m_plan.notes.push_back({m_table, "- validation rule " + rule + where + " left out: " + error.description()});
        return;
    }
    const std::string table = m_prefix + m_table;
    m_plan.checks.push_back({m_names.claim("CK_" + table + (field.empty() ? "" : "_" + field)), m_table, table, field,
                             rule, condition, owner.child_value("ValidationText")});
}

} // namespace

CheckPlan PlanChecks(const pugi::xml_document& schema, const TableSelection& selection, const std::string& tablePrefix,
                     ConstraintNames& names) {
    Planner planner(selection, tablePrefix, names);
    for (const pugi::xpath_node& table : schema.select_nodes("/AccessDatabase/Tables/Table"))
        planner.planTable(table.node());
    return planner.result();
}

} // namespace tabulon

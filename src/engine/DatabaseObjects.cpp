#include "DatabaseObjects.h"

#include "CheckPlan.h"
#include "ObjectsReport.h"
#include "RelationshipPlan.h"
#include "SavedQueryObjects.h"
#include "SchemaDocument.h"
#include "TSqlStatements.h"
#include "lib/Convert.h"
#include "lib/Error.h"

#include <optional>

namespace tabulon {

namespace {

// SQL Server's number for a statement that conflicts with a constraint (Msg 547).
constexpr long kConstraintConflict = 547;

class Phase {
public:
    Phase(const DatabaseObjectsContext& context, const std::vector<MovedTable>& tables)
        : m_context(context), m_options(context.options), m_tables(tables) {
        for (const MovedTable& table : tables)
            m_report.table(table.sourceName);
    }

    void run();

private:
    bool direct() const { return m_context.destination.runsStatements(); }
    void heading();
    void verifyCount(const MovedTable& table);
    void addForeignKeys(const RelationshipPlan& plan);
    std::vector<CheckConstraint> addChecks(const CheckPlan& plan);
    bool addCheck(const CheckConstraint& check);
    void addDescriptions(const std::vector<CheckConstraint>& checks);
    void describeTable(const pugi::xml_node& table);
    void describe(const std::string& sourceTable, const DescribedObject& object, const std::string& text);
    std::optional<Error> send(const std::string& statement);

    const DatabaseObjectsContext& m_context;
    const RunOptions& m_options;
    const std::vector<MovedTable>& m_tables;
    ObjectsReport m_report;
    bool m_headingWritten = false;
};

void Phase::run() {
    if (m_options.verifyCounts && m_options.transferRecords)
        for (const MovedTable& table : m_tables)
            if (table.created) // a table that held rows before the run has nothing to compare with
                verifyCount(table);
    // Constraints and descriptions belong to the tables the run defines; tables that already existed
    // may hold them from before.
    const bool objectsWanted =
        m_options.transferRelationships || m_options.transferValidationRules || m_options.transferDescriptions;
    if (!m_options.createTables && objectsWanted)
        m_report.note("Relationships, validation rules and descriptions left out: they are added only to tables "
                      "the run creates");
    if (m_options.createTables) {
        std::vector<std::string> tableNames;
        for (const MovedTable& table : m_tables)
            tableNames.push_back(table.destinationName);
        ConstraintNames names(tableNames);
        if (m_options.transferRelationships)
            addForeignKeys(PlanRelationships(m_context.schema, m_context.selection,
                                             {m_options.definition, m_options.tablePrefix}, names));
        std::vector<CheckConstraint> checks;
        if (m_options.transferValidationRules)
            checks = addChecks(PlanChecks(m_context.schema, m_context.selection, m_options.tablePrefix, names));
        if (m_options.transferDescriptions)
            addDescriptions(checks);
    }
    m_report.append(m_context.report, direct());
}

// A comment block in the dump before the first statement of the phase; a status line either way.
void Phase::heading() {
    if (m_headingWritten)
        return;
    m_headingWritten = true;
    m_context.progress.addStatusLine("  Checking counts, adding relationships, rules and descriptions");
    m_context.destination.heading("Record counts, relationships, validation rules and descriptions");
}

void Phase::verifyCount(const MovedTable& table) {
    heading();
    if (!direct()) {
        send(VerifyCountStatement(table.destinationName, table.rowsWritten));
        return m_report.countChecked(true);
    }
    try {
        const long long held = m_context.destination.queryNumber(CountRowsStatement(table.destinationName));
        m_report.countChecked(held == table.rowsWritten);
        if (held != table.rowsWritten)
            m_report.line(table.sourceName, "- Error: the server holds " + std::to_string(held) + " records of " +
                                                table.destinationName + ", but " + std::to_string(table.rowsWritten) +
                                                " were sent");
    } catch (const Error& error) {
        m_report.countChecked(false);
        m_report.line(table.sourceName, "- Error: the records of " + table.destinationName +
                                            " could not be counted: " + error.description());
    }
}

void Phase::addForeignKeys(const RelationshipPlan& plan) {
    for (const PlanNote& note : plan.notes)
        m_report.line(note.sourceTable, note.line);
    for (const ForeignKey& key : plan.keys) {
        heading();
        if (const auto error = send(ForeignKeyStatement(key)))
            m_report.line(key.sourceTable,
                          "- relationship " + key.relationship + " could not be created: " + error->description());
        else
            m_report.counted(key.sourceTable, ObjectsReport::Relationship);
    }
}

// The constraints that were made, which alone can carry a description.
std::vector<CheckConstraint> Phase::addChecks(const CheckPlan& plan) {
    for (const PlanNote& note : plan.notes)
        m_report.line(note.sourceTable, note.line);
    std::vector<CheckConstraint> made;
    for (const CheckConstraint& check : plan.checks)
        if (addCheck(check))
            made.push_back(check);
    return made;
}

// SQL Server checks the rows a table holds when a CHECK is added. Access keeps a rule that rows entered
// before it break, and so does the server WITH NOCHECK: the rule then holds for rows added or changed.
bool Phase::addCheck(const CheckConstraint& check) {
    heading();
    auto error = send(CheckStatement(check));
    const std::string what = "- validation rule " + check.rule + " (" + check.name + ")";
    if (error && error->number() == kConstraintConflict && !(error = send(CheckStatement(check, true))))
        m_report.line(check.sourceTable, what + " created WITH NOCHECK: rows of " + check.table +
                                             " break it, so SQL Server checks only rows added or changed later");
    if (error) {
        m_report.line(check.sourceTable, what + " could not be created: " + error->description());
        return false;
    }
    m_report.counted(check.sourceTable, ObjectsReport::Check);
    return true;
}

void Phase::addDescriptions(const std::vector<CheckConstraint>& checks) {
    for (const pugi::xpath_node& table : m_context.schema.select_nodes("/AccessDatabase/Tables/Table"))
        if (m_context.selection.contains(childText(table.node(), "Name")))
            describeTable(table.node());
    for (const CheckConstraint& check : checks)
        if (!check.validationText.empty())
            describe(check.sourceTable, {DescribedObject::Kind::Constraint, check.table, check.name},
                     check.validationText);
}

void Phase::describeTable(const pugi::xml_node& table) {
    const std::string source = childText(table, "Name");
    const std::string destination = m_options.tablePrefix + source;
    describe(source, {DescribedObject::Kind::Table, destination, ""}, table.child_value("Description"));
    for (const pugi::xml_node& field : DefinedFields(table, source, m_context.selection))
        describe(source, {DescribedObject::Kind::Column, destination, childText(field, "Name")},
                 field.child_value("Description"));
}

void Phase::describe(const std::string& sourceTable, const DescribedObject& object, const std::string& text) {
    if (text.empty())
        return;
    heading();
    if (const auto error = send(DescriptionStatement(object, text))) {
        const std::string what = object.name.empty() ? object.table : object.table + "." + object.name;
        m_report.line(sourceTable, "- description of " + what + " could not be added: " + error->description());
    } else {
        m_report.counted(sourceTable, ObjectsReport::Description);
    }
}

// Each statement of the phase is a batch of its own, so that one the server rejects stops no other,
// and declared variables never meet.
std::optional<Error> Phase::send(const std::string& statement) {
    return m_context.destination.attemptBatch(statement);
}

} // namespace

void DropReferencingKeys(const DatabaseObjectsContext& context, const std::string& destinationTable) {
    if (!context.options.transferRelationships)
        return;
    context.destination.execute(DropReferencingKeysStatement(destinationTable));
    context.destination.endBatch();
}

void CreateDatabaseObjects(const DatabaseObjectsContext& context, const std::vector<MovedTable>& tables) {
    Phase(context, tables).run();
    const RunOptions& options = context.options;
    if (options.transferQueries)
        WriteSavedQueries(PlanSavedQueries(context.schema, context.selection, options.tablePrefix), context.destination,
                          options.createTables, context.report, context.progress);
}

} // namespace tabulon

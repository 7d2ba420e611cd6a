#include "ConversionRun.h"

#include "DatabaseObjects.h"
#include "Destination.h"
#include "RecordTransfer.h"
#include "RunOptions.h"
#include "SchemaDocument.h"
#include "SettingsKeys.h"
#include "TSqlStatements.h"
#include "lib/Error.h"
#include "tabulon/Version.h"

#include <optional>

namespace tabulon {

namespace {

const char* const kCrLf = "\r\n";

// The file name after its last folder separator, either kind.
std::string fileNameOnly(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string withoutLineBreaks(std::string text) {
    for (std::size_t at; (at = text.find(kCrLf)) != std::string::npos;)
        text.erase(at, 2);
    return text;
}

bool stopped(RunResult result) {
    return result == RunResult::Cancelled || result == RunResult::TableFailed;
}

class Run {
public:
    Run(RunOptions options, std::string& report, ConversionContext& context)
        : m_options(std::move(options)), m_report(report), m_context(context),
          m_destination(MakeDestination(m_options, context.flags.unitTestMode)) {}

    RunResult execute();

private:
    void start();
    void openSource();
    bool openDestination(); // false, with the report written, when it could not be opened
    void checkSettings();
    void setSessionOptions();
    void dropDatabase();
    void createDatabase();
    void loadSchema();
    void loopTables();
    void reportTablesNotFound(const pugi::xpath_node_set& tables);
    void moveTable(const pugi::xml_node& table);
    bool createTable(const std::string& destinationName, const std::string& createTable);
    std::optional<Error> sendTableStatement(const std::string& text, bool clearOnSuccess);
    bool transferRows(const TransferRequest& request, int& count); // false when the table failed
    void addDatabaseObjects();
    DatabaseObjectsContext objectsContext();
    void finish();
    RunResult fail(const Error& error);

    void send(const std::string& statement, bool clearOnSuccess);
    void sendBatch(const std::string& statement, bool clearOnSuccess);
    void appendLine(const std::string& line) { m_report += line + kCrLf; }
    void appendErrorBlock(const Error& error);

    const RunOptions m_options;
    std::string& m_report;
    ConversionContext& m_context;
    std::unique_ptr<Destination> m_destination;
    std::string m_phase;
    std::string m_statement;
    RunResult m_result = RunResult::Completed;

    std::string m_schemaXml;
    std::string m_sourceFileName;

    std::unique_ptr<SourceConnection> m_source;
    std::unique_ptr<pugi::xml_document> m_schema;
    std::vector<MovedTable> m_moved;
};

RunResult Run::execute() {
    start();
    openSource();
    try {
        if (!openDestination())
            return m_result;
        checkSettings();
        setSessionOptions();
        dropDatabase();
        createDatabase();
        loadSchema();
        loopTables();
        addDatabaseObjects();
        finish();
        return m_result;
    } catch (const Error& error) {
        return fail(error);
    } catch (const std::exception& error) {
        return fail(Error(errc::General, "Verdix.modMySql.MoveData2MySql", error.what()));
    }
}

RunResult Run::fail(const Error& error) {
    appendErrorBlock(error);
    try {
        m_destination->close();
    } catch (const Error&) {
        // The report already ends in the error that stopped the run.
    }
    m_context.flags.conversionRunning = false;
    return RunResult::Error;
}

void Run::start() {
    m_phase = "Start";
    m_context.flags.conversionRunning = true;
    m_context.progress.addStatusLine("Moving data to destination");
    if (m_context.currentSchema)
        m_schemaXml = schemaText(*m_context.currentSchema);

    appendLine("SETTINGS");
    appendLine("--------");
    appendLine(m_destination->summary());
    appendLine("");
    appendLine("TABLES");
    appendLine("------------");
}

void Run::openSource() {
    m_phase = "Open connection to source database";
    m_source = m_context.openSource(m_options.source);
    m_sourceFileName = fileNameOnly(m_options.source.fileName);
}

bool Run::openDestination() {
    m_phase = m_destination->openingPhase();
    try {
        m_destination->open();
        return true;
    } catch (const Error& error) {
        const Destination::OpenFailure failure = m_destination->openFailure();
        m_context.progress.addStatusLine(failure.statusLine);
        for (const std::string& line : failure.reportLines)
            appendLine(line);
        appendErrorBlock(error);
        m_destination.reset(); // closes what was written, ignoring errors
        m_context.flags.conversionRunning = false;
        m_result = failure.result;
        return false;
    }
}

// A flag that does not convert ends the run here, where its error report can say so.
void Run::checkSettings() {
    if (m_options.unreadable) {
        m_phase = "Read settings";
        throw *m_options.unreadable;
    }
}

void Run::setSessionOptions() {
    m_phase = "Set session options";
    for (const std::string& statement : SessionOptionStatements())
        send(statement, true);
    m_destination->endBatch();
}

void Run::dropDatabase() {
    if (!m_options.dropDatabase)
        return;
    m_phase = "Drop destination";
    send(UseStatement("master"), false);
    send(SingleUserStatement(m_options.database), false);
    send(DropDatabaseStatement(m_options.database), true);
}

void Run::createDatabase() {
    m_phase = "Recreate the database";
    sendBatch(CreateDatabaseStatement(m_options.database), true);
    send(UseStatement(m_options.database), true);
    m_destination->space();
}

void Run::loadSchema() {
    m_phase = "Load DefXml";
    m_schema = copySchema(m_schemaXml);
}

void Run::loopTables() {
    m_phase = "Loop tables";
    const pugi::xpath_node_set tables = m_schema->select_nodes("*/Tables/Table");
    reportTablesNotFound(tables);
    for (const pugi::xpath_node& table : tables) {
        moveTable(table.node());
        if (m_result != RunResult::TableFailed && m_context.flags.cancelRequested)
            m_result = RunResult::Cancelled;
        if (stopped(m_result))
            return;
    }
}

// A renamed table or a typo in a settings file must not pass for a complete run.
void Run::reportTablesNotFound(const pugi::xpath_node_set& tables) {
    std::vector<std::string> names;
    for (const pugi::xpath_node& table : tables)
        names.push_back(childText(table.node(), "Name"));
    for (const std::string& name : m_options.selection.tablesNotIn(names)) {
        const std::string line = "Table: " + name + " - not found in the source database";
        appendLine(line);
        m_context.progress.addStatusLine(line);
        m_result = RunResult::TablesNotFound;
    }
}

void Run::moveTable(const pugi::xml_node& table) {
    const std::string sourceName = childText(table, "Name");
    const std::string destinationName = m_options.tablePrefix + sourceName;
    if (!m_options.selection.contains(sourceName))
        return;

    appendLine("Table: " + sourceName);
    m_context.progress.addStatusLine("Table: " + sourceName);
    m_context.progress.addStatusLine("  Creating table");

    std::vector<std::string> columns;
    for (const pugi::xml_node field : table.child("Fields").children("Field")) {
        const std::string name = childText(field, "Name");
        if (m_options.selection.contains(TableSelection::fieldPath(sourceName, name)))
            columns.push_back(name);
    }

    const TableDefinitionOptions& options = m_options.definition;
    const TableColumns definition = DefineColumns(table, sourceName, m_options.selection, options);
    m_phase = "Transfer indexes";
    const TableIndexes indexes = DefineIndexes(table, sourceName, destinationName, m_options.selection, options);

    const bool created =
        !m_options.createTables || createTable(destinationName, CreateTableText(destinationName, definition, indexes));
    for (const std::string& note : definition.notes)
        appendLine(note);

    m_phase = "Transfer records";
    int count = 0;
    if (m_options.transferRecords) {
        TransferRequest request;
        request.sourceTable = sourceName;
        request.destinationTable = destinationName;
        request.columns = columns;
        request.identityColumn = definition.identityColumn;
        request.columnList = m_options.columnList;
        request.unicode = options.unicode;
        request.negativeBoolean = m_options.negativeBoolean;
        request.ignoreLargeBlobs = m_options.ignoreLargeBlobs;
        request.sourceFileName = m_sourceFileName;
        request.destinationDatabase = m_options.database;
        request.required = definition.required;
        request.dateColumns = definition.dateColumns;
        const bool identity = !definition.identityColumn.empty();
        if (identity)
            sendBatch(IdentityInsertStatement(destinationName, true), true);
        m_destination->heading("Dumping data for table '" + sourceName + "'");
        if (created && !transferRows(request, count))
            return;
        if (identity)
            sendBatch(IdentityInsertStatement(destinationName, false), true);
        if (created)
            for (const std::string& index : indexes.secondary)
                sendBatch(index, false);
    }
    appendLine("- " + std::to_string(count) + " records moved");
    m_moved.push_back({sourceName, destinationName, count, m_options.createTables && created});
}

// Drops and creates the table; false when the server rejected the CREATE TABLE, which the report then
// names with the server's error.
bool Run::createTable(const std::string& destinationName, const std::string& createTable) {
    DropReferencingKeys(objectsContext(), destinationName);
    m_destination->heading("Table structure for table '" + destinationName + "'");
    if (const std::optional<Error> error = sendTableStatement(DropTableStatement(destinationName), true))
        throw *error;
    m_destination->space();
    const std::optional<Error> error = sendTableStatement(createTable, false);
    m_destination->space();
    if (!m_destination->runsStatements())
        return true;
    if (!error) {
        appendLine("- Table '" + destinationName + "' created");
        return true;
    }
    appendLine("- Creating '" + destinationName + "' failed");
    appendLine("- SQL: " + m_statement);
    appendLine("- Error: " + std::to_string(error->number()) + " (" + errorNumberHex(error->number()) + ") " +
               error->description());
    return false;
}

// A script keeps the line breaks of a table's statements, and they are not the current statement
// there; run as they are sent, they go without CR LF, as the current statement.
std::optional<Error> Run::sendTableStatement(const std::string& text, bool clearOnSuccess) {
    if (!m_destination->runsStatements()) {
        m_destination->execute(text);
        return std::nullopt;
    }
    m_statement = withoutLineBreaks(text);
    std::optional<Error> error = m_destination->attempt(m_statement);
    if (!error && clearOnSuccess)
        m_statement.clear();
    return error;
}

bool Run::transferRows(const TransferRequest& request, int& count) {
    count = TransferRecords(*m_source, *m_destination, request, m_report, m_context.progress, m_context.flags);
    if (count >= 0)
        return true;
    m_result = RunResult::TableFailed;
    count = 0;
    return false;
}

// Once every table holds its rows and indexes, since keys and rules refer across tables and are
// checked against the rows.
void Run::addDatabaseObjects() {
    if (stopped(m_result))
        return;
    m_phase = "Add constraints and descriptions";
    CreateDatabaseObjects(objectsContext(), m_moved);
}

DatabaseObjectsContext Run::objectsContext() {
    return {*m_schema, m_options.selection, m_options, *m_destination, m_report, m_context.progress};
}

void Run::finish() {
    m_phase = "Tables are done";
    if (!stopped(m_result) && m_context.flags.cancelRequested)
        m_result = RunResult::Cancelled;
    if (stopped(m_result)) {
        m_context.progress.addStatusLine("  Transfer was aborted");
        appendLine("Transfer was aborted");
    } else {
        m_context.progress.addStatusLine("  Transfer completed");
    }
    m_destination->close();
    m_context.flags.conversionRunning = false;
}

// To send a statement is to execute it on the connection or to write it as a line of the dump. It is
// the current statement of the error report until a successful execution clears it.
void Run::send(const std::string& statement, bool clearOnSuccess) {
    m_statement = statement;
    m_destination->execute(statement);
    if (clearOnSuccess && m_destination->runsStatements())
        m_statement.clear();
}

void Run::sendBatch(const std::string& statement, bool clearOnSuccess) {
    send(statement, clearOnSuccess);
    m_destination->endBatch();
}

void Run::appendErrorBlock(const Error& error) {
    appendLine("Program Version: " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + ".0." +
               std::to_string(kVersionRevision));
    appendLine("ODBC Version: ");
    appendLine("Function: modMySql.MoveData2MySql");
    appendLine("Error: " + std::to_string(error.number()));
    appendLine("Hint: " + m_phase);
    appendLine("Reason: " + error.description());
    if (!m_statement.empty())
        appendLine("SQL: " + m_statement);
}

} // namespace

RunResult MoveData2MySql(const Dictionary& settings, std::string& report, ConversionContext& context) {
    const DictionaryPtr section = settings.dictionaryAt(kSettingsSection);
    return Run(ReadRunOptions(section ? *section : Dictionary()), report, context).execute();
}

} // namespace tabulon

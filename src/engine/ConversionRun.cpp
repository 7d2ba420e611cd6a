#include "ConversionRun.h"

#include "DatabaseObjects.h"
#include "DumpLayout.h"
#include "RecordTransfer.h"
#include "RunOptions.h"
#include "SchemaDocument.h"
#include "SettingsKeys.h"
#include "SqlLiterals.h"
#include "lib/Error.h"
#include "tabulon/Version.h"

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

struct ExitCode {
    int code;
};

class Run {
public:
    Run(RunOptions options, std::string& report, ConversionContext& context)
        : m_options(std::move(options)), m_report(report), m_context(context) {}

    int execute();

private:
    void start();
    void openSource();
    void openDestination();
    void checkSettings();
    void setSessionOptions();
    void dropDatabase();
    void createDatabase();
    void loadSchema();
    void loopTables();
    void addDatabaseObjects();
    DatabaseObjectsContext objectsContext();
    void reportTablesNotFound(const pugi::xpath_node_set& tables);
    bool moveTable(const pugi::xml_node& table); // false when the loop must stop
    void finish();

    void send(const std::string& statement, bool clearOnSuccess, bool go = false);
    void appendLine(const std::string& line) { m_report += line + kCrLf; }
    void appendErrorBlock(const Error& error);
    [[noreturn]] void fail(const Error& error, int code);

    const RunOptions m_options;
    std::string& m_report;
    ConversionContext& m_context;
    std::string m_phase;
    std::string m_statement;

    bool m_direct = false;
    std::string m_schemaXml;
    std::string m_sourceFileName;
    bool m_tablesNotFound = false;

    std::unique_ptr<SourceConnection> m_source;
    std::unique_ptr<OdbcConnection> m_connection;
    std::unique_ptr<DumpFile> m_dump;
    std::unique_ptr<pugi::xml_document> m_schema;
    std::vector<MovedTable> m_moved;
};

int Run::execute() {
    start();
    openSource();
    try {
        openDestination();
        checkSettings();
        setSessionOptions();
        dropDatabase();
        createDatabase();
        loadSchema();
        loopTables();
        addDatabaseObjects();
        finish();
        return m_tablesNotFound && !m_context.flags.cancelRequested ? runresult::TablesNotFound : runresult::Done;
    } catch (const ExitCode& exit) {
        return exit.code;
    } catch (const Error& error) {
        appendErrorBlock(error);
    } catch (const std::exception& error) {
        appendErrorBlock(Error(errc::General, "Verdix.modMySql.MoveData2MySql", error.what()));
    }
    if (m_dump) {
        try {
            m_dump->close();
        } catch (const Error&) {
            // The report already ends in the error that stopped the run.
        }
    }
    m_context.flags.conversionRunning = false;
    return runresult::OtherError;
}

void Run::start() {
    m_phase = "Start";
    m_context.flags.conversionRunning = true;
    m_context.progress.addStatusLine("Moving data to destination");
    m_direct = m_options.direct;
    if (m_context.currentSchema)
        m_schemaXml = schemaText(*m_context.currentSchema);

    appendLine("SETTINGS");
    appendLine("--------");
    appendLine(m_direct ? std::string("Moving data directly to ") + "MSSQL" + " server"
                        : "Moving data to " + m_options.dumpFileName);
    appendLine("");
    appendLine("TABLES");
    appendLine("------------");
}

void Run::openSource() {
    m_phase = "Open connection to source database";
    m_source = m_context.openSource(m_options.source);
    m_sourceFileName = fileNameOnly(m_options.source.fileName);
}

void Run::openDestination() {
    if (m_direct) {
        m_phase = "Open connection to destination database";
        try {
            m_connection = OdbcConnection::open(DestinationConnectionString(m_options.login));
        } catch (const Error& error) {
            m_context.progress.addStatusLine("Error connecting to destination database");
            appendLine("Error connecting to destination database.");
            // The password never reaches the report or the log.
            appendLine("Connection: " + DestinationConnectionString(m_options.login, true));
            fail(error, runresult::DestinationConnectionFailed);
        }
        return;
    }
    m_phase = "Open dump file";
    try {
        m_dump = DumpFile::create(m_options.dumpFileName);
        WriteDumpHeader(*m_dump, m_options.listing, m_context.flags.unitTestMode);
    } catch (const Error& error) {
        m_context.progress.addStatusLine("Error opening dump file");
        appendLine("Error opening dump file: " + m_options.dumpFileName);
        fail(error, runresult::DumpFileFailed);
    }
}

// A flag that does not convert ends the run here, where its error report can say so.
void Run::checkSettings() {
    if (m_options.unreadable) {
        m_phase = "Read settings";
        throw *m_options.unreadable;
    }
}

// A filtered index needs QUOTED_IDENTIFIER and ANSI_NULLS on (Msg 1934), and sqlcmd starts with
// QUOTED_IDENTIFIER off; both hold for the rest of the session, across batches.
void Run::setSessionOptions() {
    m_phase = "Set session options";
    send("SET QUOTED_IDENTIFIER ON", true);
    send("SET ANSI_NULLS ON", true);
    if (!m_direct)
        m_dump->writeGo();
}

void Run::dropDatabase() {
    if (!m_options.dropDatabase)
        return;
    m_phase = "Drop destination";
    const std::string exists = "IF EXISTS (SELECT * FROM master.dbo.sysdatabases WHERE name = " +
                               SafeString(Variant(m_options.database), true) + ") ";
    send("USE [master]", false);
    send(exists + "ALTER DATABASE " + SafeTableName(m_options.database) + " SET SINGLE_USER With ROLLBACK IMMEDIATE",
         false);
    send(exists + "DROP DATABASE " + SafeTableName(m_options.database), true);
}

void Run::createDatabase() {
    m_phase = "Recreate the database";
    // SQL Server resolves USE when it compiles the batch, so the database must exist before that batch.
    send("IF NOT EXISTS (SELECT * FROM master.dbo.sysdatabases WHERE name = " +
             SafeString(Variant(m_options.database), true) + ") CREATE DATABASE " + SafeTableName(m_options.database),
         true, true);
    send("USE " + SafeTableName(m_options.database), true);
    if (!m_direct)
        m_dump->writeLine("");
}

void Run::loadSchema() {
    m_phase = "Load DefXml";
    m_schema = copySchema(m_schemaXml);
}

void Run::loopTables() {
    m_phase = "Loop tables";
    const pugi::xpath_node_set tables = m_schema->select_nodes("*/Tables/Table");
    reportTablesNotFound(tables);
    for (const pugi::xpath_node& table : tables)
        if (!moveTable(table.node()) || m_context.flags.cancelRequested)
            return;
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
        m_tablesNotFound = true;
    }
}

bool Run::moveTable(const pugi::xml_node& table) {
    const std::string sourceName = childText(table, "Name");
    const std::string destinationName = m_options.tablePrefix + sourceName;
    if (!m_options.selection.contains(sourceName))
        return true;

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
    const std::string createTable = CreateTableText(destinationName, definition, indexes);
    const std::string drop = DropTableStatement(destinationName);

    bool creationFailed = false;
    if (m_options.createTables) {
        DropReferencingKeys(objectsContext(), destinationName);
        if (m_direct) {
            send(drop, true);
            m_statement = withoutLineBreaks(createTable);
            try {
                m_connection->execute(m_statement);
                appendLine("- Table '" + destinationName + "' created");
            } catch (const Error& error) {
                appendLine("- Creating '" + destinationName + "' failed");
                appendLine("- SQL: " + m_statement);
                appendLine("- Error: " + std::to_string(error.number()) + " (" + errorNumberHex(error.number()) + ") " +
                           error.description());
                creationFailed = true;
            }
        } else {
            WriteTableStructureBlock(*m_dump, destinationName, drop, createTable);
        }
    }

    for (const std::string& note : definition.notes)
        appendLine(note);

    m_phase = "Transfer records";
    int count = 0;
    if (m_options.transferRecords) {
        const std::string identitySwitch = "SET IDENTITY_INSERT " + SafeTableName(destinationName);
        if (!definition.identityColumn.empty())
            send(identitySwitch + " ON", true, true);
        if (!m_direct)
            WriteTableDataBlock(*m_dump, sourceName);
        if (!creationFailed) {
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
            count = TransferRecords(*m_source, {m_connection.get(), m_dump.get()}, request, m_report,
                                    m_context.progress, m_context.flags);
            if (count < 0) {
                m_context.flags.cancelRequested = true;
                return false;
            }
        }
        if (!definition.identityColumn.empty())
            send(identitySwitch + " OFF", true, true);
        for (const std::string& index : indexes.secondary)
            if (!m_direct || !creationFailed)
                send(index, false, true);
    }
    appendLine("- " + std::to_string(count) + " records moved");
    m_moved.push_back({sourceName, destinationName, count, m_options.createTables && !creationFailed});
    return true;
}

// Once every table holds its rows and indexes, since keys and rules refer across tables and are
// checked against the rows.
void Run::addDatabaseObjects() {
    if (m_context.flags.cancelRequested)
        return;
    m_phase = "Add constraints and descriptions";
    CreateDatabaseObjects(objectsContext(), m_moved);
}

DatabaseObjectsContext Run::objectsContext() {
    return {*m_schema, m_options.selection, m_options, {m_connection.get(), m_dump.get()},
            m_report,  m_context.progress};
}

void Run::finish() {
    m_phase = "Tables are done";
    if (m_context.flags.cancelRequested) {
        m_context.progress.addStatusLine("  Transfer was aborted");
        appendLine("Transfer was aborted");
    } else {
        m_context.progress.addStatusLine("  Transfer completed");
    }
    if (m_dump)
        m_dump->close();
    m_context.flags.conversionRunning = false;
}

// To send a statement is to execute it on the connection or to write it as a line of the dump.
void Run::send(const std::string& statement, bool clearOnSuccess, bool go) {
    m_statement = statement;
    if (m_direct) {
        m_connection->execute(statement);
        if (clearOnSuccess)
            m_statement.clear();
    } else if (go) {
        WriteStatementWithGo(*m_dump, statement);
    } else {
        m_dump->writeLine(statement);
    }
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

void Run::fail(const Error& error, int code) {
    appendErrorBlock(error);
    m_dump.reset(); // closes what was written, ignoring errors
    m_context.flags.conversionRunning = false;
    throw ExitCode{code};
}

} // namespace

int MoveData2MySql(const Dictionary& settings, std::string& report, ConversionContext& context) {
    const DictionaryPtr section = settings.dictionaryAt(kSettingsSection);
    return Run(ReadRunOptions(section ? *section : Dictionary()), report, context).execute();
}

} // namespace tabulon

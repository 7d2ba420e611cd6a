#include "RecordTransfer.h"

#include "SqlLiterals.h"
#include "TSqlStatements.h"
#include "TypeMapping.h"
#include "lib/Convert.h"
#include "lib/Dictionary.h"
#include "lib/Error.h"

#include <algorithm>
#include <climits>

namespace tabulon {

namespace {

struct Column {
    std::string name;
    LiteralKind literal;
    bool required;
    DateColumn dateColumn;
    bool lostFloat = false;      // a NaN or infinity was written as NULL
    bool lostAttachment = false; // attachments were written as NULL
};

class Transfer {
public:
    Transfer(SourceConnection& source, Destination& destination, const TransferRequest& request, Progress& progress,
             RunFlags& flags)
        : m_source(source), m_destination(destination), m_request(request), m_progress(progress), m_flags(flags) {}

    int run();
    void reportError(const Error& error, std::string& report);
    void reportLosses(std::string& report) const;

private:
    void describeColumns(const RowCursor& cursor);
    std::string statementPrefix() const;
    void appendLiteral(std::string& out, Column& column, const Variant& value) const;
    void send(const std::string& statement);
    void showProgress(int done, std::int64_t total);

    SourceConnection& m_source;
    Destination& m_destination;
    const TransferRequest& m_request;
    Progress& m_progress;
    RunFlags& m_flags;
    std::vector<Column> m_columns;
    std::string m_statement;  // the row being sent
    bool m_executing = false; // on a connection, the row is the statement an error report quotes
    int m_done = 0;
};

int Transfer::run() {
    m_progress.addStatusLine("  Moving records");
    const std::int64_t total = m_source.rowCount(m_request.sourceTable);
    const std::unique_ptr<RowCursor> cursor = m_source.openCursor(m_request.sourceTable, m_request.columns);
    m_progress.startProgress("PROGRESS", 0, static_cast<int>(std::min<std::int64_t>(total, INT_MAX)));
    describeColumns(*cursor);
    const std::string prefix = statementPrefix();

    while (!m_flags.cancelRequested && cursor->next()) {
        m_statement.assign(prefix);
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            if (i > 0)
                m_statement += ", ";
            appendLiteral(m_statement, m_columns[i], cursor->value(i));
        }
        m_statement += ')';
        send(m_statement);
        ++m_done;
        if (m_done % 10 == 0)
            showProgress(m_done, total);
    }
    m_destination.comment(std::to_string(m_done) + " records");
    m_destination.space();
    m_progress.addStatusLine("  " + std::to_string(m_done) + " records moved");
    return m_done;
}

void Transfer::describeColumns(const RowCursor& cursor) {
    for (std::size_t i = 0; i < cursor.columnCount(); ++i) {
        const ProviderType type = cursor.columnType(i);
        if (type == ProviderType::Empty)
            throw Error(errc::General, "Verdix.modMySql.TransferRecords",
                        "The Empty (column '" + cursor.columnName(i) + "') datatype is not supported");
        const bool required = i < m_request.required.size() && m_request.required[i];
        const DateColumn date = i < m_request.dateColumns.size() ? m_request.dateColumns[i] : DateColumn::DateTime;
        m_columns.push_back({cursor.columnName(i), LiteralKindOf(type), required, date});
    }
}

std::string Transfer::statementPrefix() const {
    // With every column selected the names come from the cursor; an empty list would be invalid.
    std::vector<std::string> names;
    if (!m_request.identityColumn.empty() || m_request.columnList)
        for (const Column& column : m_columns)
            names.push_back(column.name);
    return InsertPrefix(m_request.destinationTable, names);
}

void Transfer::appendLiteral(std::string& out, Column& column, const Variant& value) const {
    switch (column.literal) {
    case LiteralKind::Text:
        appendSafeString(out, value, m_request.unicode);
        return;
    case LiteralKind::Number:
        column.lostFloat |= !appendSafeNumber(out, value);
        return;
    case LiteralKind::Boolean:
        out += toBooleanOr(value, false) ? (m_request.negativeBoolean ? "-1" : "1") : "0";
        return;
    case LiteralKind::Date:
        appendSafeDate(out, value, column.dateColumn);
        return;
    case LiteralKind::Binary:
        if (value.isDictionary())
            column.lostAttachment |= value.dictionary() && !value.dictionary()->empty();
        appendSafeBlob(out, value, m_request.ignoreLargeBlobs, column.required);
        return;
    }
}

void Transfer::send(const std::string& statement) {
    m_executing = m_destination.runsStatements();
    m_destination.executeRepeated(statement);
    m_executing = false;
}

void Transfer::showProgress(int done, std::int64_t total) {
    const std::string caption = m_request.sourceFileName + " - " + m_request.sourceTable + " -> " +
                                m_request.destinationDatabase + " (" + std::to_string(done) + "/" +
                                std::to_string(total) + ")";
    // The count was taken before reading; the bar never goes past it.
    m_progress.setProgress(caption, static_cast<int>(std::min<std::int64_t>(done, std::max<std::int64_t>(total, 1))));
    m_progress.processEvents();
}

void Transfer::reportLosses(std::string& report) const {
    for (const Column& column : m_columns) {
        const std::string where = "- Column '" + column.name + "' of table '" + m_request.sourceTable + "': ";
        if (column.lostFloat)
            report += where + "NaN or infinite values, which SQL Server cannot hold, written as NULL\r\n";
        if (column.lostAttachment)
            report +=
                where + "attachments are not transferred, written as " + (column.required ? "0x00" : "NULL") + "\r\n";
    }
}

void Transfer::reportError(const Error& error, std::string& report) {
    m_progress.addStatusLine("  Error moving data");
    report +=
        "Error moving data\r\nError: " + std::to_string(error.number()) + "\r\nReason: " + error.description() + "\r\n";
    if (m_executing)
        report += "SQL: " + m_statement + "\r\n";
}

} // namespace

int TransferRecords(SourceConnection& source, Destination& destination, const TransferRequest& request,
                    std::string& report, Progress& progress, RunFlags& flags) {
    Transfer transfer(source, destination, request, progress, flags);
    try {
        const int done = transfer.run();
        transfer.reportLosses(report);
        return done;
    } catch (const Error& error) {
        transfer.reportLosses(report);
        transfer.reportError(error, report);
    } catch (const std::exception& error) {
        transfer.reportLosses(report);
        transfer.reportError(Error(errc::General, "Verdix.modMySql.TransferRecords", error.what()), report);
    }
    return -1;
}

} // namespace tabulon

#include "SavedQueryObjects.h"

#include "SchemaQueries.h"
#include "lib/Convert.h"
#include "lib/Error.h"

#include <optional>
#include <set>

namespace tabulon {

namespace {

using accesssql::QuerySource;
using accesssql::ViewPlan;

const char* const kCrLf = "\r\n";

// The lines of a text, split at CR LF, CR or LF; other control characters become blanks, since a
// comment line ends at the first line break and anything after one would run as SQL.
std::vector<std::string> commentLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += static_cast<unsigned char>(c) < 32 ? ' ' : c;
        }
    }
    return lines;
}

std::string oneLine(const std::string& text) {
    std::string line;
    for (const std::string& part : commentLines(text))
        line += (line.empty() ? "" : " ") + part;
    return line;
}

std::string objectWord(const ViewPlan& plan) {
    return plan.objectType == "FUNCTION" ? "Function" : "View";
}

class QueryWriter {
public:
    QueryWriter(const PlannedQueries& queries, Destination& destination, bool dropFirst, std::string& report,
                Progress& progress)
        : m_queries(queries), m_destination(destination), m_dropFirst(dropFirst), m_report(report),
          m_progress(progress) {}

    void write() {
        appendLine("");
        appendLine("QUERIES");
        appendLine("------------");
        m_destination.endBatch(); // what came before ends its batch; each CREATE starts one
        for (const ViewPlan& plan : m_queries.plans) {
            appendLine("Query: " + plan.name);
            if (plan.created())
                writeObject(plan);
            else
                leaveOut(plan);
        }
        if (m_queries.hiddenSkipped > 0)
            appendLine(std::to_string(m_queries.hiddenSkipped) + " hidden queries of forms and reports skipped");
        writeLeftOutBlock();
    }

private:
    void appendLine(const std::string& line) { m_report += line + kCrLf; }

    void writeObject(const ViewPlan& plan) {
        m_progress.addStatusLine("Query: " + plan.name);
        for (const std::string& read : plan.dependsOn)
            if (m_failed.count(toLowerAscii(read))) {
                m_failed.insert(toLowerAscii(plan.name));
                appendLine("- Left out: it reads the query " + read + ", which the server rejected");
                return;
            }
        create(plan);
        for (const std::string& note : plan.notes)
            appendLine("- " + note);
    }

    // Each CREATE is the first statement of its batch; a connection reports what the server said, a
    // script what it holds.
    void create(const ViewPlan& plan) {
        std::vector<std::string> notes;
        for (const std::string& note : plan.notes)
            notes.push_back(oneLine(note));
        m_destination.heading(objectWord(plan) + " for the saved query '" + oneLine(plan.name) + "'", notes);
        std::optional<Error> error = m_dropFirst ? m_destination.attemptBatch(plan.dropSql) : std::nullopt;
        const std::string& statement = error ? plan.dropSql : plan.createSql;
        if (!error)
            error = m_destination.attemptBatch(plan.createSql);
        if (!m_destination.runsStatements()) {
            appendLine("- " + objectWord(plan) + " '" + plan.name + "' written");
        } else if (!error) {
            appendLine("- " + objectWord(plan) + " '" + plan.name + "' created");
        } else {
            m_failed.insert(toLowerAscii(plan.name));
            appendLine("- Creating " + toLowerAscii(objectWord(plan)) + " '" + plan.name + "' failed");
            appendLine("- SQL: " + oneLine(statement));
            appendLine("- Error: " + std::to_string(error->number()) + " (" + errorNumberHex(error->number()) + ") " +
                       oneLine(error->description()));
        }
    }

    void leaveOut(const ViewPlan& plan) {
        appendLine("- Left out: " + plan.reason);
        if (!m_destination.runsStatements() && !accessSqlOf(plan).empty())
            appendLine("- Its Access SQL is kept in the dump as a comment");
    }

    // Nothing is lost from sight: the dump keeps the Access SQL of every query that is no view (a
    // connection has no comments).
    void writeLeftOutBlock() {
        bool headed = false;
        for (const ViewPlan& plan : m_queries.plans) {
            const std::string& sql = accessSqlOf(plan);
            if (plan.created() || sql.empty())
                continue;
            if (!headed) {
                m_destination.comment("");
                m_destination.comment("Saved queries that are no views, in their Access SQL");
                m_destination.comment("");
                headed = true;
            }
            m_destination.comment("Query '" + oneLine(plan.name) + "' (" + oneLine(plan.kind) +
                                  "): " + oneLine(plan.reason));
            for (const std::string& line : commentLines(sql))
                m_destination.comment("  " + line);
            m_destination.comment("");
        }
        if (headed)
            m_destination.space();
    }

    const std::string& accessSqlOf(const ViewPlan& plan) const {
        static const std::string none;
        for (const QuerySource& source : m_queries.sources)
            if (source.name == plan.name)
                return source.sql;
        return none;
    }

    const PlannedQueries& m_queries;
    Destination& m_destination;
    bool m_dropFirst;
    std::string& m_report;
    Progress& m_progress;
    std::set<std::string> m_failed; // lower-case names of the views the server rejected
};

} // namespace

PlannedQueries PlanSavedQueries(const pugi::xml_document& schema, const TableSelection& selection,
                                const std::string& tablePrefix) {
    PlannedQueries queries;
    queries.sources = savedQueriesOf(schema);
    queries.hiddenSkipped = skippedHiddenQueriesOf(schema);
    queries.plans = accesssql::planViews(queries.sources, tableCatalogOf(schema, selection), {tablePrefix});
    return queries;
}

void WriteSavedQueries(const PlannedQueries& queries, Destination& destination, bool dropFirst, std::string& report,
                       Progress& progress) {
    if (queries.empty())
        return;
    progress.addStatusLine("Creating views and functions");
    QueryWriter(queries, destination, dropFirst, report, progress).write();
}

} // namespace tabulon

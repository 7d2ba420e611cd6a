#include "DumpDestination.h"

#include "tabulon/Version.h"

#include <algorithm>

namespace tabulon {

namespace {

// A comment line ends at the first line break; anything after one would run as SQL. Control
// characters in the texts put into comments become blanks.
std::string commentText(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, ' ');
    return line;
}

} // namespace

DumpDestination::DumpDestination(std::string path, std::vector<std::string> options, bool unitTestMode)
    : m_path(std::move(path)), m_options(std::move(options)), m_unitTestMode(unitTestMode) {}

DumpDestination::DumpDestination(std::unique_ptr<DumpFile> file, std::vector<std::string> options, bool unitTestMode)
    : m_path(file->path()), m_options(std::move(options)), m_unitTestMode(unitTestMode), m_file(std::move(file)) {}

std::string DumpDestination::summary() const {
    return "Moving data to " + m_path;
}

std::string DumpDestination::openingPhase() const {
    return "Open dump file";
}

void DumpDestination::open() {
    if (!m_file)
        m_file = DumpFile::create(m_path);
    writeHeader();
}

Destination::OpenFailure DumpDestination::openFailure() const {
    return {RunResult::DumpFailed, "Error opening dump file", {"Error opening dump file: " + m_path}};
}

// The title lines, the program version and one "--   key=value" line per listed option.
void DumpDestination::writeHeader() {
    const std::string version = m_unitTestMode ? std::string("UNITTEST")
                                               : std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
                                                     "." + std::to_string(kVersionRevision);
    comment("");
    comment("DUMP FILE");
    comment("");
    comment("Database is ported from MS Access");
    m_file->writeLine("--" + std::string(66, '-'));
    comment(std::string("Created using \"Tabulon\" form ") + kProductWebAddress);
    comment("Program Version " + version);
    comment("");
    comment("OPTIONS:");
    for (const std::string& option : m_options)
        comment("  " + option);
    comment("");
    space();
}

void DumpDestination::execute(std::string_view statement) {
    m_file->writeLine(statement);
}

void DumpDestination::executeRepeated(std::string_view statement) {
    m_file->writeBatchedStatement(statement);
}

void DumpDestination::endBatch() {
    m_file->writeGo();
}

long long DumpDestination::queryNumber(std::string_view query) {
    throw Error(errc::General, "Verdix.modMySql.MoveData2MySql",
                "A dump file cannot answer a query: " + std::string(query));
}

void DumpDestination::heading(std::string_view title, const std::vector<std::string>& lines) {
    comment("");
    comment(title);
    for (const std::string& line : lines)
        comment(line);
    comment("");
    space();
}

void DumpDestination::comment(std::string_view text) {
    m_file->writeLine(text.empty() ? std::string("--") : "-- " + commentText(text));
}

void DumpDestination::space() {
    m_file->writeLine("");
}

void DumpDestination::close() {
    if (m_file)
        m_file->close();
}

} // namespace tabulon

#include "DumpLayout.h"

#include "tabulon/Version.h"

#include <algorithm>

namespace tabulon {

namespace {

// A comment line ends at the first line break; anything after one would run as SQL. Control
// characters in the texts put into comments become blanks.
std::string commentText(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, ' ');
    return text;
}

} // namespace

void WriteDumpHeader(DumpFile& dump, const std::vector<std::string>& options, bool unitTestMode) {
    const std::string version = unitTestMode ? std::string("UNITTEST")
                                             : std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
                                                   "." + std::to_string(kVersionRevision);
    dump.writeLine("--");
    dump.writeLine("-- DUMP FILE");
    dump.writeLine("--");
    dump.writeLine("-- Database is ported from MS Access");
    dump.writeLine("--" + std::string(66, '-'));
    dump.writeLine(std::string("-- Created using \"Tabulon\" form ") + kProductWebAddress);
    dump.writeLine("-- Program Version " + version);
    dump.writeLine("--");
    dump.writeLine("-- OPTIONS:");
    for (const std::string& option : options)
        dump.writeLine("--   " + commentText(option));
    dump.writeLine("--");
    dump.writeLine("");
}

void WriteTableStructureBlock(DumpFile& dump, const std::string& destinationName, const std::string& dropStatement,
                              const std::string& createTable) {
    dump.writeLine("--");
    dump.writeLine("-- Table structure for table '" + commentText(destinationName) + "'");
    dump.writeLine("--");
    dump.writeLine("");
    dump.writeLine(dropStatement);
    dump.writeLine("");
    dump.writeLine(createTable);
    dump.writeLine("");
}

void WriteTableDataBlock(DumpFile& dump, const std::string& sourceName) {
    dump.writeLine("--");
    dump.writeLine("-- Dumping data for table '" + commentText(sourceName) + "'");
    dump.writeLine("--");
    dump.writeLine("");
}

void WriteStatementWithGo(DumpFile& dump, const std::string& statement) {
    dump.writeLine(statement);
    dump.writeGo();
}

} // namespace tabulon

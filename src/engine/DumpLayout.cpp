#include "DumpLayout.h"

#include "lib/Convert.h"
#include "tabulon/Version.h"

#include <algorithm>
#include <unordered_set>

namespace tabulon {

namespace {

// A comment line ends at the first line break; anything after one would run as SQL. Control
// characters in the texts put into comments become blanks.
std::string commentText(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, ' ');
    return text;
}

std::string optionValue(const std::string& lowerKey, const Variant& value) {
    if (value.isList()) {
        std::string joined;
        for (std::size_t i = 0; i < value.list().size(); ++i)
            joined += (i > 0 ? ", " : "") + value.list()[i];
        return joined;
    }
    std::string text = toText(value);
    if (lowerKey == "sourcepassword")
        return text.empty() ? std::string() : "** HIDDEN **";
    if (lowerKey == "sourcefilename")
        std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

void writeOptions(DumpFile& dump, const Dictionary& section) {
    static const std::unordered_set<std::string> kLeftOut = {
        "destinationmethod",   "destinationhost",         "destinationport", "destinationusername",
        "destinationpassword", "destinationdumpfilename", "sourcetables"};
    for (const auto& [key, value] : section.entries()) {
        const std::string lowerKey = toLowerAscii(key);
        if (kLeftOut.count(lowerKey) == 0)
            dump.writeLine("--   " + commentText(key + "=" + optionValue(lowerKey, value)));
    }
}

} // namespace

void WriteDumpHeader(DumpFile& dump, const Dictionary& section, bool unitTestMode) {
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
    writeOptions(dump, section);
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

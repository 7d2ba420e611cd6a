#pragma once

#include "DumpFile.h"
#include "lib/Dictionary.h"

#include <string>

namespace tabulon {

// The header: title lines, program version ("UNITTEST" in unit-test mode) and one "--   key=value"
// line per setting of `section`, leaving out the destination method, host, port, user name,
// password, dump file name and the table list, and hiding a non-empty source password.
void WriteDumpHeader(DumpFile& dump, const Dictionary& section, bool unitTestMode);

// "--", "-- Table structure for table '<destination>'", "--", "", the drop statement, "", the
// CREATE TABLE text and "".
void WriteTableStructureBlock(DumpFile& dump, const std::string& destinationName, const std::string& dropStatement,
                              const std::string& createTable);

// "--", "-- Dumping data for table '<source>'", "--", "".
void WriteTableDataBlock(DumpFile& dump, const std::string& sourceName);

// A statement followed by the batch separator "GO" and an empty line.
void WriteStatementWithGo(DumpFile& dump, const std::string& statement);

} // namespace tabulon

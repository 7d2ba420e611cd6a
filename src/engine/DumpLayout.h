#pragma once

#include "DumpFile.h"

#include <string>
#include <vector>

namespace tabulon {

// The header: title lines, program version ("UNITTEST" in unit-test mode) and one "--   key=value"
// line per listed option (RunOptions::listing).
void WriteDumpHeader(DumpFile& dump, const std::vector<std::string>& options, bool unitTestMode);

// "--", "-- Table structure for table '<destination>'", "--", "", the drop statement, "", the
// CREATE TABLE text and "".
void WriteTableStructureBlock(DumpFile& dump, const std::string& destinationName, const std::string& dropStatement,
                              const std::string& createTable);

// "--", "-- Dumping data for table '<source>'", "--", "".
void WriteTableDataBlock(DumpFile& dump, const std::string& sourceName);

// A statement followed by the batch separator "GO" and an empty line.
void WriteStatementWithGo(DumpFile& dump, const std::string& statement);

} // namespace tabulon

#pragma once

#include "SettingsKeys.h"
#include "lib/Dictionary.h"
#include "lib/Progress.h"
#include "lib/RowSource.h"

#include <pugixml.hpp>

#include <functional>
#include <memory>
#include <string>

namespace tabulon {

// What a run needs from its caller besides the settings.
struct ConversionContext {
    Progress& progress;
    RunFlags& flags;
    const pugi::xml_document* currentSchema; // the last scan; the run parses a private copy of its text
    std::function<std::unique_ptr<SourceConnection>(const SourceCredentials&)> openSource;
};

// Result codes of a run.
namespace runresult {
constexpr int Done = 0; // the end was reached, every table moved or the run aborted
constexpr int DestinationConnectionFailed = 1;
constexpr int DumpFileFailed = 2;
constexpr int OtherError = 3;
constexpr int TablesNotFound = 4; // the end was reached, but tables of `sourcetables` are not in the source
} // namespace runresult

// Moves the tables of `currentSchema` listed in `sourcetables` into SQL Server: directly over ODBC
// when `destinationmethod` is "DIRECT", else into the dump file. Appends the conversion report
// (CR LF lines) to `report`, naming first each listed table the schema does not hold; the other
// tables still move, and the result is then TablesNotFound (unless the run was aborted). Errors
// while reading the settings or opening the source pass to the caller (and leave
// `conversionRunning` set); every later error ends in the report's error block.
int MoveData2MySql(const Dictionary& settings, std::string& report, ConversionContext& context);

} // namespace tabulon

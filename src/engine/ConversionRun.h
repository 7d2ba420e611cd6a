#pragma once

#include "RunResult.h"
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

// Moves the tables of `currentSchema` listed in `sourcetables` into SQL Server: directly over ODBC
// when `destinationmethod` is "DIRECT", else into the dump file. Appends the conversion report
// (CR LF lines) to `report`, naming first each listed table the schema does not hold; the other
// tables still move, and the result is then TablesNotFound (unless the run was stopped). Errors
// while reading the settings or opening the source pass to the caller (and leave
// `conversionRunning` set); every later error ends in the report's error block.
RunResult MoveData2MySql(const Dictionary& settings, std::string& report, ConversionContext& context);

} // namespace tabulon

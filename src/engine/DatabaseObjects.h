#pragma once

#include "Destination.h"
#include "RunOptions.h"
#include "TableDefinition.h"
#include "TableSelection.h"
#include "lib/Progress.h"

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace tabulon {

// A table the run went through, as the phase after the tables needs it.
struct MovedTable {
    std::string sourceName;
    std::string destinationName;
    long long rowsWritten = 0;
    bool created = false; // made anew by this run (dump: CREATE TABLE written; direct: it did not fail)
};

// What the phase works on and where it writes.
struct DatabaseObjectsContext {
    const pugi::xml_document& schema;
    const TableSelection& selection;
    const RunOptions& options;
    Destination& destination;
    std::string& report;
    Progress& progress;
};

// Before a table is dropped and made anew: drops the foreign keys that refer to it, which an earlier run
// into the same database may have created and which would stop the drop (Msg 3726). Only with
// relationships carried over. Raises the server's or the file's error.
void DropReferencingKeys(const DatabaseObjectsContext& context, const std::string& destinationTable);

// After every table holds its rows and indexes: checks the row count of each table made anew (direct:
// read back from the server; dump: a statement that raises an error naming the table and both counts),
// then adds the FOREIGN KEYs, the CHECK constraints and the MS_Description properties, and appends
// the report section that says per table what was added and what was left out and why; last, the
// views and functions of the saved queries (WriteSavedQueries), which read the finished tables. A
// statement the server rejects is reported and the phase goes on; a dump write failure raises.
void CreateDatabaseObjects(const DatabaseObjectsContext& context, const std::vector<MovedTable>& tables);

} // namespace tabulon
